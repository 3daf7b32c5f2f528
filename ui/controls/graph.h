#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls/graph_samples.h"

class QFont;
class QPaintDevice;
class QPainter;
class QPrinter;

// The plot control: a series of (x, y) samples drawn as one trace over a grid with numeric or clock-time
// axis labels. In live mode the trace comes from the decimation buckets, so a recording of any length
// draws in the same time; in interactive mode it comes from the raw samples and the user pans with the
// left button, zooms into a rectangle dragged with the right button, zooms in by 2 with a left
// double-click and out by 1.5 with a right double-click. The picture is kept in a pixmap and redrawn
// only when something changed.
class CGraph : public QWidget {
public:
    enum Mode : int32_t { kModeLive = 0, kModeInteractive = 1 };

    // A rectangle as the drawing code counts it: right and bottom lie just outside.
    struct Rect {
        int left;
        int top;
        int right;
        int bottom;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
    };

    // A grid line: where it crosses the plot and the value of its tick.
    struct GridLine {
        int pixel;
        double tick;
    };

    // A text of the picture and the rectangle it takes; an axis label also carries the grid line it
    // stands for.
    struct Label {
        Rect area;
        QString text;
        GridLine line{0, 0.0};
    };

    // Where everything goes in a drawing rectangle: the plot area, the grid lines that cross it, the axis
    // labels and the title. No label overlaps another, the title or the plot, and a blank text row lies
    // between the y labels and the time labels; a label that would not fit is left out, its grid line
    // stays.
    struct PlotLayout {
        Rect plot;
        std::vector<GridLine> xGrid;
        std::vector<GridLine> yGrid;
        std::vector<Label> xLabels;
        std::vector<Label> yLabels;
        std::optional<Label> title;
    };

    struct View {
        double xMin;
        double xMax;
        double yMin;
        double yMax;
    };

    explicit CGraph(QWidget* parent = nullptr);

    // The view of the range; an empty span is made 0.1 wide.
    void SetRange(double xMin, double xMax, double yMin, double yMax);
    // The view itself, widened to at least 0.001 in x and 0.0001 in y and shifted inside the bounds
    // (x within 0, or -36000000 with negative x allowed, to 36000000; y within -1000000 to 1000000).
    // The caller repaints when it wants to.
    void SetViewRange(double xMin, double xMax, double yMin, double yMax);
    void AddSample(float x, float y);
    // Drops every sample; range, mode and settings stay.
    void Clear();
    // The unit text, drawn as "(title)" at the top left; empty draws nothing.
    void SetTitle(const std::string& title);

    // Prints the current view on one page with the screen's aspect ratio; false when the printer could
    // not start or did not finish. The screen's picture and scales stay as they are.
    bool Print(QPrinter& printer);
    // Renders into `painter`: `plot` arrives as a copy of `drawing` and comes back as the plot area.
    // Grid and trace stay inside the plot area.
    void Draw(QPainter& painter, const Rect& drawing, Rect& plot, bool printing);
    // The screen's picture at `ratio` device pixels to a pixel of the control, drawn again when anything
    // changed; painted in device pixels, so that it stays sharp at any scaling.
    const QPixmap& Picture(qreal ratio);
    // The layout of the current view in `drawing` with `font`, measured on `device` (the screen when
    // none is given).
    PlotLayout Layout(const Rect& drawing, const QFont& font, const QPaintDevice* device = nullptr) const;

    // Settings the hosts write; a host sets the time axis before the range.
    void SetMode(int32_t mode) { m_mode = mode; }
    int32_t GetMode() const { return m_mode; }
    void SetNegativeXAllowed(bool allowed) { m_negativeX = allowed; }
    void SetLabelMargin(bool margin) { m_labelMargin = margin; }
    void SetTimeAxis(bool timeAxis) { m_timeAxis = timeAxis; }
    // Marks the picture for redrawing at the next paint.
    void SetDirty() { m_dirty = true; }

    View GetView() const { return m_view; }
    // The plot area of the last screen picture.
    Rect GetPlotRect() const { return m_plot; }
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetXFormat() const { return m_xFormat; }
    const std::string& GetYFormat() const { return m_yFormat; }
    const CGraphSamples& Samples() const { return m_samples; }

    // Grid spacing for a span: 1, 2 or 5 times a power of ten, about a fifth of it. `digits` gets the
    // integer digits of span / 5 when that is 1 or more, else its decimals down to the first significant
    // one; a span of 0 gives 0 and leaves `digits` as it was.
    static double CalcTickStep(double span, int* digits);
    // The tick at or next to `min` toward zero.
    static double CalcFirstTick(double min, double step);
    static std::string MakeTimeFormat(double step, int digits);
    static std::string MakeNumberFormat(double step, int digits);
    // A clock-time label h:mm:ss of `t` seconds, rounded first to `decimals` places of a second so that
    // the seconds never read 60.
    static std::string FormatTimeLabel(const std::string& format, double t, int decimals);
    static std::string FormatNumberLabel(const std::string& format, double value);
    // The text of the x label of tick `t`: a clock time on the time axis, else a number.
    std::string XLabel(double t) const;
    // The part of a page of `pageWidth` x `pageHeight` that a picture of the client size takes: as wide
    // or as high as the page, with the client's aspect ratio, centred. A client without size takes the
    // whole page.
    static Rect PageRectangle(int pageWidth, int pageHeight, int clientWidth, int clientHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    enum Drag : int32_t { kDragNone = 0, kDragPan = 1, kDragZoom = 2 };

    // Pixel of a data value in the plot rectangle, limited to a band around the drawing rectangle so
    // that a sample far outside the view still converts to a defined coordinate.
    int MapX(double x, const Rect& plot, const Rect& drawing) const;
    int MapY(double y, const Rect& plot, const Rect& drawing) const;
    void DrawLiveTrace(QPainter& painter, const Rect& plot, const Rect& drawing) const;
    void DrawInteractiveTrace(QPainter& painter, const Rect& plot, const Rect& drawing) const;
    void PanTo(QPoint cursor);
    void ZoomAboutCentre(double factor);
    void ZoomToRectangle();
    bool HasPlotArea() const { return m_plot.Width() > 0 && m_plot.Height() > 0; }

    View m_view{0.0, 1.0, 0.0, 1.0};
    double m_xPerPixel = 0.0;
    double m_yPerPixel = 0.0;
    bool m_recomputeScales = true;
    double m_xStep = 0.0;
    double m_yStep = 0.0;
    int m_xDecimals = 0;
    std::string m_xFormat;
    std::string m_yFormat;
    Rect m_plot{0, 0, 0, 0};
    bool m_labelMargin = false;
    QPixmap m_buffer;
    bool m_dirty = true;
    CGraphSamples m_samples;
    int32_t m_mode = kModeLive;
    bool m_negativeX = false;
    int32_t m_drag = kDragNone;
    QPoint m_lastDrag;
    double m_grabbedX = 0.0;
    double m_grabbedY = 0.0;
    QPoint m_zoomFirst;
    QPoint m_zoomSecond;
    QColor m_backgroundColour;
    QColor m_textColour;
    QColor m_traceColour{255, 50, 50};
    QColor m_gridColour;
    std::string m_title;
    bool m_timeAxis = false;
};
