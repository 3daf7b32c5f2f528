#include "ui/vort_dlg.h"

#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "model/par_type_v.h"
#include "platform/profile.h"
#include "platform/resource_module.h"
#include "ui/framework/dialog_font.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/language.h"
#include "ui/static_buffer.h"
#include "ui/ui_test_support.h"
#include "ui/vort_app.h"

namespace {
std::unique_ptr<CParBase> MakeSet(int typeId) {
    auto set = std::make_unique<CParTypeV>();
    set->SetTypeId(typeId);
    return set;
}

// Knows the type ids 1 to 9, as the model registry does.
std::unique_ptr<CParBase> KnownTypes(int typeId) { return typeId >= 1 && typeId <= 9 ? MakeSet(typeId) : nullptr; }

class MainDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        StaticBuffer().Clear();
    }
    void TearDown() override {
        StaticBuffer().Clear();
        ResetLanguageState();
    }

    CTemporaryProfile m_profile;
};
}  // namespace

TEST_F(MainDialogTest, TheFileSideStartsWithTheStoredTypeOrType2) {
    const std::pair<std::optional<int>, int> cases[] = {{std::nullopt, 2}, {0, 2}, {42, 2}, {-3, 2}, {7, 7}, {1, 1}};
    for (const auto& [stored, expected] : cases) {
        std::filesystem::remove(ProfilePath());
        if (stored) WriteProfileInt("Settings", "DeviceId", *stored);
        const auto set = CVORTApp::CreateFileSideSet(KnownTypes);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->GetTypeId(), expected) << stored.value_or(-99);
    }
    EXPECT_EQ(CVORTApp::CreateFileSideSet(nullptr), nullptr);
}

TEST_F(MainDialogTest, TheLanguageButtonRebuildsInTheOtherLanguageAndKeepsTheFileSide) {
    SetLanguage(0);
    StaticBuffer().PutParameterSet(MakeSet(7));
    const CParBase* fileSet = nullptr;
    CVORTDlg dialog;

    const int first = RunModal(dialog, [&] {
        fileSet = dialog.GetFileSideSet();
        EXPECT_EQ(dialog.GetWindowText(), "Setrova Version " BRIMLOW_TEST_VERSION);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "Connect");
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kLanguage), "Japanese");
        ASSERT_TRUE(dialog.IsDlgItemEnabled(CVORTDlg::kLanguage));
        // The user picks the file tab "Option" (group 1).
        dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kFileTab)->Bar()->setCurrentIndex(2);
        dialog.GetDlgItemAs<QPushButton>(CVORTDlg::kLanguage)->click();
    }, true);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(GetLanguage(), 1);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -7), 7);

    const int second = RunModal(dialog, [&] {
        EXPECT_EQ(dialog.GetFileSideSet(), fileSet);
        EXPECT_FALSE(StaticBuffer().HoldsParameterSet());
        EXPECT_EQ(dialog.GetFileGroup(), 1);
        EXPECT_EQ(dialog.GetCurSel(CVORTDlg::kFileTab), 2);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "接続");
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kLanguage), "English");
        EXPECT_EQ(dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->GetItemText(0), "デバイス情報");
        // Back again, then the close box ends the program's loop.
        dialog.GetDlgItemAs<QPushButton>(CVORTDlg::kLanguage)->click();
    }, true);
    EXPECT_EQ(second, IDOK);
    EXPECT_EQ(GetLanguage(), 0);

    WriteProfileInt("Settings", "DeviceId", 3);
    const int third = RunModal(dialog, [&] {
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "Connect");
        dialog.GetWindow()->close();
    }, true);
    EXPECT_EQ(third, 0);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -7), 7);
    EXPECT_EQ(dialog.GetFileSideSet(), nullptr);
}

TEST_F(MainDialogTest, EnterAndEscDoNotEndTheMainDialog) {
    SetLanguage(0);
    CVORTDlg dialog;
    EXPECT_EQ(RunModal(dialog, [&] {
                  dialog.DispatchOk();
                  dialog.DispatchCancel();
              }),
              kLeftOpen);
}

TEST_F(MainDialogTest, ScreenshotsOfBothLanguages) {
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    const std::pair<int, const char*> languages[] = {{0, "main_dialog_en.png"}, {1, "main_dialog_jpn.png"}};
    for (const auto& [row, name] : languages) {
        SetLanguage(row);
        StaticBuffer().PutParameterSet(MakeSet(2));
        CVORTDlg dialog;
        const std::string path = std::string(BRIMLOW_SCREENSHOT_DIR) + "/" + name;
        std::filesystem::remove(path);
        RunModal(dialog, [&] { EXPECT_TRUE(dialog.GetWindow()->grab().save(QString::fromStdString(path))); });
        const QImage shot(QString::fromStdString(path));
        EXPECT_EQ(shot.size(), DialogUnitsToPixels(0, 0, 560, 362).size()) << name;
    }
}
