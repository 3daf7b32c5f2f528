// Rendering of the plot control: screen, pixmap and printer.
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/controls/graph.h"
#include "ui/framework/dialog_font.h"

namespace {
// A pixel coordinate from a position computed in double: a position far outside [low, high] is held
// 16 drawing widths away, where it still draws off the picture and converts without overflow.
int ClampPixel(double position, int low, int high) {
    const double margin = 16.0 * std::max(high - low, 1);
    if (std::isnan(position)) return low - static_cast<int>(margin);
    return static_cast<int>(std::clamp(position, low - margin, high + margin));
}

// The trace as one line: a move to the first point, then a line to each further one.
class CTraceLine {
public:
    void MoveTo(int x, int y) { m_points.assign(1, QPoint(x, y)); }
    void LineTo(int x, int y) { m_points.emplace_back(x, y); }
    void Draw(QPainter& painter) const {
        if (m_points.size() >= 2) painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
    }

private:
    std::vector<QPoint> m_points;
};

bool IsNumber(float value) { return !std::isnan(value); }

// A pen `width` pixels wide in whole device pixels: a width scaled to a fraction would be drawn one
// pixel wider or narrower from line to line.
int DevicePixels(int width, const QPainter& painter) {
    return std::max(1, static_cast<int>(std::lround(width * painter.device()->devicePixelRatioF())));
}
}  // namespace

int CGraph::MapX(double x, const Rect& plot, const Rect& drawing) const {
    const double px = (x - m_view.xMin) / (m_view.xMax - m_view.xMin) * plot.Width() + plot.left;
    return ClampPixel(px, drawing.left, drawing.right);
}

int CGraph::MapY(double y, const Rect& plot, const Rect& drawing) const {
    const double py = plot.bottom - (y - m_view.yMin) / (m_view.yMax - m_view.yMin) * plot.Height();
    return ClampPixel(py, drawing.top, drawing.bottom);
}

void CGraph::Draw(QPainter& painter, const Rect& drawing, Rect& plot, bool printing) {
    const Rect& r = drawing;
    QPen gridPen(m_gridColour, DevicePixels(r.Width() / 1000 + 1, painter), Qt::SolidLine, Qt::SquareCap,
                 Qt::MiterJoin);
    QPen tracePen(m_traceColour, DevicePixels(2 * (r.Width() / 1000) + 2, painter), Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin);
    gridPen.setCosmetic(true);
    tracePen.setCosmetic(true);
    QFont font = DialogFont();
    if (printing) {
        // The screen's font size on the printer's resolution.
        const float height = static_cast<float>(painter.device()->logicalDpiY()) *
                             static_cast<float>(font.pixelSize()) / static_cast<float>(logicalDpiY());
        font.setPixelSize(std::max(1, static_cast<int>(height)));
    }
    const PlotLayout layout = Layout(r, font, painter.device());
    plot = layout.plot;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font);
    if (!printing) painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), m_backgroundColour);
    // The scales belong to the screen: a printout leaves them alone.
    if (!printing && m_recomputeScales && plot.Width() > 0 && plot.Height() > 0) {
        m_xPerPixel = (m_view.xMax - m_view.xMin) / plot.Width();
        m_yPerPixel = (m_view.yMax - m_view.yMin) / plot.Height();
        m_recomputeScales = false;
    }

    if (plot.Width() > 0 && plot.Height() > 0) {
        // Grid and trace never reach into the labels, whatever the view.
        painter.setClipRect(QRect(plot.left, plot.top, plot.Width() + 1, plot.Height() + 1));
        painter.setPen(gridPen);
        for (const GridLine& y : layout.yGrid) painter.drawLine(plot.left, y.pixel, plot.right, y.pixel);
        for (const GridLine& x : layout.xGrid) painter.drawLine(x.pixel, plot.bottom, x.pixel, plot.top);
        painter.setPen(tracePen);
        if (m_mode == kModeLive) {
            DrawLiveTrace(painter, plot, r);
        } else if (m_mode == kModeInteractive) {
            DrawInteractiveTrace(painter, plot, r);
        }
        painter.setClipping(false);
    }

    painter.setPen(m_textColour);
    const int ascent = painter.fontMetrics().ascent();
    const auto drawLabel = [&](const Label& label) {
        painter.drawText(label.area.left, label.area.top + ascent, label.text);
    };
    for (const Label& label : layout.xLabels) drawLabel(label);
    for (const Label& label : layout.yLabels) drawLabel(label);
    if (layout.title) drawLabel(*layout.title);
    painter.restore();
}

