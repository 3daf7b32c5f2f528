#include "ui/framework/dialog_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "ui/framework/dialog.h"

CDialogLink::~CDialogLink() {
    if (m_owner) m_owner->WindowDestroyed();
}

CDialogWindow::CDialogWindow(CDialog* owner, QWidget* parent) : QDialog(parent), CDialogLink(owner) {}

void CDialogWindow::keyPressEvent(QKeyEvent* event) {
    CDialog* owner = Owner();
    if (!owner) return;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (focused && isAncestorOf(focused) && focused->isEnabled()) {
            focused->click();
            return;
        }
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isEnabled() && button->isVisible()) {
                button->click();
                return;
            }
        }
        owner->DispatchOk();
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        owner->DispatchCancel();
        return;
    }
    // Past QDialog, which would end the dialog on Enter and Esc itself.
    QWidget::keyPressEvent(event);
}

void CDialogWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    if (CDialog* owner = Owner()) owner->DispatchClose();
}

CPageWindow::CPageWindow(CDialog* owner, QWidget* parent) : QWidget(parent), CDialogLink(owner) {}

void CPageWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (Owner()) Owner()->DispatchShowWindow(true);
}

void CPageWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (Owner()) Owner()->DispatchShowWindow(false);
}
