#include "ui/admin/input_calib_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <string>
#include <vector>

#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "sim/sim_calibration.h"
#include "support/scaled_timing.h"
#include "ui/admin/calib_dialog_support.h"
#include "ui/ui_test_support.h"

namespace {
using Lines = std::vector<std::string>;
// A silent device's reply time-out keeps its length; the pause after it is scaled.
class InputCalibFailureTest : public ScaledTiming {};
}  // namespace

// Only the gain models (thermocouple and RTD) read the references when the dialog opens, and only they
// end the gain setting on Close, chosen or not.
TEST(InputCalibDialog, OpeningAndClosingTalkOnlyForTheGainModels) {
    const struct {
        const char* code;
        int typeId;
        Lines opening;
        int choices;
    } cases[] = {
        {"K9TS", 1, {"G99", "I05", "DV", "DR"}, 7},
        {"K9RS", 2, {"G99", "I05", "DV", "DR"}, 7},
        {"K9PM", 3, {}, 4},
    };
    for (const auto& c : cases) {
        SimCalibLine line(c.code);
        CInputCalibDialog dialog(c.typeId, line.ascii, &line.modbus);
        Lines closing;
        const int result = RunModal(
            dialog,
            [&] {
                EXPECT_EQ(line.LinesSince(0), c.opening) << c.code;
                const bool gain = c.typeId != 3;
                EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kRefVoltage), gain ? "2500.1234" : "");
                EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kRefResistance), gain ? "100.0100" : "");
                EXPECT_EQ(dialog.IsDlgItemEnabled(CInputCalibDialog::kSetRefVoltage), gain);
                EXPECT_EQ(dialog.GetDlgItemAs<QComboBox>(CInputCalibDialog::kInputType)->count(), c.choices);
                EXPECT_EQ(dialog.GetCurSel(CInputCalibDialog::kInputType), 0);
                dialog.DispatchOk();
                EXPECT_TRUE(dialog.GetWindow()->isVisible()) << "Enter does not close it";
                const size_t first = line.Count();
                dialog.DispatchCommand(CInputCalibDialog::kClose);
                closing = line.LinesSince(first);
            },
            true);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(closing, c.typeId == 3 ? Lines{} : Lines{"DG"}) << c.code;
    }
}

TEST(InputCalibDialog, ChoosingATypeSetsTheDeviceAndShowsBothPoints) {
    const struct {
        const char* code;
        int typeId;
        int sel;
        Lines wire;
        bool setEnabled;
    } cases[] = {
        {"K9TS",
         1,
         4,
         {"G01", "I01", "D1", "I10", "D3", "I01", "D0", "G99", "I05", "DG3", "DLR", "DHR"},
         true},
        {"K9PM", 3, 2, {"G99", "I05", "DLR", "DHR"}, true},
        {"K9PM", 3, 0, {}, false},
    };
    for (const auto& c : cases) {
        SimCalibLine line(c.code);
        CInputCalibDialog dialog(c.typeId, line.ascii, &line.modbus);
        RunModal(dialog, [&] {
            const size_t first = line.Count();
            dialog.SetCurSel(CInputCalibDialog::kInputType, c.sel);
            dialog.DispatchSelChange(CInputCalibDialog::kInputType);
            EXPECT_EQ(line.LinesSince(first), c.wire) << c.code << " " << c.sel;
            EXPECT_EQ(dialog.IsDlgItemEnabled(CInputCalibDialog::kSet0), c.setEnabled);
            EXPECT_EQ(dialog.IsDlgItemEnabled(CInputCalibDialog::kSet100), c.setEnabled);
            if (!c.setEnabled) return;
            EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kCount0), "1200");
            EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kMeasured0), "0.0000");
            EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kCount100), "59000");
            EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kMeasured100), "100.0000");
        });
    }
}

