// Every window as the user sees it, in both languages: each text has the room its control gives it as it
// is drawn, no control covers another or leaves its window, and what starts in a group box stays in it
// (LayoutFaults, whose own test breaks a template for each fault). Every window is built at the fixed
// size of its template (CDialog::Build, CTabCtrl::PlacePage), so its default size is also its smallest.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "model/device/device_type.h"
#include "model/potentiometer/par_type_pm.h"
#include "model/rtd/par_type_r.h"
#include "model/thermocouple/par_type_t.h"
#include "platform/admin_mode.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "res/dialogs/dialog_138_ids.h"
#include "res/en/dialog_table_en.h"
#include "res/string_ids.h"
#include "sim/sim_model.h"
#include "support/scaled_timing.h"
#include "ui/common/language.h"
#include "ui/admin/calib_dialog_support.h"
#include "ui/admin/input_calib_dialog.h"
#include "ui/admin/output_calib_dialog.h"
#include "ui/common/static_buffer.h"
#include "ui/controls/meter.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/layout_audit.h"
#include "ui/main/compare_dialog.h"
#include "ui/main/main_dialog_support.h"
#include "ui/main/vort_dlg.h"
#include "ui/tables/table_pot_dialog.h"
#include "ui/tables/table_res_dialog.h"
#include "ui/tables/table_tc_dialog.h"
#include "ui/ui_test_support.h"

namespace {
// The faults of every window seen, each with the first scene that showed it.
class CLayoutAudit {
public:
    // `language` and `scene` say where the window was seen; a fault seen again in another scene is
    // reported once, with the first scene that showed it.
    void Audit(const QWidget* window, const std::string& language, const std::string& scene) {
        for (const std::string& fault : LayoutFaults(window)) m_faults.emplace(language + " " + fault, scene);
    }

    const std::map<std::string, std::string>& Faults() const { return m_faults; }

private:
    std::map<std::string, std::string> m_faults;
};

class LayoutAudit : public MainDialogFixture {
protected:
    void TearDown() override {
        std::filesystem::remove(AdminMarkerPath(ProgramPath()));
        SetAdminMode(false);
        MainDialogFixture::TearDown();
    }

    // The main dialog with every device and file tab chosen in turn.
    void AuditMainDialog(CVORTDlg& dialog, const std::string& language, const std::string& scene) {
        for (int device = 0; device < dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->GetItemCount();
             ++device) {
            dialog.SetCurSel(CVORTDlg::kDeviceTab, device);
            dialog.DispatchSelChange(CVORTDlg::kDeviceTab);
            m_audit.Audit(dialog.GetWindow(), language, scene + ", device tab " + std::to_string(device));
            SaveScreenshot(dialog.GetWindow(),
                           "audit_" + language + "_" + scene + "_" + std::to_string(device) + ".png");
        }
        // The device side has no empty band, whichever commands the mode shows.
        const QWidget* upload = dialog.GetDlgItem(CVORTDlg::kUpload);
        EXPECT_LE(LargestEmptyBand(dialog.GetDlgItem(CVORTDlg::kDeviceGroup)), 2 * upload->height())
            << language << " " << scene;
        for (int file = 0; file < dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kFileTab)->GetItemCount(); ++file) {
            dialog.SetCurSel(CVORTDlg::kFileTab, file);
            dialog.DispatchSelChange(CVORTDlg::kFileTab);
            m_audit.Audit(dialog.GetWindow(), language, scene + ", file tab " + std::to_string(file));
        }
    }

    CTemporaryProfile m_profile;
    CLayoutAudit m_audit;
};

// One language each, so that the two run side by side.
class LayoutAuditInLanguage : public LayoutAudit, public ::testing::WithParamInterface<int> {};
}  // namespace

