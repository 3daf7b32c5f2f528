#pragma once

#include <QFrame>
#include <QTabBar>
#include <QWidget>

#include <string>

// A tab control whose pages are sibling windows placed over its display area by the owner. Changing the
// selection from code never notifies; only the user's choice does (through SelChanged).
class CTabCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CTabCtrl(QWidget* parent);

    void InsertItem(int index, const std::string& text);
    void DeleteAllItems();
    int GetItemCount() const;
    std::string GetItemText(int index) const;
    int GetCurSel() const;
    void SetCurSel(int index);

    // The area pages go into, in the coordinates of this control's parent.
    QRect DisplayRect() const;
    // Places `page` (a sibling of this control) over the whole display area, on top, hidden.
    void PlacePage(QWidget* page) const;

    QTabBar* Bar() const { return m_bar; }

signals:
    void SelChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* m_bar;
    QFrame* m_pane;
};
