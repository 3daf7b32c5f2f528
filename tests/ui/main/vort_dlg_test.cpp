#include "ui/main/vort_dlg.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "model/device/device_type.h"
#include "platform/admin_mode.h"
#include "platform/profile.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "ui/framework/dialog_font.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/common/language.h"
#include "ui/common/static_buffer.h"
#include "ui/main/main_dialog_support.h"
#include "ui/ui_test_support.h"
#include "ui/app/vort_app.h"

namespace {
// The file-side set start-up makes for a stored type id.
std::unique_ptr<CParBase> MakeSet(int typeId) {
    WriteProfileInt("Settings", "DeviceId", typeId);
    CDeviceType registry;
    std::unique_ptr<CParBase> set = CVORTApp::CreateFileSideSet(registry);
    std::filesystem::remove(ProfilePath());
    return set;
}

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

TEST_F(MainDialogTest, TheFileSideStartsWithTheStoredTypeOrType2AndShowsItsModel) {
    SetLanguage(0);
    struct Case {
        std::optional<int> stored;
        int typeId;
        const char* modelCode;
        const char* modelName;
    } cases[] = {
        {std::nullopt, 2, "K9R", "K9RS,K9R"}, {0, 2, "K9R", "K9RS,K9R"},  {42, 2, "K9R", "K9RS,K9R"},
        {-3, 2, "K9R", "K9RS,K9R"},           {7, 7, "K9U3", "K9U(Res)"}, {3, 3, "K9PM", "K9PM"},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.stored.value_or(-99));
        std::filesystem::remove(ProfilePath());
        if (c.stored) WriteProfileInt("Settings", "DeviceId", *c.stored);
        CDeviceType registry;
        std::unique_ptr<CParBase> set = CVORTApp::CreateFileSideSet(registry);
        ASSERT_NE(set, nullptr) << label;
        // A copy: the registry keeps its own set.
        EXPECT_NE(set.get(), registry.GetParBase()) << label;
        EXPECT_EQ(set->GetTypeId(), c.typeId) << label;
        EXPECT_EQ(set->GetModelCode(), c.modelCode) << label;

        StaticBuffer().PutParameterSet(std::move(set));
        CVORTDlg dialog;
        RunModal(dialog,
                 [&] { EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kModelName), c.modelName) << label; });
    }
}

TEST_F(MainDialogTest, TheLanguageButtonRebuildsInTheOtherLanguageAndKeepsTheFileSide) {
    SetLanguage(0);
    StaticBuffer().PutParameterSet(MakeSet(7));
    const CParBase* fileSet = nullptr;
    CVORTDlg dialog;

    const int first = RunModalSettled(dialog, [&] {
        fileSet = dialog.GetFileSideSet();
        EXPECT_EQ(dialog.GetWindowText(), "Setrova Version " BRIMLOW_TEST_VERSION);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "Connect");
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kLanguage), "Japanese");
        // Enabled by the first poll result, which finds the dialog offline.
        ASSERT_TRUE(PumpUntil([&] { return dialog.IsDlgItemEnabled(CVORTDlg::kLanguage); }));
        // The user picks the file tab "Option" (group 1).
        dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kFileTab)->Bar()->setCurrentIndex(2);
        dialog.GetDlgItemAs<QPushButton>(CVORTDlg::kLanguage)->click();
    });
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(GetLanguage(), 1);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -7), 7);

    const int second = RunModalSettled(dialog, [&] {
        EXPECT_EQ(dialog.GetFileSideSet(), fileSet);
        EXPECT_FALSE(StaticBuffer().HoldsParameterSet());
        EXPECT_EQ(dialog.GetFileGroup(), 1);
        EXPECT_EQ(dialog.GetCurSel(CVORTDlg::kFileTab), 2);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "接続");
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kLanguage), "English");
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kModelName), "K9U(Res)");
        EXPECT_EQ(dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->GetItemText(0), "デバイス情報");
        // Back again, then the close box ends the program's loop.
        ASSERT_TRUE(PumpUntil([&] { return dialog.IsDlgItemEnabled(CVORTDlg::kLanguage); }));
        dialog.GetDlgItemAs<QPushButton>(CVORTDlg::kLanguage)->click();
    });
    EXPECT_EQ(second, IDOK);
    EXPECT_EQ(GetLanguage(), 0);

    WriteProfileInt("Settings", "DeviceId", 3);
    const int third = RunModal(
        dialog,
        [&] {
            EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "Connect");
            dialog.GetWindow()->close();
        },
        true);
    EXPECT_EQ(third, 0);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -7), 7);
    EXPECT_EQ(dialog.GetFileSideSet(), nullptr);
}

TEST_F(MainDialogTest, WithoutTheModuleTheJapaneseButtonAsksForJapaneseAgain) {
    CTemporaryProfile emptyFolder;
    SetLanguageModuleDirectory(emptyFolder.Directory());
    CMessageBoxRecorder boxes;
    SetLanguage(1);
    CVORTDlg dialog;
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(RunModalSettled(dialog,
                                  [&] {
                                      EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kLanguage), "Japanese")
                                          << pass;
                                      ASSERT_TRUE(PumpUntil(
                                          [&] { return dialog.IsDlgItemEnabled(CVORTDlg::kLanguage); }));
                                      dialog.GetDlgItemAs<QPushButton>(CVORTDlg::kLanguage)->click();
                                  }),
                  IDOK);
        EXPECT_EQ(GetLanguage(), 1) << pass;
    }
    EXPECT_EQ(boxes.texts, std::vector<std::string>(3, "Can't load language module"));
    StaticBuffer().Clear();
}

