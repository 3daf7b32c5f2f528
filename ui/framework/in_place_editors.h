#pragma once

#include <QLineEdit>
#include <QRect>

#include <string>
#include <vector>

#include "ui/framework/combo_box.h"

// Editors shown over one cell of a list, as children of the list's viewport. Each ends exactly once per
// showing: it hides itself first, then tells its owner through OnAccepted or OnCancelled. Hiding it from
// code (Hide) tells nobody, and whatever happens while an ending is being reported (the focus moving on,
// a nested ending) is ignored.

// A one-line text editor. Enter accepts (navigation 0), Down accepts and asks for the next row (1), Up for
// the previous row (2); Esc and the focus leaving cancel.
class CInPlaceTextEdit : public QLineEdit {
    Q_OBJECT

public:
    enum Navigation : int { kStay = 0, kNext = 1, kPrevious = 2 };

    explicit CInPlaceTextEdit(QWidget* viewport);

    // Shows the editor on `cell` holding `text`, all of it selected, with the focus.
    void Open(const QRect& cell, const std::string& text);
    void Hide();
    bool IsOpen() const { return m_open; }

protected:
    virtual void OnAccepted(int navigation) = 0;
    virtual void OnCancelled() = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void End(bool accepted, int navigation);

    bool m_open = false;
};

// A drop-down choice editor. Choosing an item accepts it; closing the drop-down without a choice, Esc and
// the focus leaving (other than into its own drop-down) cancel.
class CInPlaceComboBox : public CComboBox {
    Q_OBJECT

public:
    explicit CInPlaceComboBox(QWidget* viewport);

    // Shows the editor on `cell` filled with `items`, `selected` chosen, dropped down, with the focus.
    void Open(const QRect& cell, const std::vector<std::string>& items, int selected);
    void Hide();
    bool IsOpen() const { return m_open; }

    void hidePopup() override;

protected:
    virtual void OnAccepted() = 0;
    virtual void OnCancelled() = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void End(bool accepted);

    bool m_open = false;
    int m_showing = 0;
};
