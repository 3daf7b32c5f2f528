// Where the plot control puts its plot area, grid, labels and title, worked out before anything is drawn.
#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <climits>

#include "ui/controls/graph.h"

namespace {
// A tick walk never runs longer than this, whatever range it is given.
constexpr int kMaxTicks = 1000;

// The ticks of an axis: from the first tick on, while t - max <= step x 1e-5.
std::vector<double> Ticks(double min, double max, double step) {
    std::vector<double> ticks;
    if (!(step > 0.0)) return ticks;
    for (double t = CGraph::CalcFirstTick(min, step); t - max <= step * 1e-5 && ticks.size() < kMaxTicks;
         t += step) {
        ticks.push_back(t);
    }
    return ticks;
}

bool HasArea(const CGraph::Rect& r) { return r.Width() > 0 && r.Height() > 0; }
}  // namespace

CGraph::PlotLayout CGraph::Layout(const Rect& r, const QFont& font, const QPaintDevice* device) const {
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    const int h = metrics.height();
    PlotLayout layout;
    Rect& plot = layout.plot;
    plot = r;

    const std::vector<double> xTicks = Ticks(m_view.xMin, m_view.xMax, m_xStep);
    std::vector<QString> xTexts;
    for (double t : xTicks) xTexts.push_back(QString::fromStdString(XLabel(t)));
    const int w = xTexts.empty() ? 0 : metrics.horizontalAdvance(xTexts.back());
    plot.bottom = r.bottom - h - 2;
    if (m_labelMargin) {
        plot.top += h / 2 + 1;
        plot.right += 1 - w / 2;
    }
    // The title takes the first text line: the top label, half a line above its grid line, goes below it.
    int labelsTop = r.top;
    if (!m_title.empty()) {
        const QString text = QString::fromStdString("(" + m_title + ")");
        const Rect area{r.left + 1, r.top + 1, r.left + 1 + metrics.horizontalAdvance(text), r.top + 1 + h};
        layout.title = Label{area, text};
        labelsTop = area.bottom + 1;
        plot.top = std::max(plot.top, r.top + h + 2 + h / 2);
    }
    if (!HasArea(plot)) return layout;

    // Only ticks whose grid line crosses the plot get a label; the widest label sets the plot's left edge.
    std::vector<GridLine> yLines;
    std::vector<QString> yTexts;
    int labelWidth = 0;
    for (double t : Ticks(m_view.yMin, m_view.yMax, m_yStep)) {
        const int py = MapY(t, plot, r);
        if (py < plot.top || py > plot.bottom) continue;
        yLines.push_back({py, t});
        yTexts.push_back(QString::fromStdString(FormatNumberLabel(m_yFormat, t)));
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(yTexts.back()) + 2);
    }
    plot.left = r.left + labelWidth;
    if (!HasArea(plot)) return layout;
    layout.yGrid = yLines;

    // From the bottom up: centred beside its grid line, moved down below the title or up to leave a blank
    // text row above the time labels, as long as it still reaches its line; one that does not, or that
    // would meet the label below it, is left out.
    const int lowestTop = plot.bottom + 1 - 2 * h;
    int previousTop = INT_MAX;
    for (std::size_t i = 0; i < yLines.size(); ++i) {
        const int py = yLines[i].pixel;
        const int lw = metrics.horizontalAdvance(yTexts[i]);
        const int top = std::max(std::min(py - h / 2, lowestTop), labelsTop);
        if (top > lowestTop || top + h <= py || top + h > previousTop) continue;
        layout.yLabels.push_back({{plot.left - lw - 1, top, plot.left - 1, top + h}, yTexts[i], yLines[i]});
        previousTop = top;
    }

    // From the left: centred under its grid line, but never cut off at either edge of the picture; one
    // that would come closer than a blank to the label before it is left out.
    const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
    int nextLeft = INT_MIN;
    for (std::size_t i = 0; i < xTicks.size(); ++i) {
        const int px = MapX(xTicks[i], plot, r);
        if (px < plot.left || px > plot.right) continue;
        const GridLine line{px, xTicks[i]};
        layout.xGrid.push_back(line);
        const int lw = metrics.horizontalAdvance(xTexts[i]);
        const int left = std::max(r.left, std::min(px - lw / 2, r.right - lw));
        if (left < nextLeft || left + lw > r.right) continue;
        layout.xLabels.push_back({{left, plot.bottom + 1, left + lw, plot.bottom + 1 + h}, xTexts[i], line});
        nextLeft = left + lw + blank;
    }
    return layout;
}
