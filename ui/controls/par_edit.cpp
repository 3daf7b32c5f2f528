#include "ui/controls/par_edit.h"

#include "ui/framework/report_list_ctrl.h"

void CParEdit::Create(CReportListCtrl* list) {
    QWidget* viewport = list->viewport();
    m_textEditor = new CEditText(viewport);
    m_textEditor->setObjectName(QString::number(kTextEditorId));
    m_textEditor->setFont(list->font());
    m_textEditor->Attach(this);
    m_choiceEditor = new CEditComboBox(viewport);
    m_choiceEditor->setObjectName(QString::number(kChoiceEditorId));
    m_choiceEditor->setFont(list->font());
    m_choiceEditor->Attach(this);
}

void CParEdit::Update(CObservable* source) {
    if (m_choiceEditor && source == static_cast<CObservable*>(m_choiceEditor.data())) {
        m_choiceIndex = m_choiceEditor->GetCurSel();
        m_mode = m_choiceEditor->IsAccepted() ? kChoiceAccepted : kCancelled;
        m_navigation = CInPlaceTextEdit::kStay;
        Notify();
    } else if (m_textEditor && source == static_cast<CObservable*>(m_textEditor.data())) {
        m_text = m_textEditor->text().toStdString();
        m_mode = m_textEditor->IsAccepted() ? kTextAccepted : kCancelled;
        m_navigation = m_textEditor->GetNavigation();
        Notify();
    }
}

QRect CParEdit::Clipped(const QRect& area) const {
    const QWidget* viewport = m_textEditor ? m_textEditor->parentWidget() : nullptr;
    return viewport ? area.intersected(viewport->rect()) : area;
}

void CParEdit::ShowTextEditor(const std::string& text) {
    if (!m_textEditor || !m_choiceEditor) return;
    m_choiceEditor->Hide();
    m_textEditor->Open(Clipped(m_cell), text);
}

void CParEdit::ShowChoiceEditor(const std::vector<std::string>& items, int selected) {
    if (!m_textEditor || !m_choiceEditor) return;
    m_textEditor->Hide();
    m_choiceEditor->Open(Clipped(m_cell.adjusted(-2, -4, 2, 0)), items, selected);
}

void CParEdit::HideEditors() {
    if (m_choiceEditor) m_choiceEditor->Hide();
    if (m_textEditor) m_textEditor->Hide();
}

bool CParEdit::IsEditing() const {
    return (m_textEditor && m_textEditor->IsOpen()) || (m_choiceEditor && m_choiceEditor->IsOpen());
}
