// The trend graph page fed with the live values a potentiometer set reads from the simulated device.
#include "ui/pages/graph_page.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>

#include "model/potentiometer/par_type_pm.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "support/scaled_timing.h"
#include "support/temp_folder.h"
#include "support/sim_connection.h"
#include "ui/common/language.h"
#include "ui/framework/print_dialog.h"
#include "ui/ui_test_support.h"

namespace {
// Counts the page's notifications.
struct CloseCounter : CObserver {
    void Update(CObservable*) override { ++count; }
    int count = 0;
};

class GraphPageTest : public ScaledTiming {
protected:
    GraphPageTest() {
        m_page.SetTickClock([this] { return m_now; });
        m_page.Attach(&m_closes);
    }
    void SetUp() override {
        ScaledTiming::SetUp();
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        SetLanguage(0);
        m_page.Create(static_cast<QWidget*>(nullptr));
    }
    void TearDown() override {
        ResetLanguageState();
        ScaledTiming::TearDown();
    }

    // The device reports the wiper at `percent`; a poll reads it and hands the set to the page at `tick`.
    void Poll(double percent, uint32_t tick) {
        const auto position = static_cast<uint32_t>(static_cast<int32_t>(percent * 10000.0));
        m_link.sim.SetRegisters(CParTypePM::kRegPosition, {static_cast<uint16_t>(position >> 16),
                                                           static_cast<uint16_t>(position & 0xffff)});
        m_set.UploadModbus(m_link.modbus, kPartLive);
        m_now = tick;
        m_page.AddValue(m_set);
    }
    void Click(int id) { m_page.DispatchCommand(id); }
    std::vector<bool> ButtonStates() const {
        return {m_page.IsDlgItemEnabled(CGraphPage::kStart), m_page.IsDlgItemEnabled(CGraphPage::kStop),
                m_page.IsDlgItemEnabled(CGraphPage::kClose), m_page.IsDlgItemEnabled(CGraphPage::kPrint)};
    }
    CGraph::View View() { return m_page.GetGraph().GetView(); }

    CTemporaryProfile m_profile;
    SimLink m_link{"K9PM"};
    CParTypePM m_set;
    CGraphPage m_page;
    CloseCounter m_closes;
    uint32_t m_now = 0;
};
}  // namespace

TEST(GraphPageText, TheValueIsTheNumberTheLiveTextBeginsWith) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12.345mA, 50.00%", 12.345}, {" -3.5%, 0.0000%", -3.5}, {"Burnout", std::nullopt},
        {"", std::nullopt},           {"nan%", std::nullopt},    {"1e400", std::nullopt},
        {"-1e39", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CGraphPage::LeadingNumber(c.text), c.value) << c.text;
}

void ExpectView(const CGraph::View& actual, const CGraph::View& expected, const char* what) {
    EXPECT_NEAR(actual.xMin, expected.xMin, 1e-9) << what;
    EXPECT_NEAR(actual.xMax, expected.xMax, 1e-9) << what;
    EXPECT_NEAR(actual.yMin, expected.yMin, 1e-9) << what;
    EXPECT_NEAR(actual.yMax, expected.yMax, 1e-9) << what;
}

TEST_F(GraphPageTest, RecordsOnlyWhileRunningFromTheFirstValueOnAndTheRangeOnlyGrows) {
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{true, false, true, false}));
    Poll(40.0, 500);
    EXPECT_TRUE(m_page.GetGraph().Samples().Raw().empty());

    Click(CGraphPage::kStart);
    EXPECT_TRUE(m_page.IsRunning());
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{false, true, false, false}));
    Poll(40.0, 1000);
    ExpectView(View(), {0.0, 0.1, 39.9999, 40.0001}, "first value");
    ASSERT_EQ(m_page.GetGraph().Samples().Raw().size(), 1U);
    EXPECT_EQ(m_page.GetGraph().Samples().Raw()[0].x, 0.0F);
    EXPECT_EQ(m_page.GetGraph().GetTitle(), m_set.GetInputUnit());

    Poll(40.0, 3000);
    ExpectView(View(), {0.0, 2.0, 39.9999, 40.0001}, "steady");
    Poll(45.0, 4000);
    ExpectView(View(), {0.0, 3.0, 39.9999, 45.00001}, "step up");
    Poll(30.0, 5000);
    // The low end first; the high end then takes 5 % of the range that already reaches down.
    const double low = 30.0 - 0.05 * (45.00001 - 39.9999);
    ExpectView(View(), {0.0, 4.0, low, 45.0 + 0.05 * (45.00001 - low)}, "step down");

    Click(CGraphPage::kStop);
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(m_page.GetGraph().GetMode(), CGraph::kModeInteractive);
    Poll(60.0, 6000);
    EXPECT_EQ(m_page.GetGraph().Samples().Raw().size(), 4U);
}

