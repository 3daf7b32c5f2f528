// The plot control's layout as rectangles: labels, title and plot area never overlap, each label stands
// at its own grid line with that tick's text, as many labels are kept as there is room for, and a blank
// text row parts the value labels from the time labels; at the smallest and largest sizes the plot
// takes, in both languages.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QRect>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/common/language.h"
#include "ui/controls/graph.h"
#include "ui/framework/dialog_font.h"

namespace {
QRect ToQRect(const CGraph::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

std::string Describe(const CGraph::Label& label) {
    const QRect r = ToQRect(label.area);
    return "\"" + label.text.toStdString() + "\" at " + std::to_string(r.x()) + "," + std::to_string(r.y()) +
           " " + std::to_string(r.width()) + "x" + std::to_string(r.height());
}

struct LayoutCase {
    const char* what;
    bool timeAxis;
    bool labelMargin;
    CGraph::View view;
};

void ExpectSound(const CGraph::PlotLayout& layout, const CGraph::Rect& drawing, const std::string& what) {
    const CGraph::Rect& p = layout.plot;
    ASSERT_GT(p.Width(), 0) << what;
    ASSERT_GT(p.Height(), 0) << what;
    EXPECT_FALSE(layout.xLabels.empty()) << what;
    EXPECT_GE(layout.yLabels.size(), 2U) << what;
    // Grid lines lie on the plot area, its right and bottom edge included.
    for (const CGraph::GridLine& x : layout.xGrid) {
        EXPECT_TRUE(x.pixel >= p.left && x.pixel <= p.right) << what << " x grid " << x.pixel;
    }
    for (const CGraph::GridLine& y : layout.yGrid) {
        EXPECT_TRUE(y.pixel >= p.top && y.pixel <= p.bottom) << what << " y grid " << y.pixel;
    }

    const QRect plot(p.left, p.top, p.Width() + 1, p.Height() + 1);
    std::vector<CGraph::Label> labels = layout.xLabels;
    labels.insert(labels.end(), layout.yLabels.begin(), layout.yLabels.end());
    if (layout.title) labels.push_back(*layout.title);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const QRect a = ToQRect(labels[i].area);
        EXPECT_TRUE(ToQRect(drawing).contains(a))
            << what << ": " << Describe(labels[i]) << " leaves the picture";
        EXPECT_FALSE(a.intersects(plot)) << what << ": " << Describe(labels[i]) << " on the plot";
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            EXPECT_FALSE(a.intersects(ToQRect(labels[j].area)))
                << what << ": " << Describe(labels[i]) << " over " << Describe(labels[j]);
        }
    }
    // A blank text row between every y label, the lowest above all, and the time labels.
    for (const CGraph::Label& y : layout.yLabels) {
        for (const CGraph::Label& x : layout.xLabels) {
            EXPECT_LE(y.area.bottom + y.area.Height(), x.area.top)
                << what << ": " << Describe(y) << " comes within a text row of " << Describe(x);
        }
    }
}

// The label `labels` holds for `line`, if any.
const CGraph::Label* LabelOf(const std::vector<CGraph::Label>& labels, const CGraph::GridLine& line) {
    const auto found = std::find_if(labels.begin(), labels.end(), [&](const CGraph::Label& label) {
        return label.line.pixel == line.pixel;
    });
    return found == labels.end() ? nullptr : &*found;
}

// As many labels as there is room for: where the grid lines lie a label and its margin apart, no two
// neighbours go without one; twice that apart, none does. `lines` are those a label could stand at,
// `room` what a label and its margin take.
void ExpectLabelsWhereRoomAllows(const std::vector<CGraph::GridLine>& lines,
                                 const std::vector<CGraph::Label>& labels, int room,
                                 const std::string& what) {
    if (lines.size() < 2) return;
    int spacing = INT_MAX;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        spacing = std::min(spacing, std::abs(lines[i].pixel - lines[i - 1].pixel));
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool labelled = LabelOf(labels, lines[i]) != nullptr;
        if (spacing >= 2 * room) {
            EXPECT_TRUE(labelled) << what << ": no label at " << lines[i].pixel << ", lines " << spacing
                                  << " apart";
        } else if (spacing >= room && i > 0) {
            EXPECT_TRUE(labelled || LabelOf(labels, lines[i - 1]))
                << what << ": no label at " << lines[i - 1].pixel << " nor " << lines[i].pixel << ", lines "
                << spacing << " apart";
        }
    }
}

