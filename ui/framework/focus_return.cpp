#include "ui/framework/focus_return.h"

namespace {
QWidget* FocusIn(const QWidget* within) { return within ? within->window()->focusWidget() : nullptr; }
}  // namespace

void CFocusReturn::Hold(const QWidget* within, const std::function<void()>& disable) {
    m_before = FocusIn(within);
    disable();
    m_during = FocusIn(within);
}

void CFocusReturn::Restore(const QWidget* within) {
    if (!m_before) return;
    if (FocusIn(within) != m_during) {
        m_before.clear();
        return;
    }
    if (!m_before->isEnabled() || !m_before->isVisible()) return;
    m_before->setFocus();
    m_before.clear();
}