TEST_F(GraphPageTest, ASteadyValueOfAnyMagnitudeLiesInTheMiddleOfTheView) {
    for (double value : {0.5, 2049.1234, 3000.1234, -4095.9999, 150000.1234, 214748.3647}) {
        Click(CGraphPage::kStart);
        for (uint32_t tick : {0U, 1000U, 2000U}) Poll(value, tick);
        Click(CGraphPage::kStop);
        const CGraph::View view = View();
        ASSERT_EQ(m_page.GetGraph().Samples().Raw().size(), 3U) << value;
        for (const CGraphSample& sample : m_page.GetGraph().Samples().Raw()) {
            const double position = (sample.y - view.yMin) / (view.yMax - view.yMin);
            EXPECT_NEAR(position, 0.5, 0.01) << value << " drawn at " << sample.y;
        }
    }
}

TEST_F(GraphPageTest, ACounterThatWrapsAfterTheFirstValueStillGivesTheElapsedTime) {
    Click(CGraphPage::kStart);
    Poll(10.0, 0xFFFFFC18U);
    Poll(10.0, 1000);
    EXPECT_DOUBLE_EQ(View().xMax, 2.0);
    EXPECT_FLOAT_EQ(m_page.GetGraph().Samples().Raw().back().x, 2.0F);
}

TEST_F(GraphPageTest, CloseStopsAndNotifiesOnceAndTheRecordingOutlivesTheWindow) {
    Click(CGraphPage::kStart);
    Poll(10.0, 0);
    Poll(12.0, 500);
    Click(CGraphPage::kClose);
    EXPECT_EQ(m_closes.count, 1);
    EXPECT_FALSE(m_page.IsRunning());
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{true, false, true, true}));
    Poll(14.0, 1000);

    // Taken down by its owner (twice does no harm), then by the window it was placed in.
    m_page.DestroyWindow();
    m_page.DestroyWindow();
    auto* parent = new QWidget();
    m_page.Create(parent);
    ExpectView(View(), {0.0, 1.0, -0.1, 0.1}, "reopened");
    delete parent;
    EXPECT_FALSE(m_page.IsWindow());
    EXPECT_EQ(m_page.GetGraph().Samples().Raw().size(), 2U);
    EXPECT_EQ(m_closes.count, 1);
}

TEST_F(GraphPageTest, AResizedPageGivesTheGrowthToThePlotAndKeepsTheButtonsBelowIt) {
    QWidget* window = m_page.GetWindow();
    const QRect plot = m_page.GetGraph().geometry();
    const QRect close = m_page.GetDlgItem(CGraphPage::kClose)->geometry();
    const QRect start = m_page.GetDlgItem(CGraphPage::kStart)->geometry();
    const QSize grown(70, 40);
    m_page.Resize(window->size() + grown);
    EXPECT_EQ(m_page.GetGraph().geometry(), plot.adjusted(0, 0, grown.width(), grown.height()));
    EXPECT_EQ(m_page.GetDlgItem(CGraphPage::kClose)->geometry(),
              close.translated(grown.width(), grown.height()));
    EXPECT_EQ(m_page.GetDlgItem(CGraphPage::kStart)->geometry(), start.translated(0, grown.height()));
    EXPECT_TRUE(window->rect().contains(m_page.GetDlgItem(CGraphPage::kClose)->geometry()));
}

