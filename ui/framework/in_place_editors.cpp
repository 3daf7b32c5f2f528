#include "ui/framework/in_place_editors.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaObject>

namespace {
// A focused editor that goes hands the focus to the control it stands in (the list), not to whatever
// comes next in the window's focus chain.
void HandFocusBack(QWidget* editor) {
    if (!editor->hasFocus()) return;
    for (QWidget* owner = editor->parentWidget(); owner; owner = owner->parentWidget()) {
        if (owner->focusPolicy() != Qt::NoFocus) {
            owner->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    editor->clearFocus();
}
}  // namespace

CInPlaceTextEdit::CInPlaceTextEdit(QWidget* viewport) : QLineEdit(viewport) { hide(); }

void CInPlaceTextEdit::Open(const QRect& cell, const std::string& text) {
    setGeometry(cell);
    setText(QString::fromStdString(text));
    selectAll();
    m_open = true;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CInPlaceTextEdit::Hide() {
    m_open = false;
    HandFocusBack(this);
    hide();
}

void CInPlaceTextEdit::End(bool accepted, int navigation) {
    if (!m_open) return;
    Hide();
    if (accepted) {
        OnAccepted(navigation);
    } else {
        OnCancelled();
    }
}

void CInPlaceTextEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: End(true, kStay); break;
        case Qt::Key_Down: End(true, kNext); break;
        case Qt::Key_Up: End(true, kPrevious); break;
        case Qt::Key_Escape: End(false, kStay); break;
        default: QLineEdit::keyPressEvent(event); return;
    }
    // None of these keys goes on to the dialog.
    event->accept();
}

void CInPlaceTextEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isVisible()) End(false, kStay);
}

CInPlaceComboBox::CInPlaceComboBox(QWidget* viewport) : CComboBox(viewport) {
    hide();
    connect(this, &QComboBox::activated, this, [this](int) { End(true); });
}

void CInPlaceComboBox::Open(const QRect& cell, const std::vector<std::string>& items, int selected) {
    ResetContent();
    AddStrings(items);
    SetCurSel(selected);
    setGeometry(cell.x(), cell.y(), cell.width(), sizeHint().height());
    ++m_showing;
    m_open = true;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    showPopup();
}

void CInPlaceComboBox::Hide() {
    m_open = false;
    if (view()->isVisible()) QComboBox::hidePopup();
    HandFocusBack(this);
    hide();
}

void CInPlaceComboBox::End(bool accepted) {
    if (!m_open) return;
    Hide();
    if (accepted) {
        OnAccepted();
    } else {
        OnCancelled();
    }
}

void CInPlaceComboBox::hidePopup() {
    QComboBox::hidePopup();
    // A choice hides the drop-down before it is reported as activated; only a drop-down still without a
    // choice once that has passed was closed without one. A later showing is not this one's to end.
    QMetaObject::invokeMethod(
        this,
        [this, showing = m_showing] {
            if (showing == m_showing) End(false);
        },
        Qt::QueuedConnection);
}

void CInPlaceComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        End(false);
        event->accept();
        return;
    }
    CComboBox::keyPressEvent(event);
}

void CInPlaceComboBox::focusOutEvent(QFocusEvent* event) {
    CComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || view()->isVisible()) return;
    if (isVisible()) End(false);
}
