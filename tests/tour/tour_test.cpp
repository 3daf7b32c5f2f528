// The user's road through the program against a simulated device, as a technician walks it, with a
// screenshot of every step.
#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "model/device/device_type.h"
#include "model/set/par_type_v.h"
#include "platform/profile.h"
#include "support/scaled_timing.h"
#include "ui/common/language.h"
#include "ui/common/static_buffer.h"
#include "ui/app/vort_app.h"
#include "ui/controls/edit_text.h"
#include "ui/framework/file_dialog.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/main/main_dialog_support.h"
#include "ui/main/vort_dlg.h"
#include "ui/ui_test_support.h"

namespace {
class Tour : public MainDialogFixture {
protected:
    void SetUp() override {
        MainDialogFixture::SetUp();
        std::filesystem::create_directories(kFolder);
    }

    static constexpr const char* kFolder = BRIMLOW_SCREENSHOT_DIR "/tour";
    CTemporaryProfile m_profile;
};

// Saves what the user sees now as <model>_<language>_<step>.png.
class CCamera {
public:
    CCamera(std::string model, std::string language)
        : m_prefix(std::move(model) + "_" + std::move(language) + "_") {}
    void Shoot(QWidget* window, const std::string& step) {
        const std::string path = std::string(BRIMLOW_SCREENSHOT_DIR "/tour/") + m_prefix + step + ".png";
        EXPECT_TRUE(window->grab().save(QString::fromStdString(path))) << path;
    }

private:
    std::string m_prefix;
};

// The row of `code` in a parameter list; -1 when it shows none.
int RowOf(const CParameterListCtrl& list, int32_t code) {
    const CReportListCtrl* rows = list.GetList();
    for (int row = 0; row < rows->GetItemCount(); ++row) {
        if (rows->GetItemData(row) == code) return row;
    }
    return -1;
}

// What a user does to change a text value: select its row, press Enter, type the new text, press Enter.
void TypeValue(CVORTDlg& dialog, CParameterListCtrl& list, int32_t code, const std::string& text) {
    const int row = RowOf(list, code);
    ASSERT_GE(row, 0);
    list.GetList()->SelectOnly(row);
    // Back from a dialog of its own, the main window is active again before the user types.
    dialog.GetWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetWindow()));
    list.GetList()->setFocus();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == list.GetList(); }));
    QTest::keyClick(list.GetList(), Qt::Key_Return);
    CEditText* editor = list.GetEditor().GetTextEditor();
    ASSERT_TRUE(editor && editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, QString::fromStdString(text));
    QTest::keyClick(editor, Qt::Key_Return);
}

std::string ValueShown(const CParameterListCtrl& list, int32_t code) {
    const int row = RowOf(list, code);
    return row < 0 ? std::string() : list.GetList()->GetItemText(row, 2);
}

// One walk: the device's model, the language the user starts in, and what the window shows in it.
struct Walk {
    const char* modelCode;
    int language;
    const char* languageName;
    int typeId;
    const char* online;
    const char* matching;
    const char* compareTitle;
};

void PrintTo(const Walk& walk, std::ostream* out) { *out << walk.modelCode; }

class TourWalk : public Tour, public ::testing::WithParamInterface<Walk> {};
}  // namespace