// Typed texts go out as they stand, except one with a control character, which would split the line
// into commands of their own: nothing is sent and nothing shown. A store the device refuses changes
// nothing and is reported.
TEST(InputCalibDialog, SetSendsTheTypedTextAndShowsTheAnswer) {
    const struct {
        int edit;
        int button;
        const char* typed;
        Lines wire;
        const char* count;  // shown in the count field (none for the references)
        const char* shown;
        const char* message = "";
    } cases[] = {
        {CInputCalibDialog::kMeasured0,
         CInputCalibDialog::kSet0,
         "0.0",
         {"G99", "I05", "DL0.0"},
         "1234",
         "0.0000"},
        {CInputCalibDialog::kMeasured100,
         CInputCalibDialog::kSet100,
         "99.98",
         {"G99", "I05", "DH99.98"},
         "60000",
         "99.9800"},
        {CInputCalibDialog::kMeasured0, CInputCalibDialog::kSet0, "1.0\rG01", {}, "", "1.0\rG01"},
        // The device refuses a value that is no number: nothing is stored, and the field says nothing else.
        {CInputCalibDialog::kMeasured0,
         CInputCalibDialog::kSet0,
         "abc",
         {"G99", "I05", "DLabc"},
         "",
         "abc",
         "The device refused the command DLabc."},
        {CInputCalibDialog::kRefVoltage,
         CInputCalibDialog::kSetRefVoltage,
         "-",
         {"G99", "I05", "DV-"},
         nullptr,
         "-",
         "The device refused the command DV-."},
        {CInputCalibDialog::kRefVoltage,
         CInputCalibDialog::kSetRefVoltage,
         "2499.5",
         {"G99", "I05", "DV2499.5"},
         nullptr,
         "2499.5000"},
        {CInputCalibDialog::kRefResistance,
         CInputCalibDialog::kSetRefResistance,
         "99\n",
         {},
         nullptr,
         "99\n"},
    };
    for (const auto& c : cases) {
        SimCalibLine line("K9TS");
        CInputCalibDialog dialog(1, line.ascii, &line.modbus);
        RunModal(dialog, [&] {
            dialog.SetCurSel(CInputCalibDialog::kInputType, 1);
            dialog.DispatchSelChange(CInputCalibDialog::kInputType);
            dialog.SetDlgItemText(CInputCalibDialog::kCount0, "");
            dialog.SetDlgItemText(c.edit, c.typed);
            const size_t first = line.Count();
            CMessageBoxRecorder boxes;
            dialog.DispatchCommand(c.button);
            EXPECT_EQ(line.LinesSince(first), c.wire) << c.typed;
            EXPECT_EQ(dialog.GetDlgItemText(c.edit), c.shown) << c.typed;
            if (c.count && c.edit == CInputCalibDialog::kMeasured0) {
                EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kCount0), c.count) << c.typed;
            }
            if (c.count && c.edit == CInputCalibDialog::kMeasured100) {
                EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kCount100), c.count) << c.typed;
            }
            EXPECT_EQ(boxes.texts, *c.message ? Lines{c.message} : Lines{}) << c.typed;
        });
    }
}

