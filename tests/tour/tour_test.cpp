// The user's road through the program against a simulated device, as a technician walks it, with a
// screenshot of every step.
#include <QAbstractButton>
#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "model/device/device_type.h"
#include "platform/profile.h"
#include "support/scaled_timing.h"
#include "ui/app/language.h"
#include "ui/app/static_buffer.h"
#include "ui/app/vort_app.h"
#include "ui/framework/file_dialog.h"
#include "ui/main/main_dialog_support.h"
#include "ui/main/vort_dlg.h"
#include "ui/ui_test_support.h"

namespace {
class Tour : public ScaledTiming {
protected:
    void SetUp() override {
        ScaledTiming::SetUp();
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        StaticBuffer().Clear();
        std::filesystem::create_directories(kFolder);
    }
    void TearDown() override {
        StaticBuffer().Clear();
        CFileDialog::SetHook(nullptr);
        ResetLanguageState();
        ScaledTiming::TearDown();
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
}  // namespace

TEST_F(Tour, FromConnectToCloseOnThermocoupleAndRtdDevices) {
    struct Walk {
        const char* modelCode;
        int language;
        const char* languageName;
        int typeId;
        const char* online;
        const char* matching;
        const char* compareTitle;
    } walks[] = {
        {"K9TS", 0, "en", 1, "Online", "All parameters matching.", "Compare Results"},
        {"K9RS", 1, "jpn", 2, "オンライン", "すべてのパラメータが一致しています。", "比較結果"},
    };
    for (const Walk& w : walks) {
        SCOPED_TRACE(w.modelCode);
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

            Click(dialog, CVORTDlg::kSaveFile);
            ASSERT_TRUE(std::filesystem::exists(file));
            const CParBase* beforeOpen = dialog.GetFileSideSet();
            Click(dialog, CVORTDlg::kOpenFile);
            EXPECT_NE(dialog.GetFileSideSet(), beforeOpen);
            EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), w.typeId);

            Click(dialog, CVORTDlg::kUnlock);
            Click(dialog, CVORTDlg::kDownload);
            EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateBusy);
            ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; },
                                  std::chrono::seconds(60)));

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

            Click(dialog, CVORTDlg::kConnect);
            ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOffline; }));
            camera.Shoot(window, "6_disconnected");
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
                .Shoot(dialog.GetWindow(), "7_offline");
            dialog.GetWindow()->close();
        });
        EXPECT_EQ(ended, 0);
        EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -1), w.typeId);
    }
}
