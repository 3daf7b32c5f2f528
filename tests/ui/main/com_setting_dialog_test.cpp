#include "ui/main/com_setting_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>

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

TEST(ComSettingDialog, AStoredPortTheListDoesNotHoldIsKeptAsAnEntryOfItsOwn) {
    SetLanguage(0);
    struct Case {
        const char* stored;
        int selected;
        const char* shown;
        bool cut;  // too long for the box
    } cases[] = {
        {"/fake/dev/ttyS3", 3, "ttyS3", false},
        {"/fake/dev/ttyS15", 15, "ttyS15", false},
        // Paths match exactly: another letter case is another path.
        {"/fake/dev/TTYS3", 16, "(not present) /fake/dev/TTYS3", false},
        {"/dev/serial/by-id/usb-Zenta_K9-if00-port0", 16,
         "(not present) /dev/serial/by-id/usb-Zenta_K9-if00-port0", true},
        // There, only not listed (a pseudo-terminal, say).
        {"/dev/null", 16, "/dev/null", false},
    };
    for (const Case& c : cases) {
        CTemporaryProfile profile;
        WriteProfileString("ComSettings", "COMPortName", c.stored);
        WriteProfileString("ComSettings", "COMPortDisplayName", "Zenta K9");
        CComSettingDialog dialog(FakePorts());
        int selected = -1;
        int count = 0;
        QString shown;
        QString tip;
        bool cut = false;
        EXPECT_EQ(RunModal(
                      dialog,
                      [&] {
                          auto* combo = dialog.GetDlgItemAs<QComboBox>(CComSettingDialog::kPortCombo);
                          selected = combo->currentIndex();
                          count = combo->count();
                          shown = combo->currentText();
                          tip = combo->toolTip();
                          cut = combo->fontMetrics().horizontalAdvance(shown) > combo->width();
                          dialog.DispatchCommand(CComSettingDialog::kOkButton);
                      },
                      true),
                  IDOK);
        EXPECT_EQ(selected, c.selected) << c.stored;
        EXPECT_EQ(count, c.selected == 16 ? 17 : 16) << c.stored;
        EXPECT_EQ(shown.toStdString(), c.shown);
        // A path too long for the box is read whole in its tooltip; so is every other entry.
        EXPECT_EQ(cut, c.cut) << c.stored;
        EXPECT_EQ(tip.toStdString(), c.shown);
        // Confirming keeps the stored port; a listed one takes the list's name.
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "?"), c.stored);
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortDisplayName", "?"),
                  c.selected == 16 ? "Zenta K9" : c.shown);
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
        WriteProfileString("ComSettings", "COMPortName", "/dev/serial/by-id/usb-Zenta_K9-if00-port0");
        CComSettingDialog shown(FakePorts());
        EXPECT_EQ(
            RunModal(
                shown,
                [&] {
                    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
                    shown.GetWindow()->grab().save(QString(BRIMLOW_SCREENSHOT_DIR "/") + name);
                    auto* combo = shown.GetDlgItemAs<QComboBox>(CComSettingDialog::kPortCombo);
                    combo->showPopup();
                    combo->view()->window()->grab().save(QString(BRIMLOW_SCREENSHOT_DIR "/list_") + name);
                    combo->hidePopup();
                    shown.SetCurSel(CComSettingDialog::kPortCombo, 7);
                    // The tooltip follows the choice.
                    EXPECT_EQ(combo->toolTip().toStdString(), "ttyS7");
                    shown.DispatchCommand(CComSettingDialog::kOkButton);
                },
                true),
            IDOK);
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "?"), "/fake/dev/ttyS7");
    }
    ResetLanguageState();
}