void CGraph::DrawLiveTrace(QPainter& painter, const Rect& plot, const Rect& drawing) const {
    const int32_t last = m_samples.CurrentBucket();
    if (last == 0) return;
    const auto& buckets = m_samples.Buckets();
    CTraceLine line;
    bool started = false;
    int column = 0;
    float lo = 0.0F;
    float hi = 0.0F;
    const auto finish = [&] {
        line.LineTo(column, MapY(lo, plot, drawing));
        if (lo != hi) line.LineTo(column, MapY(hi, plot, drawing));
    };
    for (int32_t i = 0; i <= last; ++i) {
        const GraphBucket& b = buckets[static_cast<std::size_t>(i)];
        if (!IsNumber(b.meanX) || !IsNumber(b.minY) || !IsNumber(b.maxY)) continue;
        const int px = MapX(b.meanX, plot, drawing);
        if (started && px == column) {
            lo = std::min(lo, b.minY);
            hi = std::max(hi, b.maxY);
            continue;
        }
        if (started) {
            finish();
        } else {
            line.MoveTo(px, MapY(b.minY, plot, drawing));
            started = true;
        }
        column = px;
        lo = b.minY;
        hi = b.maxY;
    }
    if (!started) return;
    finish();
    line.Draw(painter);
}

void CGraph::DrawInteractiveTrace(QPainter& painter, const Rect& plot, const Rect& drawing) const {
    const auto& raw = m_samples.Raw();
    const auto usable = [](const CGraphSample& s) { return IsNumber(s.x) && IsNumber(s.y); };
    std::size_t first = raw.size();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (usable(raw[i]) && MapX(raw[i].x, plot, drawing) >= drawing.left) {
            first = i;
            break;
        }
    }
    if (raw.empty()) return;
    if (first == raw.size()) first = raw.size() - 1;
    // One sample before the first visible one, so the line enters the picture from its left edge.
    if (first > 0) --first;
    while (first < raw.size() && !usable(raw[first])) ++first;
    if (first == raw.size()) return;

    CTraceLine line;
    int column = MapX(raw[first].x, plot, drawing);
    int lo = MapY(raw[first].y, plot, drawing);
    int hi = lo;
    line.MoveTo(column, lo);
    const auto finish = [&] {
        line.LineTo(column, lo);
        if (lo != hi) line.LineTo(column, hi);
    };
    for (std::size_t i = first + 1; i < raw.size(); ++i) {
        if (!usable(raw[i])) continue;
        const int px = MapX(raw[i].x, plot, drawing);
        const int py = MapY(raw[i].y, plot, drawing);
        if (px == column) {
            lo = std::min(lo, py);
            hi = std::max(hi, py);
            continue;
        }
        finish();
        if (column > drawing.right) {
            line.Draw(painter);
            return;
        }
        column = px;
        lo = py;
        hi = py;
    }
    finish();
    line.Draw(painter);
}

const QPixmap& CGraph::Picture(qreal ratio) {
    if (m_buffer.size() != size() * ratio || m_buffer.devicePixelRatio() != ratio) {
        m_buffer = QPixmap(size() * ratio);
        m_buffer.setDevicePixelRatio(ratio);
        m_dirty = true;
        // The values per pixel belong to the old size.
        m_recomputeScales = true;
    }
    if (m_dirty && !m_buffer.isNull()) {
        QPainter buffer(&m_buffer);
        const Rect client{0, 0, width(), height()};
        m_plot = client;
        Draw(buffer, client, m_plot, false);
        m_dirty = false;
    }
    return m_buffer;
}

void CGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Picture(devicePixelRatioF()));
    if (m_drag == kDragZoom) {
        const QRect band = QRect(m_zoomFirst, m_zoomSecond).normalized();
        painter.setPen(QPen(m_textColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band.adjusted(0, 0, -1, -1));
    }
}

CGraph::Rect CGraph::PageRectangle(int pageWidth, int pageHeight, int clientWidth, int clientHeight) {
    Rect page{0, 0, pageWidth, pageHeight};
    if (clientWidth <= 0 || clientHeight <= 0 || pageWidth <= 0 || pageHeight <= 0) return page;
    const double cw = clientWidth;
    const double ch = clientHeight;
    const double w = pageWidth;
    const double h = pageHeight;
    if (cw / ch > w / h) {
        const int height = static_cast<int>(w / cw * ch);
        page.top = (pageHeight - height) / 2;
        page.bottom = page.top + height;
    } else {
        const int width = static_cast<int>(h / ch * cw);
        page.left = (pageWidth - width) / 2;
        page.right = page.left + width;
    }
    return page;
}

bool CGraph::Print(QPrinter& printer) {
    printer.setDocName(QStringLiteral("Graph"));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const Rect page = PageRectangle(printer.width(), printer.height(), width(), height());
    Rect plot = page;
    Draw(painter, page, plot, true);
    return painter.end() && printer.printerState() != QPrinter::Error;
}