// Each label stands at its own grid line, with the text of that line's tick; a label is centred on its
// line or moved just as far as an edge demands, and still reaches it (a line on the plot's right or
// bottom edge lies just outside the label beside it).
void ExpectLabelsOnTheirLines(const CGraph& graph, const CGraph::PlotLayout& layout,
                              const CGraph::Rect& drawing, const QFontMetrics& metrics,
                              const std::string& what) {
    const CGraph::Rect& p = layout.plot;
    const CGraph::View view = graph.GetView();
    const int h = metrics.height();
    const int blank = metrics.horizontalAdvance(QLatin1Char(' '));

    int widest = 0;
    for (const CGraph::GridLine& line : layout.xGrid) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(graph.XLabel(line.tick))));
    }
    for (const CGraph::Label& label : layout.xLabels) {
        const CGraph::Rect& a = label.area;
        const std::string at = what + ": " + Describe(label);
        EXPECT_TRUE(std::any_of(layout.xGrid.begin(), layout.xGrid.end(),
                                [&](const CGraph::GridLine& l) { return l.pixel == label.line.pixel; }))
            << at << " has no grid line";
        const double expected = p.left + (label.line.tick - view.xMin) / (view.xMax - view.xMin) * p.Width();
        EXPECT_NEAR(label.line.pixel, expected, 1.0) << at << " stands for another tick";
        EXPECT_EQ(label.text.toStdString(), graph.XLabel(label.line.tick)) << at;
        EXPECT_EQ(a.top, p.bottom + 1) << at << " is not under the plot";
        const bool centred = a.left == label.line.pixel - a.Width() / 2;
        const bool clamped = a.left == drawing.left || a.right == drawing.right;
        EXPECT_TRUE((centred || clamped) && a.left <= label.line.pixel && label.line.pixel <= a.right)
            << at << " is not under its line " << label.line.pixel;
    }
    ExpectLabelsWhereRoomAllows(layout.xGrid, layout.xLabels, widest + blank, what + " x");

    // The band the y labels stand in: below the title, a blank text row above the time labels.
    const int bandTop = layout.title ? layout.title->area.bottom + 1 : drawing.top;
    const int bandBottom = p.bottom + 1 - h;
    std::vector<CGraph::GridLine> reachable;
    for (const CGraph::GridLine& line : layout.yGrid) {
        if (line.pixel >= bandTop && line.pixel < bandBottom) reachable.push_back(line);
    }
    for (const CGraph::Label& label : layout.yLabels) {
        const CGraph::Rect& a = label.area;
        const std::string at = what + ": " + Describe(label);
        EXPECT_TRUE(std::any_of(layout.yGrid.begin(), layout.yGrid.end(),
                                [&](const CGraph::GridLine& l) { return l.pixel == label.line.pixel; }))
            << at << " has no grid line";
        const double expected = p.bottom -
                                (label.line.tick - view.yMin) / (view.yMax - view.yMin) * p.Height();
        EXPECT_NEAR(label.line.pixel, expected, 1.0) << at << " stands for another tick";
        EXPECT_EQ(label.text.toStdString(), CGraph::FormatNumberLabel(graph.GetYFormat(), label.line.tick))
            << at;
        EXPECT_EQ(a.right, p.left - 1) << at << " is not beside the plot";
        const bool centred = a.top == label.line.pixel - h / 2;
        const bool clamped = a.top == bandTop || a.bottom == bandBottom;
        EXPECT_TRUE((centred || clamped) && a.top <= label.line.pixel && label.line.pixel <= a.bottom)
            << at << " is not beside its line " << label.line.pixel;
    }
    ExpectLabelsWhereRoomAllows(reachable, layout.yLabels, h, what + " y");
}
}  // namespace

TEST(GraphLayout, EachLabelStandsAtItsOwnLineAndNoneMeetsAnotherTheTitleOrThePlotInBothLanguages) {
    const LayoutCase cases[] = {
        {"trend from zero", true, false, {0, 300, 50, 82}},
        // Panned and zoomed after Stop: ticks left of the plot, negative values, many decimals.
        {"trend panned", true, false, {37.25, 112.5, -0.00731, 0.00242}},
        {"trend of a second", true, false, {3599.2, 3600.1, -1234.5, 2345.5}},
        {"ten hours", true, false, {0, 36000, -999999, 999999}},
        {"steady value", true, false, {0, 0.1, 214748.3646, 214748.3648}},
        {"table", false, true, {-200, 850, -10000, 390000}},
        {"table zoomed", false, true, {-12.5, 7.5, 0.0001, 0.0011}},
    };
    // The plot at its smallest (the table viewers'), at the trend page's default and maximised on a
    // large screen.
    const QSize sizes[] = {DialogUnitsToPixels(0, 0, 268, 216).size(),
                           DialogUnitsToPixels(0, 0, 502, 307).size(), QSize(3840, 2100)};
    ResetLanguageState();
    SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
    for (int language : {0, 1}) {
        SetLanguage(language);
        const QFontMetrics metrics(DialogFont());
        for (const LayoutCase& c : cases) {
            for (const QSize& size : sizes) {
                for (unsigned unit : {0U, unsigned{kStrTemperatureUnits}, unsigned{kStrUnitSecond}}) {
                    CGraph graph;
                    graph.SetTimeAxis(c.timeAxis);
                    graph.SetNegativeXAllowed(true);
                    graph.SetLabelMargin(c.labelMargin);
                    graph.SetTitle(unit ? LoadString(unit) : std::string());
                    graph.SetViewRange(c.view.xMin, c.view.xMax, c.view.yMin, c.view.yMax);
                    const CGraph::Rect drawing{0, 0, size.width(), size.height()};
                    const CGraph::PlotLayout layout = graph.Layout(drawing, DialogFont());
                    const std::string what = std::string(c.what) + " " + std::to_string(size.width()) + "x" +
                                             std::to_string(size.height()) + " language " +
                                             std::to_string(language) + " unit " + std::to_string(unit);
                    ExpectSound(layout, drawing, what);
                    ExpectLabelsOnTheirLines(graph, layout, drawing, metrics, what);
                }
            }
        }
    }
    ResetLanguageState();
}
