#pragma once

#include <QPointer>
#include <QRect>

#include <string>
#include <vector>

#include "link/observer.h"
#include "model/hooks/par_editor.h"
#include "ui/controls/edit_combo_box.h"
#include "ui/controls/edit_text.h"

class CReportListCtrl;

// The in-place editor pair of a parameter list and the result of its last edit. A parameter set fills it
// for a row (SetupEditor) and reads the result back (SetValueFromItem); the list observes it and commits
// when it reports an ending.
class CParEdit : public CObserver, public CObservable, public CParEditor {
public:
    static constexpr int kTextEditorId = 10000;
    static constexpr int kChoiceEditorId = 10001;

    CParEdit() = default;
    CParEdit(const CParEdit&) = delete;
    CParEdit& operator=(const CParEdit&) = delete;

    // Makes both editors, hidden, inside the list's viewport in the list's font. The editors go with the
    // list's window.
    void Create(CReportListCtrl* list);

    void Update(CObservable* source) override;

    int GetMode() const override { return m_mode; }
    int GetChoiceIndex() const override { return m_choiceIndex; }
    std::string GetText() const override { return m_text; }
    int GetNavigation() const { return m_navigation; }

    void ShowTextEditor(const std::string& text) override;
    void ShowChoiceEditor(const std::vector<std::string>& items, int selected) override;
    // Hides both editors without committing and without telling anyone.
    void HideEditors();
    bool IsEditing() const;

    // The value cell being edited, in viewport coordinates.
    void SetCellRect(const QRect& cell) { m_cell = cell; }

    CEditText* GetTextEditor() const { return m_textEditor; }
    CEditComboBox* GetChoiceEditor() const { return m_choiceEditor; }

private:
    // `area` clipped to the viewport the editors stand in.
    QRect Clipped(const QRect& area) const;

    int m_mode = kCancelled;
    int m_choiceIndex = 0;
    std::string m_text;
    int m_navigation = CInPlaceTextEdit::kStay;
    QPointer<CEditComboBox> m_choiceEditor;
    QPointer<CEditText> m_textEditor;
    QRect m_cell;
};
