#include "ui/framework/trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "ui/framework/dialog.h"

namespace {
int ScrollCode(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: return TB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub: return TB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd: return TB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub: return TB_PAGEUP;
        case QAbstractSlider::SliderToMinimum: return TB_TOP;
        case QAbstractSlider::SliderToMaximum: return TB_BOTTOM;
        default: return TB_THUMBTRACK;
    }
}

bool IsScrollKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End: return true;
        default: return false;
    }
}
}  // namespace

CTrackbar::CTrackbar(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {
    connect(this, &QAbstractSlider::actionTriggered, this, &CTrackbar::OnAction);
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        emit Scrolled(TB_THUMBPOSITION, value());
        emit Scrolled(TB_ENDTRACK, value());
    });
}

void CTrackbar::OnAction(int action) {
    // The action's position is not yet the value; make it so before the handler reads it.
    const int before = value();
    setValue(sliderPosition());
    int code = ScrollCode(action);
    // A wheel step moves by lines; it is no drag of the thumb.
    if (m_inWheel && action == QAbstractSlider::SliderMove) code = value() < before ? TB_LINEUP : TB_LINEDOWN;
    emit Scrolled(code, value());
}

void CTrackbar::mouseReleaseEvent(QMouseEvent* event) {
    // A drag ends through sliderReleased; a click on the track ends here.
    const bool dragged = isSliderDown();
    QSlider::mouseReleaseEvent(event);
    if (!dragged && event->button() == Qt::LeftButton) emit Scrolled(TB_ENDTRACK, value());
}

void CTrackbar::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && IsScrollKey(event->key())) emit Scrolled(TB_ENDTRACK, value());
}

void CTrackbar::wheelEvent(QWheelEvent* event) {
    m_inWheel = true;
    QSlider::wheelEvent(event);
    m_inWheel = false;
    if (event->isAccepted()) emit Scrolled(TB_ENDTRACK, value());
}
