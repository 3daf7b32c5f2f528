#include "ui/main/com_setting_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile.h"
#include "ui/common/language.h"
#include "ui/ui_test_support.h"

namespace {
// Sixteen fixed ports under /fake/dev; no system ports.
CComPortList FakePorts() { return CComPortList("/nonexistent/sys", "/fake/dev"); }
}  // namespace

TEST(ComSettingDialog, TheStoredPortIsPreselectedOnlyWhenItMatchesExactly) {
    SetLanguage(0);
    struct Case {
        const char* stored;
        int selected;
    } cases[] = {
        {"/fake/dev/ttyS3", 3}, {"/fake/dev/TTYS3", 0}, {"/dev/nothing", 0}, {"/fake/dev/ttyS15", 15}};
    for (const Case& c : cases) {
        CTemporaryProfile profile;
        WriteProfileString("ComSettings", "COMPortName", c.stored);
        CComSettingDialog dialog(FakePorts());
        int selected = -1;
        EXPECT_EQ(RunModal(
                      dialog,
                      [&] {
                          selected = dialog.GetCurSel(CComSettingDialog::kPortCombo);
                          dialog.DispatchCommand(CComSettingDialog::kOkButton);
                      },
                      true),
                  IDOK);
        EXPECT_EQ(selected, c.selected) << c.stored;
        // Confirming stores the entry shown, also when the stored one was missing.
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "?"),
                  "/fake/dev/ttyS" + std::to_string(c.selected));
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortDisplayName", "?"),
                  "ttyS" + std::to_string(c.selected));
    }
}

TEST(ComSettingDialog, ChoosingAnotherPortStoresItAndCancelStoresNothing) {
    SetLanguage(0);
    CTemporaryProfile profile;
    WriteProfileString("ComSettings", "COMPortName", "/fake/dev/ttyS1");
    CComSettingDialog dialog(FakePorts());
    EXPECT_EQ(RunModal(
                  dialog,
                  [&] {
                      dialog.SetCurSel(CComSettingDialog::kPortCombo, 7);
                      dialog.DispatchCommand(CComSettingDialog::kCancelButton);
                  },
                  true),
              IDCANCEL);
    EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "?"), "/fake/dev/ttyS1");
    EXPECT_EQ(GetProfileString("ComSettings", "COMPortDisplayName", "?"), "?");

    const std::pair<int, const char*> languages[] = {{0, "com_settings_en.png"}, {1, "com_settings_jpn.png"}};
    for (const auto& [row, name] : languages) {
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        SetLanguage(row);
        CComSettingDialog shown(FakePorts());
        EXPECT_EQ(RunModal(
                      shown,
                      [&] {
                          shown.SetCurSel(CComSettingDialog::kPortCombo, 7);
                          std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
                          shown.GetWindow()->grab().save(QString(BRIMLOW_SCREENSHOT_DIR "/") + name);
                          shown.DispatchCommand(CComSettingDialog::kOkButton);
                      },
                      true),
                  IDOK);
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "?"), "/fake/dev/ttyS7");
    }
    ResetLanguageState();
}