// After Stop the user zooms out twice and drags the trace left and up, in both languages: each double
// click widens the view by half about its centre (time starts at 0 still), the drag moves it by the
// dragged pixels at the zoomed scale, down to negative values, and screenshots show both.
TEST_F(GraphPageTest, AfterStopTheMouseZoomsOutAboutTheCentreAndPansByTheDraggedPixels) {
    for (int language : {0, 1}) {
        SetLanguage(language);
        m_page.DestroyWindow();
        m_page.Create(static_cast<QWidget*>(nullptr));
        Click(CGraphPage::kStart);
        for (int i = 0; i <= 60; ++i) {
            const double wave = 50.0 + 30.0 * (1.0 - std::exp(-i / 12.0)) + 2.0 * std::sin(i / 1.5);
            Poll(wave, static_cast<uint32_t>(i * 5000));
        }
        Click(CGraphPage::kStop);
        const std::string suffix = language ? "_jpn.png" : "_en.png";
        EXPECT_TRUE(SaveScreenshot(m_page.GetWindow(), "graph_page" + suffix));

        CGraph& graph = m_page.GetGraph();
        const CGraph::View recorded = View();
        const QPoint centre = graph.rect().center();
        QTest::mouseDClick(&graph, Qt::RightButton, {}, centre);
        QTest::mouseDClick(&graph, Qt::RightButton, {}, centre);
        const double xSpan = 2.25 * (recorded.xMax - recorded.xMin);
        const double ySpan = 2.25 * (recorded.yMax - recorded.yMin);
        const double yCentre = (recorded.yMin + recorded.yMax) / 2;
        const CGraph::View zoomed{0.0, xSpan, yCentre - ySpan / 2, yCentre + ySpan / 2};
        ExpectView(View(), zoomed, "zoomed out");

        // The zoomed picture sets the scale the drag keeps.
        graph.grab();
        const CGraph::Rect plot = graph.GetPlotRect();
        const QPoint moved = centre + QPoint(-40, -graph.height() * 2 / 5);
        QTest::mousePress(&graph, Qt::LeftButton, {}, centre);
        QTest::mouseMove(&graph, moved);
        QTest::mouseRelease(&graph, Qt::LeftButton, {}, moved);
        const double dx = 40 * xSpan / plot.Width();
        const double dy = (centre.y() - moved.y()) * ySpan / plot.Height();
        ExpectView(View(), {dx, xSpan + dx, zoomed.yMin - dy, zoomed.yMax - dy}, "panned");
        EXPECT_LT(View().yMin, 0.0);
        EXPECT_TRUE(SaveScreenshot(m_page.GetWindow(), "graph_page_panned" + suffix));
    }
}

TEST_F(GraphPageTest, PrintGoesToThePrinterTheDialogChoseCancelPrintsNothingAndAFailureIsReported) {
    CTempFolder folder;
    Click(CGraphPage::kStart);
    Poll(10.0, 0);
    Poll(20.0, 1000);
    Click(CGraphPage::kStop);
    const struct {
        const char* file;
        bool accept;
        bool written;
    } cases[] = {
        {"cancelled.pdf", false, false},
        {"printed.pdf", true, true},
        {"missing/printed.pdf", true, false},
    };
    for (const auto& c : cases) {
        const std::string path = folder / c.file;
        CPrintDialog::SetHook([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(path));
            return c.accept;
        });
        CMessageBoxRecorder messages;
        Click(CGraphPage::kPrint);
        CPrintDialog::SetHook(nullptr);
        EXPECT_EQ(std::filesystem::exists(path), c.written) << c.file;
        const bool failed = c.accept && !c.written;
        EXPECT_EQ(messages.texts,
                  failed ? std::vector<std::string>{LoadString(kStrPrintFailed)} : std::vector<std::string>{})
            << c.file;
    }
    EXPECT_EQ(m_page.GetGraph().Samples().Raw().size(), 2U);
    EXPECT_EQ(m_page.GetGraph().GetMode(), CGraph::kModeInteractive);
}

TEST_F(GraphPageTest, WithoutAPrinterTheDialogOffersAPdfFileInTheHomeFolder) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this system has a printer";
    CTempFolder folder;
    const std::string path = folder / "graph.pdf";
    Click(CGraphPage::kStart);
    Poll(10.0, 0);
    Poll(20.0, 1000);
    Click(CGraphPage::kStop);
    int destinations = 0;
    QString offered;
    bool answered = false;
    // Answers the print dialog once it is up. Past the deadline whatever is modal is cancelled instead,
    // so a dialog that never comes or comes too late fails the test rather than hanging it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (std::chrono::steady_clock::now() > deadline) {
            if (modal) modal->close();
            return;
        }
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        if (!dialog || answered) return;
        answered = true;
        auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
        auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (printers) destinations = printers->count();
        if (file) {
            offered = file->text();
            file->setText(QString::fromStdString(path));
        }
        dialog->accept();
    });
    watch.start(10);
    Click(CGraphPage::kPrint);
    watch.stop();
    ASSERT_TRUE(answered) << "no print dialog came up";
    EXPECT_EQ(destinations, 1);
    EXPECT_EQ(offered, QDir::home().filePath(QStringLiteral("Graph.pdf")));
    EXPECT_TRUE(std::filesystem::exists(path));
}
