#include "ui/framework/up_down_ctrl.h"

#include <QKeyEvent>
#include <QString>

#include <algorithm>
#include <cstdint>

#include "platform/c_number.h"
#include "platform/dialog_template.h"

CUpDownCtrl::CUpDownCtrl(QWidget* parent, unsigned style)
    : QWidget(parent), m_style(style), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setAutoRepeat(true);
    m_down->setAutoRepeat(true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down->setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CUpDownCtrl::SetBuddy(QLineEdit* buddy) {
    m_buddy = buddy;
    if (!buddy) return;
    if (m_style & kStyleAlignRight) {
        // The arrows take the right end of the buddy.
        const QRect area = buddy->geometry();
        setGeometry(area.right() - width() + 1, area.top(), width(), area.height());
        buddy->setGeometry(area.adjusted(0, 0, -width(), 0));
    }
    if (m_style & kStyleArrowKeys) buddy->installEventFilter(this);
    if (m_style & kStyleSetBuddyInt) WriteBuddy();
}

void CUpDownCtrl::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
}

int CUpDownCtrl::Clamp(int pos) const {
    return std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
}

void CUpDownCtrl::SetPos(int pos) {
    m_pos = Clamp(pos);
    if (m_style & kStyleSetBuddyInt) WriteBuddy();
}

void CUpDownCtrl::Step(int delta) {
    if (m_buddy && (m_style & kStyleSetBuddyInt)) m_pos = Clamp(ParseInt32(m_buddy->text().toStdString()));
    // A reversed range steps the other way, so "up" always moves toward the upper bound.
    const int direction = m_upper >= m_lower ? delta : -delta;
    const int next = Clamp(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(m_pos) + direction, INT32_MIN, INT32_MAX)));
    if (next == m_pos) return;
    m_pos = next;
    if (m_style & kStyleSetBuddyInt) WriteBuddy();
    emit Scrolled(m_pos);
}

void CUpDownCtrl::WriteBuddy() {
    if (m_buddy) m_buddy->setText(QString::number(m_pos));
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event) {
    // The type first: while the buddy is being destroyed it is no QLineEdit any more, and reading the
    // guarded pointer then casts to what the object no longer is.
    if (event->type() == QEvent::KeyPress && watched == m_buddy && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDownCtrl::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
