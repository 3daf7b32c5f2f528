// The plot control drawn headless: traces, pan and zoom with the mouse, printing.
#include "ui/controls/graph.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "ui/framework/dialog_font.h"

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 300;

// A graph of the test size whose screen picture, and with it the plot area, exists.
struct ShownGraph {
    explicit ShownGraph(CGraph::View view, int32_t mode = CGraph::kModeInteractive) {
        graph.resize(kWidth, kHeight);
        graph.SetMode(mode);
        graph.SetViewRange(view.xMin, view.xMax, view.yMin, view.yMax);
        graph.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&graph));
        Picture();
    }
    QImage Picture() { return graph.grab().toImage(); }

    CGraph graph;
};

// Columns of the picture that hold a pixel of the trace colour.
std::vector<int> TraceColumns(const QImage& image, QColor colour) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) == colour) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

void ExpectView(const CGraph::View& actual, const CGraph::View& expected, const char* what) {
    EXPECT_NEAR(actual.xMin, expected.xMin, 1e-9) << what;
    EXPECT_NEAR(actual.xMax, expected.xMax, 1e-9) << what;
    EXPECT_NEAR(actual.yMin, expected.yMin, 1e-9) << what;
    EXPECT_NEAR(actual.yMax, expected.yMax, 1e-9) << what;
}
}  // namespace

TEST(Graph, LeftDragPansByThePixelDistanceAndRightDragZoomsToTheRectangle) {
    ShownGraph shown({100, 200, 0, 10});
    CGraph& g = shown.graph;
    const CGraph::Rect p = g.GetPlotRect();
    ASSERT_GT(p.Width(), 100);
    const double xPerPixel = 100.0 / p.Width();
    const double yPerPixel = 10.0 / p.Height();

    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&g, QPoint(230, 170));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(250, 170));
    ExpectView(g.GetView(), {100 - 50 * xPerPixel, 200 - 50 * xPerPixel, 20 * yPerPixel, 10 + 20 * yPerPixel},
               "pan");

    const CGraph::View before = g.GetView();
    shown.Picture();
    const CGraph::Rect q = g.GetPlotRect();
    QTest::mousePress(&g, Qt::RightButton, {}, QPoint(q.left + 40, q.top + 30));
    QTest::mouseMove(&g, QPoint(q.left + 10, q.top + 90));
    QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(q.left + 300, q.top + 200));
    const double xSpan = before.xMax - before.xMin;
    const double ySpan = before.yMax - before.yMin;
    ExpectView(g.GetView(),
               {before.xMin + 10.0 / q.Width() * xSpan, before.xMin + 40.0 / q.Width() * xSpan,
                before.yMin + (q.Height() - 90.0) / q.Height() * ySpan,
                before.yMin + (q.Height() - 30.0) / q.Height() * ySpan},
               "zoom to the corners of the last move");
}

TEST(Graph, MouseActionsThatChangeNothing) {
    const struct {
        const char* what;
        int32_t mode;
        std::function<void(CGraph&)> act;
    } cases[] = {
        {"zero-width rectangle", CGraph::kModeInteractive,
         [](CGraph& g) {
             QTest::mousePress(&g, Qt::RightButton, {}, QPoint(100, 50));
             QTest::mouseMove(&g, QPoint(100, 200));
             QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(100, 200));
         }},
        {"zero-height rectangle", CGraph::kModeInteractive,
         [](CGraph& g) {
             QTest::mousePress(&g, Qt::RightButton, {}, QPoint(100, 50));
             QTest::mouseMove(&g, QPoint(300, 50));
             QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(300, 50));
         }},
        {"double-click in live mode", CGraph::kModeLive,
         [](CGraph& g) { QTest::mouseDClick(&g, Qt::LeftButton); }},
        {"drag in live mode", CGraph::kModeLive,
         [](CGraph& g) {
             QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(100, 50));
             QTest::mouseMove(&g, QPoint(300, 150));
             QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(300, 150));
         }},
    };
    for (const auto& c : cases) {
        ShownGraph shown({100, 200, 0, 10}, c.mode);
        c.act(shown.graph);
        ExpectView(shown.graph.GetView(), {100, 200, 0, 10}, c.what);
    }
}

TEST(Graph, DoubleClicksZoomInByTwoAndOutByOneAndAHalfAboutTheCentre) {
    ShownGraph shown({100, 200, 0, 10});
    QTest::mouseDClick(&shown.graph, Qt::LeftButton, {}, QPoint(60, 60));
    ExpectView(shown.graph.GetView(), {125, 175, 2.5, 7.5}, "in");
    QTest::mouseDClick(&shown.graph, Qt::RightButton, {}, QPoint(60, 60));
    ExpectView(shown.graph.GetView(), {112.5, 187.5, 1.25, 8.75}, "out");
}

TEST(Graph, TheTraceRunsAlongTheColumnsOfItsSamples) {
    const QColor trace(255, 50, 50);
    for (int32_t mode : {CGraph::kModeLive, CGraph::kModeInteractive}) {
        ShownGraph shown({0, 100, 0, 10}, mode);
        for (int x = 20; x <= 60; ++x) shown.graph.AddSample(static_cast<float>(x), 5.0F);
        shown.graph.SetDirty();
        const std::vector<int> columns = TraceColumns(shown.Picture(), trace);
        const CGraph::Rect p = shown.graph.GetPlotRect();
        ASSERT_FALSE(columns.empty()) << mode;
        const int first = p.left + static_cast<int>(0.2 * p.Width());
        const int last = p.left + static_cast<int>(0.6 * p.Width());
        // The pen is two pixels wide.
        EXPECT_NEAR(columns.front(), first, 2) << mode;
        EXPECT_NEAR(columns.back(), last, 2) << mode;
        EXPECT_EQ(columns.back() - columns.front() + 1, static_cast<int>(columns.size()))
            << "unbroken " << mode;
    }
}