TEST_P(LayoutAuditInLanguage, EveryWindowGivesEachTextRoomAndEachControlItsOwnPlace) {
    const char* languages[] = {"en", "jpn"};
    struct Scene {
        std::string name;
        std::string deviceCode;  // empty: offline
        int fileType;
        bool admin;
        bool transfer;
    };
    std::vector<Scene> scenes = {
        {"offline", "", CDeviceType::kDefaultTypeId, false, false},
        {"admin", "", CDeviceType::kDefaultTypeId, true, false},
        {"uploading", "K9TS", 1, false, true},
    };
    for (const std::string& code : CSimModel::KnownCodes()) {
        scenes.push_back({code, code, CDeviceType::TypeIdOfModel(code), false, false});
    }
    const int language = GetParam();
    const std::string in = languages[language];
    SetLanguage(language);
    // Every template as it stands, before its class fills it in.
    QWidget host;
    for (std::size_t i = 0; i < EnglishDialogCount(); ++i) {
        CDialog raw(EnglishDialogs()[i].id);
        raw.Create(&host);
        m_audit.Audit(raw.GetWindow(), in, "template");
    }
    // Texts that classes put into a template later.
    CDialog output(138);
    output.Create(&host);
    output.SetDlgItemText(Dialog138Ids::kDeviceState, LoadString(kStrAdjustmentStateUnknown));
    m_audit.Audit(output.GetWindow(), in, "device state unknown");
    for (const Scene& scene : scenes) {
        const std::string where = in + "_" + scene.name;
        if (scene.admin) std::ofstream(AdminMarkerPath(ProgramPath())) << "";
        std::optional<CProfiledSim> device;
        if (!scene.deviceCode.empty()) device.emplace(scene.deviceCode);
        std::optional<CGate> gate;
        if (device) gate.emplace(device->sim);
        {
            CDeviceType registry;
            StaticBuffer().PutParameterSet(registry.SetTypeId(scene.fileType)->Clone());
        }
        CVORTDlg dialog;
        RunModalSettled(dialog, [&] {
            if (device) {
                Click(dialog, CVORTDlg::kConnect);
                ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; })) << where;
                // Shown once the poll has filled the meters and the adjustment page has followed the
                // device's record with all its parts.
                const CAdjustInputPage& adjust = dialog.GetAdjustPage();
                ASSERT_TRUE(PumpUntil([&] {
                    return !dialog.GetInputMeter().GetMeter()->GetLine2().empty() &&
                           adjust.IsDlgItemShown(CAdjustInputPage::kInputGroup) ==
                               adjust.IsDlgItemShown(CAdjustInputPage::kInputZero);
                })) << where;
            }
            if (!device) {
                ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOffline; })) << where;
            }
            if (scene.transfer) {
                gate->Close();
                Click(dialog, CVORTDlg::kUpload);
                ASSERT_EQ(dialog.GetState(), CVORTDlg::kStateBusy) << where;
            }
            AuditMainDialog(dialog, in, scene.name);
            if (device && !scene.transfer) {
                Click(dialog, CVORTDlg::kTrendGraph);
                m_audit.Audit(dialog.GetWindow(), in, scene.name + ", trend graph");
                Click(dialog.GetGraphPage(), CGraphPage::kClose);
                ASSERT_TRUE(PumpUntil([&] { return !dialog.IsGraphOpen(); })) << where;
            }
            if (gate) gate->Open();
            ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); })) << where;
        });
        std::filesystem::remove(AdminMarkerPath(ProgramPath()));
    }
    for (const auto& [fault, scene] : m_audit.Faults()) ADD_FAILURE() << fault << " (" << scene << ")";
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LayoutAuditInLanguage, ::testing::Values(0, 1));

// The dialogs outside the main window as their classes fill them: the COM port list, the comparison's
// and the output tables' headings, the calibration dialogs' type lists.
TEST_F(LayoutAudit, EveryDialogFilledByItsClassGivesEachTextRoom) {
    for (int language : {0, 1}) {
        const std::string in = language ? "jpn" : "en";
        SetLanguage(language);
        const auto audit = [&](CDialog& dialog, const std::string& what) {
            RunModalSettled(dialog, [&] { m_audit.Audit(dialog.GetWindow(), in, what); });
        };
        {
            CComSettingDialog dialog(CComPortList("/nonexistent/sys", "/fake/dev"));
            audit(dialog, "sixteen ports");
        }
        CDeviceType registry;
        const std::unique_ptr<CParBase> device = registry.SetTypeId(1)->Clone();
        const std::unique_ptr<CParBase> file = registry.SetTypeId(2)->Clone();
        {
            CCompareDialog dialog(*device, *file);
            audit(dialog, "thermocouple against RTD");
        }
        {
            CParTypePM set;
            CTablePotDialog dialog(set);
            audit(dialog, "default potentiometer");
        }
        {
            CParTypeR set;
            CTableResDialog dialog(set);
            audit(dialog, "default RTD");
        }
        {
            CParTypeT set;
            CTableTCDialog dialog(set);
            audit(dialog, "default thermocouple");
        }
        {
            SimCalibLine line("K9PM");
            CInputCalibDialog dialog(CDeviceType::TypeIdOfModel("K9PM"), line.ascii, &line.modbus);
            audit(dialog, "potentiometer");
        }
        {
            SimCalibLine line("K9RS");
            COutputCalibDialog dialog(line.ascii, &line.modbus);
            audit(dialog, "output");
        }
    }
    for (const auto& [fault, scene] : m_audit.Faults()) ADD_FAILURE() << fault << " (" << scene << ")";
}
