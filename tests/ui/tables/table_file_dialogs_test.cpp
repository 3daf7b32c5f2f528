// The table file viewers: ranges, loading and saving, and the way the parameter sets reach them.
#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/rtd/par_type_r.h"
#include "model/set/par_type_v.h"
#include "platform/resource_module.h"
#include "support/temp_folder.h"
#include "ui/common/language.h"
#include "ui/framework/file_dialog.h"
#include "ui/hooks/ui_notifier.h"
#include "ui/hooks/ui_table_dialog_service.h"
#include "ui/tables/table_file2_dialog.h"
#include "ui/tables/table_file_dialog.h"
#include "ui/ui_test_support.h"

namespace {
class TableFileDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        SetLanguage(0);
        // Every file dialog picks the next path given, or cancels when none is left.
        CFileDialog::SetHook([this](const CFileDialog::Request&) -> std::optional<std::string> {
            if (m_paths.empty()) return std::nullopt;
            std::string path = m_paths.front();
            m_paths.erase(m_paths.begin());
            return path;
        });
    }
    void TearDown() override {
        CFileDialog::SetHook(nullptr);
        ResetLanguageState();
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = m_folder / name;
        std::ofstream(path) << text;
        return path;
    }
    // Runs ShowTable with `whileOpen` inside its modal loop.
    static int ShowTable(CTableFile2Dialog& dialog, CTableFile2& table, int32_t unit,
                         const std::function<void()>& whileOpen) {
        QMetaObject::invokeMethod(
            qApp,
            [&dialog, whileOpen] {
                whileOpen();
                if (dialog.IsWindow() && dialog.GetWindow()->isVisible()) dialog.EndDialog(kLeftOpen);
            },
            Qt::QueuedConnection);
        return dialog.ShowTable(table, unit);
    }
    static CTableFile2 Custom(double start, int32_t step, std::vector<double> values) {
        CTableFile2 table;
        table.SetStartTemperature(start);
        table.SetStep(step);
        table.SetValues(std::move(values));
        return table;
    }

    CTempFolder m_folder;
    std::vector<std::string> m_paths;
};

void ExpectView(const CGraph::View& actual, const CGraph::View& expected, const std::string& what) {
    EXPECT_NEAR(actual.xMin, expected.xMin, 1e-9) << what;
    EXPECT_NEAR(actual.xMax, expected.xMax, 1e-9) << what;
    EXPECT_NEAR(actual.yMin, expected.yMin, 1e-9) << what;
    EXPECT_NEAR(actual.yMax, expected.yMax, 1e-9) << what;
}

// Clicks the button with `text` of the modal dialog that is open.
void ClickInModal(const char* text) {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr) << text;
    for (QPushButton* button : modal->findChildren<QPushButton*>()) {
        if (button->text() == QString::fromUtf8(text)) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text;
}
}  // namespace

TEST(TableAxis, TemperaturesInTheDisplayUnit) {
    const struct {
        double celsius;
        int32_t unit;
        double axis;
    } cases[] = {{-200, 0, -200},    {-200, 1, -328},          {-200, 2, 73.15}, {-190, 1, -310},
                 {0.00005, 1, 32.0}, {100.12345, 1, 212.2221}, {25, 7, 25}};
    for (const auto& c : cases)
        EXPECT_NEAR(CTableFile2Dialog::AxisTemperature(c.celsius, c.unit), c.axis, 1e-9) << c.unit;
}

TEST_F(TableFileDialogTest, TheCustomTableSetsTheRangeFromItsValuesAndTemperatures) {
    const struct {
        const char* what;
        CTableFile2 table;
        int32_t unit;
        CGraph::View view;
    } cases[] = {
        {"ohms", Custom(-200, 10, {100, 250, 400}), 0, {-200, -180, 100, 400}},
        {"degF", Custom(-200, 10, {100, 250, 400}), 1, {-328, -292, 100, 400}},
        {"K", Custom(-200, 10, {100, 250, 400}), 2, {73.15, 93.15, 100, 400}},
        {"millivolts above 10000", Custom(0, 5, {20000, 30000}), 0, {0, 5, 10000, 30000}},
        {"one value", Custom(20, 5, {50}), 0, {20, 25, 50, 51}},
        {"one zero", Custom(20, 5, {0}), 0, {20, 25, 0, 1}},
        {"empty", Custom(20, 5, {}), 0, {-240, 850, 0, 300}},
    };
    for (const auto& c : cases) {
        CTableFile2Dialog dialog;
        CTableFile2 table = c.table;
        ShowTable(dialog, table, c.unit, [&] {
            ExpectView(dialog.GetGraph()->GetView(), c.view, c.what);
            EXPECT_EQ(dialog.GetGraph()->Samples().Raw().size(), c.table.GetValues().size()) << c.what;
        });
    }
}