// At 150 % the picture is painted in device pixels, every grid line as wide as the others.
TEST(Graph, AtAFractionalScaleThePictureHasDevicePixelsAndEvenGridLines) {
    ShownGraph shown({0, 100, 0, 10});
    const QImage picture = shown.graph.Picture(1.5).toImage();
    picture.save(BRIMLOW_SCREENSHOT_DIR "/graph_150.png");
    EXPECT_EQ(picture.size(), QSize(kWidth * 3 / 2, kHeight * 3 / 2));
    const CGraph::Rect p = shown.graph.GetPlotRect();
    // The widths of the grid lines crossed from `from` on in steps of `step` inside the plot, but for a
    // line on its edge, which the edge cuts.
    const auto widths = [&](QPoint from, QPoint step) {
        std::map<int, int> counts;
        int run = -1;
        for (QPoint at = from; QRect(p.left, p.top, p.Width(), p.Height()).contains(at / 1.5); at += step) {
            if (picture.pixelColor(at) != shown.graph.palette().color(QPalette::Text)) {
                if (run > 0) ++counts[run];
                run = 0;
            } else if (run >= 0) {
                ++run;
            }
        }
        return counts;
    };
    // Between the grid lines of x 0 and 20 down, and of y 4 and 6 across: four whole lines each way.
    const QPoint between(static_cast<int>((p.left + 0.1 * p.Width()) * 1.5), (p.top + p.bottom) * 3 / 4);
    EXPECT_EQ(widths({between.x(), p.top * 3 / 2}, {0, 1}), (std::map<int, int>{{2, 4}}));
    EXPECT_EQ(widths({p.left * 3 / 2, between.y()}, {1, 0}), (std::map<int, int>{{2, 4}}));
}

TEST(Graph, ALiveGraphWithOneSampleDrawsNoTrace) {
    ShownGraph shown({0, 100, 0, 10}, CGraph::kModeLive);
    shown.graph.AddSample(50.0F, 5.0F);
    shown.graph.SetDirty();
    EXPECT_TRUE(TraceColumns(shown.Picture(), QColor(255, 50, 50)).empty());
}

TEST(Graph, SamplesFarOutsideAnExtremeZoomStillDrawTowardWhereTheyLie) {
    const QColor trace(255, 50, 50);
    {
        // Ten hours at ten samples a second, zoomed to a millisecond: the line crosses the whole picture.
        ShownGraph shown({0, 1, 0, 1});
        for (int i = 0; i < 360000; ++i) shown.graph.AddSample(static_cast<float>(i / 10.0), 50.0F);
        shown.graph.AddSample(std::nanf(""), 1.0F);
        shown.graph.SetViewRange(18000.0, 18000.001, 49.0, 51.0);
        const std::vector<int> columns = TraceColumns(shown.Picture(), trace);
        const CGraph::Rect p = shown.graph.GetPlotRect();
        ASSERT_FALSE(columns.empty());
        // Across the plot, and no further: the labels beside it stay clear.
        EXPECT_EQ(columns.front(), p.left);
        const int right = std::min(p.right, kWidth - 1);
        EXPECT_EQ(columns.back(), right);
        EXPECT_EQ(columns.size(), static_cast<std::size_t>(right - p.left + 1));
    }
    {
        // Values a hundred million views below the view: every stroke goes down from the middle.
        ShownGraph shown({0, 100, 0, 0.0001});
        for (int x = 0; x <= 100; ++x)
            shown.graph.AddSample(static_cast<float>(x), x % 2 ? -10000.0F : 0.00005F);
        shown.graph.SetDirty();
        const QImage picture = shown.Picture();
        const CGraph::Rect p = shown.graph.GetPlotRect();
        const int middle = p.top + p.Height() / 2;
        int above = 0;
        int below = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixelColor(x, y) != trace) continue;
                (y < middle - 2 ? above : below) += 1;
            }
        }
        EXPECT_EQ(above, 0);
        EXPECT_GT(below, 0);
    }
}

TEST(Graph, PrintingGivesOnePageNamedGraph) {
    ShownGraph shown({0, 100, -1, 11});
    for (int x = 0; x <= 100; ++x) shown.graph.AddSample(static_cast<float>(x), static_cast<float>(x % 10));
    shown.graph.SetTitle("mA");
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    const std::string path = std::string(BRIMLOW_SCREENSHOT_DIR) + "/graph_print.pdf";
    std::filesystem::remove(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    shown.graph.Print(printer);

    std::ifstream file(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
    const std::string title("/Title (\xfe\xff\0G\0r\0a\0p\0h)", 21);
    EXPECT_NE(pdf.find(title), std::string::npos);
    // A pan right after printing, before any repaint, moves by screen pixels.
    const CGraph::Rect p = shown.graph.GetPlotRect();
    QTest::mousePress(&shown.graph, Qt::LeftButton, {}, QPoint(250, 150));
    QTest::mouseMove(&shown.graph, QPoint(220, 150));
    QTest::mouseRelease(&shown.graph, Qt::LeftButton, {}, QPoint(200, 150));
    const double shift = 50.0 * 100.0 / p.Width();
    ExpectView(shown.graph.GetView(), {shift, 100 + shift, -1, 11}, "pan after printing");
    EXPECT_FALSE(TraceColumns(shown.Picture(), QColor(255, 50, 50)).empty());
}
