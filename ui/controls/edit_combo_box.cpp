#include "ui/controls/edit_combo_box.h"

void CEditComboBox::OnAccepted() {
    m_accepted = true;
    Notify();
}

void CEditComboBox::OnCancelled() {
    m_accepted = false;
    Notify();
}