TEST_F(TableFileDialogTest, OnlyOkHandsTheLoadedTableBack) {
    const std::string file = Write("pt.txt",
                                   "Minimum RTD Temperature = -100\nStep = 20\n{\n60.0\n80.0\n100.0\n}\n");
    for (int answer : {IDOK, IDCANCEL}) {
        CTableFile2 table = Custom(0, 10, {100, 110});
        m_paths = {file};
        CTableFile2Dialog dialog;
        const int result = ShowTable(dialog, table, 0, [&] {
            dialog.DispatchCommand(CTableFile2Dialog::kOpenFile);
            EXPECT_EQ(dialog.Table().GetValues(), (std::vector<double>{60, 80, 100}));
            dialog.DispatchCommand(answer);
        });
        if (answer == IDOK) {
            EXPECT_EQ(result, CTableFile2Dialog::kAccepted);
            EXPECT_EQ(table.GetValues(), (std::vector<double>{60, 80, 100}));
            EXPECT_EQ(table.GetStartTemperature(), -100.0);
            EXPECT_EQ(table.GetStep(), 20);
        } else {
            EXPECT_EQ(result, CTableFile2Dialog::kDiscarded);
            EXPECT_EQ(table.GetValues(), (std::vector<double>{100, 110}));
            EXPECT_EQ(table.GetStartTemperature(), 0.0);
            EXPECT_EQ(table.GetStep(), 10);
        }
    }
}

TEST_F(TableFileDialogTest, ABadFileShowsItsMessageAndChangesNothing) {
    CMessageBoxRecorder boxes;
    m_paths = {Write("bad2.txt", "Step = 10\n{\n1.0\n}\n")};
    CTableFile2 table = Custom(0, 10, {100, 110});
    CTableFile2Dialog custom;
    ShowTable(custom, table, 0, [&] {
        custom.DispatchCommand(CTableFile2Dialog::kOpenFile);
        EXPECT_EQ(custom.Table().GetValues(), (std::vector<double>{100, 110}));
        EXPECT_EQ(custom.GetGraph()->Samples().Raw().size(), 2U);
        custom.DispatchCommand(IDOK);
    });
    EXPECT_EQ(table.GetValues(), (std::vector<double>{100, 110}));

    m_paths = {Write("bad.txt", "{\n}\n")};
    CTableFileDialog linear;
    linear.Table().Add(0, 0);
    linear.Table().Add(100, 100);
    RunModal(linear, [&] {
        linear.DispatchCommand(CTableFileDialog::kOpenFile);
        EXPECT_EQ(linear.Table().GetCount(), 2U);
        EXPECT_EQ(linear.GetGraph()->Samples().Raw().size(), 2U);
    });
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{LoadString(30302), LoadString(30002)}));
}

TEST_F(TableFileDialogTest, AnOrderWarningIsShownAndTheFileStillApplies) {
    CMessageBoxRecorder boxes;
    m_paths = {Write("order.txt", "Minimum Temperature = 0\nStep = 10\n{\n100\n120\n110\n}\n")};
    CTableFile2 table = Custom(0, 10, {100, 110});
    CTableFile2Dialog dialog;
    ShowTable(dialog, table, 0, [&] {
        const CUiNotifier notifier(dialog.Poster());
        dialog.DispatchCommand(CTableFile2Dialog::kOpenFile);
        QCoreApplication::processEvents();
        dialog.DispatchCommand(IDOK);
    });
    EXPECT_EQ(table.GetValues(), (std::vector<double>{100, 120, 110}));
    ASSERT_EQ(boxes.texts.size(), 1U);
    EXPECT_EQ(boxes.texts[0], "Invalid resistance value order in the RTD file.(line 6)");
}

TEST_F(TableFileDialogTest, TheLinearizationTableIsPlottedInAFixedRangeAndSavedAsShown) {
    m_paths = {Write("lin.txt", "title\n{\n-2, -2\n50,60\n102, 102\n}\n"), m_folder / "saved.txt"};
    CTableFileDialog dialog;
    RunModal(dialog, [&] {
        dialog.DispatchCommand(CTableFileDialog::kOpenFile);
        ExpectView(dialog.GetGraph()->GetView(), {-22, 122, -22, 122}, "linearization");
        ASSERT_EQ(dialog.GetGraph()->Samples().Raw().size(), 3U);
        EXPECT_EQ(dialog.GetGraph()->Samples().Raw()[1].y, 60.0F);
        dialog.DispatchCommand(CTableFileDialog::kSaveFile);
    });
    CTableFile saved;
    saved.Load(m_folder / "saved.txt");
    ASSERT_EQ(saved.GetCount(), 3U);
    EXPECT_EQ(saved.GetX(1), 50.0);
    EXPECT_EQ(saved.GetY(1), 60.0);
}

