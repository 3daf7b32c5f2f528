#include "ui/controls/edit_text.h"

void CEditText::OnAccepted(int navigation) {
    m_accepted = true;
    m_navigation = navigation;
    Notify();
}

void CEditText::OnCancelled() {
    m_accepted = false;
    m_navigation = kStay;
    Notify();
}