// Each walk is a test of its own, so that they run side by side.
TEST_P(TourWalk, FromConnectToClose) {
    const Walk& w = GetParam();
    std::filesystem::remove(ProfilePath());
    CProfiledSim device(w.modelCode);
    SetLanguage(w.language);
    // Start-up as the program does it: the file side of the stored model (none: the RTD model).
    {
        CDeviceType registry;
        StaticBuffer().PutParameterSet(CVORTApp::CreateFileSideSet(registry));
    }
    CCamera camera(w.modelCode, w.languageName);
    const std::string file = m_profile.Directory() + "/" + w.modelCode + ".cfg";
    CFileDialog::SetHook([&](const CFileDialog::Request&) -> std::optional<std::string> { return file; });
    CMessageBoxRecorder boxes;

    CVORTDlg dialog;
    int ended = RunModalSettled(dialog, [&] {
        QWidget* window = dialog.GetWindow();
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOffline; }));
        camera.Shoot(window, "1_offline");

        Click(dialog, CVORTDlg::kConnect);
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; }));
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetDlgItemText(CVORTDlg::kOnlineLabel) == w.online; }));
        camera.Shoot(window, "2_online");

        Click(dialog, CVORTDlg::kUpload);
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateBusy);
        camera.Shoot(window, "3_uploading");
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; }));
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), w.typeId);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kModelName), CDeviceType::GetModelName(w.typeId));
        camera.Shoot(window, "4_uploaded");

        // The file side's tag, on its "Device Info." tab, becomes the device's after the download.
        TypeValue(dialog, dialog.GetFilePage().GetList(), CParTypeV::kTag, "BOILER-7");
        EXPECT_EQ(dialog.GetFileSideSet()->GetValueString(CParTypeV::kTag), "BOILER-7");
        Click(dialog, CVORTDlg::kSaveFile);
        ASSERT_TRUE(std::filesystem::exists(file));
        const CParBase* beforeOpen = dialog.GetFileSideSet();
        Click(dialog, CVORTDlg::kOpenFile);
        EXPECT_NE(dialog.GetFileSideSet(), beforeOpen);
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), w.typeId);

        Click(dialog, CVORTDlg::kUnlock);
        Click(dialog, CVORTDlg::kDownload);
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateBusy);
        ASSERT_TRUE(
            PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; }, std::chrono::seconds(60)));

        std::vector<std::string> result;
        CModalAnswer answer(w.compareTitle, [&](QWidget* modal) {
            PumpUntil([&] { return !LabelTexts(modal).empty(); });
            result = LabelTexts(modal);
            camera.Shoot(modal, "5_compare");
            modal->close();
        });
        Click(dialog, CVORTDlg::kCompare);
        ASSERT_TRUE(PumpUntil([&] { return answer.Answered() == 1 && !dialog.HasWorkThread(); }));
        EXPECT_EQ(result, std::vector<std::string>{w.matching});
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; }));

        // Unlocked, a value typed on the device side goes to the device and comes back with the polls.
        TypeValue(dialog, dialog.GetInfoPage().GetList(), CParTypeV::kTag, "LINE-3");
        camera.Shoot(window, "6_edited");
        const size_t requests = device.sim.GetRequestCount();
        EXPECT_TRUE(PumpUntil([&] { return device.sim.GetRequestCount() > requests + 3; }));
        EXPECT_EQ(ValueShown(dialog.GetInfoPage().GetList(), CParTypeV::kTag), "LINE-3");

        // The trend graph covers the window and records the input for two seconds.
        Click(dialog, CVORTDlg::kTrendGraph);
        ASSERT_TRUE(dialog.IsGraphOpen());
        EXPECT_FALSE(dialog.GetDlgItem(CVORTDlg::kUpload)->isVisibleTo(window));
        EXPECT_FALSE(dialog.GetInputMeter().GetWindow()->isVisibleTo(window));
        EXPECT_FALSE(dialog.GetFilePage().GetWindow()->isVisibleTo(window));
        Click(dialog.GetGraphPage(), CGraphPage::kStart);
        const auto recording = std::chrono::steady_clock::now();
        EXPECT_TRUE(PumpUntil([&] {
            return std::chrono::steady_clock::now() - recording > std::chrono::seconds(2) &&
                   dialog.GetGraphPage().GetGraph().Samples().Raw().size() > 3;
        }));
        camera.Shoot(window, "7_trend");
        Click(dialog.GetGraphPage(), CGraphPage::kStop);
        Click(dialog.GetGraphPage(), CGraphPage::kClose);
        ASSERT_TRUE(PumpUntil([&] { return !dialog.IsGraphOpen(); }));
        EXPECT_TRUE(dialog.GetDlgItem(CVORTDlg::kUpload)->isVisibleTo(window));
        EXPECT_TRUE(dialog.GetInputMeter().GetWindow()->isVisibleTo(window));

        Click(dialog, CVORTDlg::kConnect);
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOffline; }));
        camera.Shoot(window, "8_disconnected");
        EXPECT_TRUE(boxes.texts.empty());
        Click(dialog, CVORTDlg::kLanguage);
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(GetLanguage(), 1 - w.language);

    // The same window in the other language, with the file side carried over; the close box ends it.
    ended = RunModalSettled(dialog, [&] {
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), w.typeId);
        ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOffline; }));
        CCamera(w.modelCode, std::string(w.languageName) + "_switched")
            .Shoot(dialog.GetWindow(), "9_offline");
        dialog.GetWindow()->close();
    });
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -1), w.typeId);
}

INSTANTIATE_TEST_SUITE_P(
    ThermocoupleAndRtdDevices, TourWalk,
    ::testing::Values(Walk{"K9TS", 0, "en", 1, "Online", "All parameters matching.", "Compare Results"},
                      Walk{"K9RS", 1, "jpn", 2, "オンライン", "すべてのパラメータが一致しています。",
                           "比較結果"}),
    [](const ::testing::TestParamInfo<Walk>& walk) { return std::string(walk.param.modelCode); });
