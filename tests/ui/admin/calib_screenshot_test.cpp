// Screenshots of the device pages in both languages and of the two calibration dialogs, for a person to
// judge: clipped texts, overlaps, missing glyphs.
#include <gtest/gtest.h>

#include <string>

#include "ui/admin/calib_dialog_support.h"
#include "ui/admin/input_calib_dialog.h"
#include "ui/admin/output_calib_dialog.h"
#include "ui/common/language.h"
#include "ui/device_ui_support.h"
#include "ui/pages/adjust_input_page.h"
#include "ui/pages/ao_test_page.h"
#include "ui/pages/calib_input_page.h"
#include "ui/ui_test_support.h"

namespace {
class CalibScreenshots : public ScaledTiming {
protected:
    void SetUp() override {
        ScaledTiming::SetUp();
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
    }
    void TearDown() override {
        ResetLanguageState();
        ScaledTiming::TearDown();
    }
    CTemporaryProfile m_profile;
};
}  // namespace

TEST_F(CalibScreenshots, PagesInBothLanguages) {
    for (int language : {0, 1}) {
        SetLanguage(language);
        const std::string suffix = language == 0 ? "_en.png" : "_jpn.png";
        {
            SimPolledDevice device("K9U4");
            device.link.sim.SetRegisters(2064, {0xFFE2, 10012, 29, 9985});
            device.Connect();
            CAdjustInputPage page;
            page.Create(static_cast<QWidget*>(nullptr));
            page.UpdateFromDevice(device.devif.GetAdjustInfo(), &device.devif);
            EXPECT_TRUE(SaveScreenshot(page.GetWindow(), "page_130_adjust" + suffix));
        }
        {
            SimPolledDevice device("K9PM");
            device.Connect();
            CCalibInputPage page;
            page.Create(static_cast<QWidget*>(nullptr));
            page.UpdateFromDevice(device.devif.GetCalibInfo(), &device.devif);
            EXPECT_TRUE(SaveScreenshot(page.GetWindow(), "page_131_calib" + suffix));
        }
        {
            SimPolledDevice device("K9TS");
            device.link.sim.SetRegister(2072, 30000);
            device.Connect();
            CAOTestPage page;
            page.Create(static_cast<QWidget*>(nullptr));
            page.UpdateFromDevice(*device.devif.AccessSet());
            page.SetDlgItemText(CAOTestPage::kValue, "12.000");
            EXPECT_TRUE(SaveScreenshot(page.GetWindow(), "page_139_looptest" + suffix));
        }
    }
}

TEST_F(CalibScreenshots, CalibrationDialogs) {
    SetLanguage(1);
    SimCalibLine line("K9TS");
    CInputCalibDialog input(1, line.ascii, &line.modbus);
    RunModal(input, [&] {
        input.SetCurSel(CInputCalibDialog::kInputType, 3);
        input.DispatchSelChange(CInputCalibDialog::kInputType);
        EXPECT_TRUE(SaveScreenshot(input.GetWindow(), "dialog_137_input_calib.png"));
    });
    COutputCalibDialog output(line.ascii, &line.modbus, 3600 * 1000);
    RunModal(output, [&] {
        output.SetCurSel(COutputCalibDialog::kOutputType, 1);
        output.DispatchSelChange(COutputCalibDialog::kOutputType);
        output.DispatchCommand(COutputCalibDialog::kStart0);
        EXPECT_TRUE(SaveScreenshot(output.GetWindow(), "dialog_138_output_calib.png"));
    });
}