TEST_F(MainDialogTest, EnterAndEscDoNotEndTheMainDialog) {
    SetLanguage(0);
    CVORTDlg dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
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
        EXPECT_EQ(shot.size(), DialogUnitsToPixels(0, 0, 608, 362).size()) << name;
    }
}

TEST_F(MainDialogTest, TheWindowCarriesTheProgramIconInItsThreeSizes) {
    SetLanguage(0);
    CVORTDlg dialog;
    QIcon icon;
    RunModal(dialog, [&] { icon = dialog.GetWindow()->windowIcon(); });
    ASSERT_FALSE(icon.isNull());
    // The three sizes on a light and on a dark title bar, to be looked at.
    constexpr int kGap = 8;
    QImage sheet(16 + 32 + 48 + 4 * kGap, 2 * (48 + 2 * kGap), QImage::Format_RGB32);
    QPainter painter(&sheet);
    painter.fillRect(0, 0, sheet.width(), sheet.height() / 2, QColor(230, 230, 230));
    painter.fillRect(0, sheet.height() / 2, sheet.width(), sheet.height() / 2, QColor(40, 40, 48));
    int x = kGap;
    for (int side : {16, 32, 48}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
        for (int y : {kGap, sheet.height() / 2 + kGap}) painter.drawPixmap(x, y, icon.pixmap(side, side));
        x += side + kGap;
    }
    painter.end();
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    EXPECT_TRUE(
        sheet.save(QString::fromStdString(std::string(BRIMLOW_SCREENSHOT_DIR) + "/program_icon.png")));
}

TEST_F(MainDialogTest, EveryDevicePageCoversTheTabsDisplayArea) {
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    for (int language : {0, 1}) {
        SetLanguage(language);
        for (int tab = 0; tab < 5; ++tab) {
            StaticBuffer().deviceTab = tab;
            // The file side on the group with the table buttons.
            StaticBuffer().PutParameterSet(MakeSet(0));
            StaticBuffer().fileGroup = 2;
            CVORTDlg dialog;
            RunModal(dialog, [&] {
                const CDialog* pages[] = {&dialog.GetInfoPage(), &dialog.GetBasicPage(),
                                          &dialog.GetCalibPage(), &dialog.GetAdjustPage(),
                                          &dialog.GetLoopTestPage()};
                const QRect area = dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->DisplayRect();
                EXPECT_EQ(pages[tab]->GetWindow()->geometry(), area) << tab;
                EXPECT_TRUE(pages[tab]->GetWindow()->isVisible()) << tab;
                CInputSettingPage& file = dialog.GetFilePage();
                const QRect list = file.GetDlgItem(CInputSettingPage::kParameterList)->geometry();
                for (int id : {CInputSettingPage::kTableButton1, CInputSettingPage::kTableButton2}) {
                    const QWidget* button = file.GetDlgItem(id);
                    if (!button->isVisible()) continue;
                    EXPECT_TRUE(file.GetWindow()->rect().contains(button->geometry())) << id;
                    EXPECT_LT(list.bottom(), button->geometry().top()) << id;
                }
                const std::string name = "main_dialog_tab" + std::to_string(tab) +
                                         (language ? "_jpn" : "_en");
                dialog.GetWindow()->grab().save(
                    QString::fromStdString(BRIMLOW_SCREENSHOT_DIR "/" + name + ".png"));
            });
        }
    }
    StaticBuffer().Clear();
}

TEST_F(MainDialogTest, AProfileThatCannotBeWrittenIsReportedWhenTheWindowCloses) {
    SetLanguage(0);
    StaticBuffer().PutParameterSet(MakeSet(4));
    // A folder cannot be made below a plain file, not even by root.
    const std::string blocked = m_profile.Directory() + "/file";
    std::ofstream(blocked) << "x";
    setenv("XDG_CONFIG_HOME", (blocked + "/config").c_str(), 1);
    CVORTDlg dialog;
    CMessageBoxRecorder boxes;
    EXPECT_EQ(RunModalSettled(dialog, [&] { dialog.GetWindow()->close(); }), 0);
    EXPECT_EQ(boxes.texts,
              std::vector<std::string>{"The settings could not be saved in " + ProfilePath() + "."});
    EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONWARNING});
}

TEST_F(MainDialogTest, AdministratorModeShowsTheInitializeAndCalibrationButtons) {
    SetLanguage(0);
    const std::string marker = AdminMarkerPath(ProgramPath());
    for (const bool admin : {false, true}) {
        if (admin) std::ofstream(marker) << "";
        CVORTDlg dialog;
        RunModalSettled(dialog, [&] {
            for (int id : {CVORTDlg::kInitialize, CVORTDlg::kInputCalib, CVORTDlg::kOutputCalib}) {
                EXPECT_EQ(dialog.IsDlgItemShown(id), admin) << id;
            }
            // Initialize is there in every state; the calibrations need a device online.
            EXPECT_TRUE(dialog.IsDlgItemEnabled(CVORTDlg::kInitialize));
            EXPECT_FALSE(dialog.IsDlgItemEnabled(CVORTDlg::kInputCalib));
        });
        std::filesystem::remove(marker);
    }
    SetAdminMode(false);
}
