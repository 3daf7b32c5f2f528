// Pan and zoom of the plot control; only in interactive mode.
#include <QMouseEvent>

#include <algorithm>

#include "ui/controls/graph.h"

void CGraph::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_mode != kModeInteractive || m_drag != kDragNone) return;
    if (event->button() == Qt::LeftButton) {
        ZoomAboutCentre(-0.25);
    } else if (event->button() == Qt::RightButton) {
        ZoomAboutCentre(0.25);
    }
}

void CGraph::mousePressEvent(QMouseEvent* event) {
    if (m_mode != kModeInteractive || m_drag != kDragNone || !HasPlotArea()) return;
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_drag = kDragPan;
        m_lastDrag = p;
        m_grabbedX = m_view.xMin +
                     static_cast<double>(p.x() - m_plot.left) / m_plot.Width() * (m_view.xMax - m_view.xMin);
        m_grabbedY = m_view.yMin + static_cast<double>(m_plot.bottom - p.y()) / m_plot.Height() *
                                       (m_view.yMax - m_view.yMin);
    } else if (event->button() == Qt::RightButton) {
        m_drag = kDragZoom;
        m_zoomFirst = p;
        m_zoomSecond = p;
    }
}

void CGraph::mouseMoveEvent(QMouseEvent* event) {
    if (m_mode != kModeInteractive) return;
    const QPoint p = event->position().toPoint();
    if (m_drag == kDragPan) {
        m_lastDrag = p;
        PanTo(p);
        update();
    } else if (m_drag == kDragZoom) {
        m_zoomSecond = QPoint(std::clamp(p.x(), 0, width()), std::clamp(p.y(), 0, height()));
        update();
    }
}

void CGraph::mouseReleaseEvent(QMouseEvent* event) {
    if (m_mode != kModeInteractive) return;
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_drag == kDragPan) {
        m_drag = kDragNone;
        if (p != m_lastDrag) PanTo(p);
        update();
    } else if (event->button() == Qt::RightButton && m_drag == kDragZoom) {
        m_drag = kDragNone;
        // The corners of the last move count, not the release point.
        if (m_zoomFirst.x() != m_zoomSecond.x() && m_zoomFirst.y() != m_zoomSecond.y()) ZoomToRectangle();
        update();
    }
}

void CGraph::PanTo(QPoint cursor) {
    const double xSpan = m_view.xMax - m_view.xMin;
    const double ySpan = m_view.yMax - m_view.yMin;
    const double xMin = m_grabbedX - (cursor.x() - m_plot.left) * m_xPerPixel;
    const double yMin = m_grabbedY - (m_plot.bottom - cursor.y()) * m_yPerPixel;
    SetViewRange(xMin, xMin + xSpan, yMin, yMin + ySpan);
    // The scale of the drag's start stays in force: the span is unchanged.
    m_recomputeScales = false;
}

void CGraph::ZoomAboutCentre(double factor) {
    const double dx = (m_view.xMax - m_view.xMin) * factor;
    const double dy = (m_view.yMax - m_view.yMin) * factor;
    SetViewRange(m_view.xMin - dx, m_view.xMax + dx, m_view.yMin - dy, m_view.yMax + dy);
    update();
}

void CGraph::ZoomToRectangle() {
    if (!HasPlotArea()) return;
    const int left = std::min(m_zoomFirst.x(), m_zoomSecond.x());
    const int right = std::max(m_zoomFirst.x(), m_zoomSecond.x());
    const int top = std::min(m_zoomFirst.y(), m_zoomSecond.y());
    const int bottom = std::max(m_zoomFirst.y(), m_zoomSecond.y());
    const double xSpan = m_view.xMax - m_view.xMin;
    const double ySpan = m_view.yMax - m_view.yMin;
    const double width = m_plot.Width();
    const double height = m_plot.Height();
    SetViewRange(m_view.xMin + (left - m_plot.left) / width * xSpan,
                 m_view.xMin + (right - m_plot.left) / width * xSpan,
                 m_view.yMin + (m_plot.bottom - bottom) / height * ySpan,
                 m_view.yMin + (m_plot.bottom - top) / height * ySpan);
}
