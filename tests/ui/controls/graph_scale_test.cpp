// Tick steps, label formats and the view range of the plot control.
#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/graph.h"

TEST(GraphScale, TickStepIsOneTwoOrFiveTimesAPowerOfTenAboutAFifthOfTheSpan) {
    const struct {
        double span;
        double step;
        int digits;
    } cases[] = {
        {100, 20, 2}, {1090, 200, 3},  {0.012, 0.002, 3},  {25, 5, 1},
        {30, 10, 1},  {7.2e7, 1e7, 8}, {0.001, 0.0002, 4},
    };
    for (const auto& c : cases) {
        int digits = -1;
        EXPECT_DOUBLE_EQ(CGraph::CalcTickStep(c.span, &digits), c.step) << c.span;
        EXPECT_EQ(digits, c.digits) << c.span;
    }
    int digits = 7;
    EXPECT_EQ(CGraph::CalcTickStep(0.0, &digits), 0.0);
    EXPECT_EQ(digits, 7);
}

TEST(GraphScale, FirstTickTruncatesTowardZero) {
    EXPECT_DOUBLE_EQ(CGraph::CalcFirstTick(33, 20), 20);
    EXPECT_DOUBLE_EQ(CGraph::CalcFirstTick(-33, 20), -20);
    EXPECT_DOUBLE_EQ(CGraph::CalcFirstTick(5, 0), 0);
}

TEST(GraphScale, LabelFormatsAndTexts) {
    EXPECT_EQ(CGraph::MakeNumberFormat(20, 2), "%2.0lf");
    EXPECT_EQ(CGraph::MakeNumberFormat(100, 3), "%3.0lf");
    EXPECT_EQ(CGraph::MakeNumberFormat(0.002, 2), "%.2lf");
    EXPECT_EQ(CGraph::MakeTimeFormat(1, 1), "%d:%02d:%02.0lf");
    EXPECT_EQ(CGraph::MakeTimeFormat(0.5, 1), "%d:%02d:%04.1lf");
    EXPECT_EQ(CGraph::MakeTimeFormat(0.02, 2), "%d:%02d:%05.2lf");

    const struct {
        double t;
        double step;
        int digits;
        const char* text;
    } labels[] = {
        {3725, 1, 1, "1:02:05"},
        {-75, 1, 1, "-0:01:15"},
        // A tick reached by repeated addition lands just below the minute.
        {419.99999999999994, 0.02, 2, "0:07:00.00"},
        {419.6, 100, 3, "0:07:00"},
        {59.95, 0.5, 1, "0:01:00.0"},
        {-0.01, 1, 1, "0:00:00"},
    };
    for (const auto& l : labels) {
        int digits = l.digits;
        const std::string format = CGraph::MakeTimeFormat(l.step, digits);
        EXPECT_EQ(CGraph::FormatTimeLabel(format, l.t, l.step >= 1 ? 0 : digits), l.text) << l.t;
    }
    EXPECT_EQ(CGraph::FormatNumberLabel("%3.0lf", 40), " 40");
    EXPECT_EQ(CGraph::FormatNumberLabel("%.2lf", -0.014), "-0.01");
    EXPECT_EQ(CGraph::FormatNumberLabel("%4.0lf", -0.0), "   0");
    EXPECT_EQ(CGraph::FormatNumberLabel("%.2lf", -1e-17), "0.00");
}

TEST(GraphScale, ViewRangeIsWidenedAndShiftedInsideItsBounds) {
    const struct {
        bool negativeX;
        bool viaSetRange;
        CGraph::View in;
        CGraph::View out;
    } cases[] = {
        {false, false, {5, 5, 0, 0}, {4.9995, 5.0005, -0.00005, 0.00005}},
        {false, true, {5, 5, 0, 0}, {5, 5.1, 0, 0.1}},
        // An inverted range is centred the same way.
        {false, false, {7, 3, 2, 1}, {4.9995, 5.0005, 1.49995, 1.50005}},
        {false, false, {-30, 70, 0, 1}, {0, 100, 0, 1}},
        {true, false, {-30, 70, 0, 1}, {-30, 70, 0, 1}},
        {false, false, {39999900, 40000000, 0, 1}, {35999900, 36000000, 0, 1}},
        {true, false, {-4e7, -4e7 + 100, 0, 1}, {-36000000, -35999900, 0, 1}},
        {false, false, {0, 1, 2e6, 2e6 + 10}, {0, 1, 999990, 1000000}},
        {false, false, {0, 1, -3e6, 3e6}, {0, 1, -1000000, 1000000}},
    };
    for (const auto& c : cases) {
        CGraph graph;
        graph.SetNegativeXAllowed(c.negativeX);
        if (c.viaSetRange) {
            graph.SetRange(c.in.xMin, c.in.xMax, c.in.yMin, c.in.yMax);
        } else {
            graph.SetViewRange(c.in.xMin, c.in.xMax, c.in.yMin, c.in.yMax);
        }
        const CGraph::View v = graph.GetView();
        EXPECT_NEAR(v.xMin, c.out.xMin, 1e-9) << c.in.xMin;
        EXPECT_NEAR(v.xMax, c.out.xMax, 1e-9) << c.in.xMin;
        EXPECT_NEAR(v.yMin, c.out.yMin, 1e-9) << c.in.yMin;
        EXPECT_NEAR(v.yMax, c.out.yMax, 1e-9) << c.in.yMin;
    }
}

TEST(GraphScale, TheTimeAxisSetBeforeTheRangeGivesClockLabels) {
    CGraph graph;
    graph.SetTimeAxis(true);
    graph.SetViewRange(0, 1, -0.1, 0.1);
    EXPECT_EQ(graph.GetXFormat(), "%d:%02d:%04.1lf");
    EXPECT_EQ(graph.GetYFormat(), "%.2lf");
}

TEST(GraphScale, ThePrintedPictureKeepsTheScreensAspectRatioCentredOnThePage) {
    const struct {
        int pageWidth, pageHeight, clientWidth, clientHeight;
        CGraph::Rect page;
    } cases[] = {
        {1000, 1400, 400, 300, {0, 325, 1000, 1075}},
        // Both ratios truncate to 1 in whole numbers; the client is the wider one.
        {1400, 1000, 500, 300, {0, 80, 1400, 920}},
        {1400, 1000, 300, 300, {200, 0, 1200, 1000}},
        {1400, 1000, 0, 300, {0, 0, 1400, 1000}},
    };
    for (const auto& c : cases) {
        const CGraph::Rect r = CGraph::PageRectangle(c.pageWidth, c.pageHeight, c.clientWidth,
                                                     c.clientHeight);
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
                  std::vector<int>({c.page.left, c.page.top, c.page.right, c.page.bottom}))
            << c.pageWidth << "x" << c.pageHeight << " " << c.clientWidth << "x" << c.clientHeight;
    }
}
