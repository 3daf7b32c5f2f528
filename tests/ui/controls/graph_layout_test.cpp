// The plot control's layout as rectangles: labels, title and plot area never overlap, at the smallest
// and largest sizes the plot takes, in both languages.
#include <gtest/gtest.h>

#include <QRect>

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
    for (int x : layout.xGrid) EXPECT_TRUE(x >= p.left && x <= p.right) << what << " x grid " << x;
    for (int y : layout.yGrid) EXPECT_TRUE(y >= p.top && y <= p.bottom) << what << " y grid " << y;

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
    // A blank row at least between every y label, the lowest above all, and the time labels.
    for (const CGraph::Label& y : layout.yLabels) {
        for (const CGraph::Label& x : layout.xLabels)
            EXPECT_LT(y.area.bottom, x.area.top) << what << ": " << Describe(y) << " meets " << Describe(x);
    }
}
}  // namespace

TEST(GraphLayout, NoLabelMeetsAnotherTheTitleOrThePlotAtEverySizeInBothLanguages) {
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
                    ExpectSound(graph.Layout(drawing, DialogFont()), drawing,
                                std::string(c.what) + " " + std::to_string(size.width()) + "x" +
                                    std::to_string(size.height()) + " language " + std::to_string(language) +
                                    " unit " + std::to_string(unit));
                }
            }
        }
    }
    ResetLanguageState();
}