// A gain change that fails on the way ends the adjustment mode it started, says so when that fails too,
// and never lets "DG" on closing reach an item other than the gain setting's: it selects that item again
// first. The list then shows the gain in force, here gain 8 from before, or none with the Set buttons
// off where the device may hold another, and a point set goes with the gain shown. Wire of gain 32 (list
// index 6): G01 I01 D1 I10 D5 I01 D0 G99 I05 DG5 DLR DHR, numbered from 0.
TEST_F(InputCalibFailureTest, AFailedGainChangeEndsTheAdjustmentAndShowsTheGainInForce) {
    const std::string notEnded = "\n" + LoadString(kStrAdjustmentNotEnded);
    const struct {
        const char* name;
        size_t from, to;  // the requests of the change that meet the fault
        SimFault fault;
        Lines wire;
        std::string message;
        int shown;  // the list index afterwards
        Lines closing;
        const char* mode;
        const char* gain;
    } cases[] = {
        {"gain write unanswered",
         4,
         4,
         SimFault::Silence(),
         {"G01", "I01", "D1", "I10", "D5", "G01", "I01", "D0"},
         "Receive command response timeout.",
         0,
         {"G99", "I05", "DG"},
         "0",
         "3"},
        {"gain refused",
         4,
         4,
         SimFault::Exception(0),
         {"G01", "I01", "D1", "I10", "D5", "G01", "I01", "D0"},
         "The device refused the command D5.",
         4,
         {"DG"},
         "0",
         "3"},
        {"end of the adjustment refused once",
         6,
         6,
         SimFault::Exception(0),
         {"G01", "I01", "D1", "I10", "D5", "I01", "D0", "G01", "I01", "D0"},
         "The device refused the command D0.",
         0,
         {"G99", "I05", "DG"},
         "0",
         "5"},
        {"refusing everything from the gain write",
         4,
         CSimDevice::kForever,
         SimFault::Exception(0),
         {"G01", "I01", "D1", "I10", "D5", "G01"},
         "The device refused the command D5." + notEnded,
         4,
         {"G01"},
         "1",
         "3"},
        {"gain setting refused",
         9,
         9,
         SimFault::Exception(0),
         {"G01", "I01", "D1", "I10", "D5", "I01", "D0", "G99", "I05", "DG5"},
         "The device refused the command DG5.",
         0,
         {"DG"},
         "0",
         "5"},
    };
    for (const auto& c : cases) {
        SimCalibLine line("K9TS");
        CInputCalibDialog dialog(1, line.ascii, &line.modbus);
        CMessageBoxRecorder boxes;
        Lines closing;
        RunModal(
            dialog,
            [&] {
                dialog.SetCurSel(CInputCalibDialog::kInputType, 4);
                dialog.DispatchSelChange(CInputCalibDialog::kInputType);
                const size_t first = line.Count();
                line.sim.InjectFault(c.fault, first + c.from,
                                     c.to == CSimDevice::kForever ? c.to : first + c.to);
                dialog.SetCurSel(CInputCalibDialog::kInputType, 6);
                dialog.DispatchSelChange(CInputCalibDialog::kInputType);
                EXPECT_EQ(line.LinesSince(first), c.wire) << c.name;
                EXPECT_EQ(boxes.texts, Lines{c.message}) << c.name;
                EXPECT_EQ(dialog.GetCurSel(CInputCalibDialog::kInputType), c.shown) << c.name;
                EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kCount0), c.shown ? "1200" : "") << c.name;
                EXPECT_EQ(dialog.IsDlgItemEnabled(CInputCalibDialog::kSet0), c.shown != 0) << c.name;
                if (!c.shown) SaveScreenshot(dialog.GetWindow(), "dialog_137_gain_unknown.png");
                if (c.shown && std::string(c.mode) == "0") {
                    dialog.SetDlgItemText(CInputCalibDialog::kMeasured0, "0.5");
                    const size_t set = line.Count();
                    dialog.DispatchCommand(CInputCalibDialog::kSet0);
                    EXPECT_EQ(line.LinesSince(set), (Lines{"G99", "I05", "DL0.5"})) << c.name;
                    EXPECT_EQ(line.sim.GetItem(SimCalibration::kGroup,
                                               SimCalibration::Field(SimCalibration::kItemInput, 'G')),
                              "3");
                }
                const size_t closed = line.Count();
                dialog.DispatchCommand(CInputCalibDialog::kClose);
                closing = line.LinesSince(closed);
            },
            true);
        EXPECT_EQ(closing, c.closing) << c.name;
        EXPECT_EQ(line.sim.GetItem(1, CCommInterface::kItemOperatingMode), c.mode) << c.name;
        EXPECT_EQ(line.sim.GetItem(1, 10), c.gain) << c.name;
        // Close tries again to end an adjustment left on, and says when it cannot.
        const Lines messages = std::string(c.mode) == "1"
                                   ? Lines{c.message, "Invalid G-command response." + notEnded}
                                   : Lines{c.message};
        EXPECT_EQ(boxes.texts, messages) << c.name;
    }
}