TEST_F(TableFileDialogTest, TheSetsOpenTheViewersThroughTheInstalledService) {
    const CUiTableDialogService service;
    m_paths = {Write("lin.txt", "{\n0, 0\n40, 70\n100, 100\n}\n"),
               Write("rtd.txt", "Minimum Temperature = -50\nStep = 25\n{\n80.3\n90.2\n100\n1e12\n}\n")};

    CParTypeV linear;
    QMetaObject::invokeMethod(
        qApp,
        [] {
            ClickInModal("Open File");
            ClickInModal("OK");
        },
        Qt::QueuedConnection);
    linear.EditTable(kGroupTable, 0);
    EXPECT_EQ(linear.GetValue(CParTypeV::kPointCount), 3);
    EXPECT_EQ(linear.GetValue(CParTypeV::kPointFirst + 2), 400000);
    EXPECT_EQ(linear.GetValue(CParTypeV::kPointFirst + 3), 700000);

    CParTypeR rtd;
    const std::string before = rtd.GetValueString(CParTypeR::kCustomStart);
    QMetaObject::invokeMethod(
        qApp,
        [] {
            ClickInModal("Open File");
            ClickInModal("Cancel");
        },
        Qt::QueuedConnection);
    rtd.EditTable(kGroupTable, 0);
    EXPECT_EQ(rtd.GetValueString(CParTypeR::kCustomStart), before);
    m_paths = {m_folder / "rtd.txt"};
    QMetaObject::invokeMethod(
        qApp,
        [] {
            ClickInModal("Open File");
            ClickInModal("OK");
        },
        Qt::QueuedConnection);
    rtd.EditTable(kGroupTable, 0);
    EXPECT_EQ(rtd.GetValue(CParTypeR::kCustomStart), -500000);
    EXPECT_EQ(rtd.GetValue(CParTypeR::kCustomStep), 25);
    EXPECT_EQ(rtd.GetValue(CParTypeR::kCustomPoints), 4);
    EXPECT_EQ(rtd.GetValueText(CParTypeR::kResistanceFirst + 3), "214748.3647");  // as far as int32 goes

    // A file's point count of -3 leaves no values: the save is refused before a name is asked for.
    CMessageBoxRecorder boxes;
    rtd.SetValueFromString(CParTypeR::kCustomPoints, "-3", false);
    m_paths = {m_folder / "none.txt"};
    QMetaObject::invokeMethod(
        qApp,
        [] {
            ClickInModal("Save File");
            ClickInModal("Cancel");
        },
        Qt::QueuedConnection);
    rtd.EditTable(kGroupTable, 0);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{LoadString(30307)});
    EXPECT_EQ(m_paths.size(), 1U);
}

TEST_F(TableFileDialogTest, Screenshots) {
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    const auto save = [](CDialog& dialog, const std::string& name) {
        const std::string path = std::string(BRIMLOW_SCREENSHOT_DIR) + "/" + name;
        std::filesystem::remove(path);
        EXPECT_TRUE(dialog.GetWindow()->grab().save(QString::fromStdString(path)));
    };
    for (int language : {0, 1}) {
        SetLanguage(language);
        const std::string suffix = language ? "_jpn.png" : "_en.png";
        CTableFileDialog linear;
        for (double x : {-2.0, 10.0, 25.0, 50.0, 75.0, 90.0, 102.0}) linear.Table().Add(x, x * x / 100.0);
        RunModal(linear, [&] { save(linear, "table_linearization" + suffix); });

        std::vector<double> ohms;
        for (int t = -200; t <= 850; t += 10) ohms.push_back(100.0 + 0.385 * t - 0.00006 * t * t);
        CTableFile2 table = Custom(-200, 10, ohms);
        CTableFile2Dialog custom;
        ShowTable(custom, table, 1, [&] {
            save(custom, "table_custom" + suffix);
            custom.GetGraph()->Picture(1.5).save(
                QString::fromStdString(BRIMLOW_SCREENSHOT_DIR "/table_plot_150" + suffix));
        });
    }
}
