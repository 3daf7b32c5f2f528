#include "ui/admin/input_calib_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <string>
#include <vector>

#include "ui/admin/calib_dialog_support.h"
#include "ui/ui_test_support.h"

namespace {
using Lines = std::vector<std::string>;
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
// into commands of their own: nothing is sent and nothing shown. A reply that does not parse changes
// nothing either.
TEST(InputCalibDialog, SetSendsTheTypedTextAndShowsTheAnswer) {
    const struct {
        int edit;
        int button;
        const char* typed;
        Lines wire;
        const char* count;  // shown in the count field (none for the references)
        const char* shown;
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
        {CInputCalibDialog::kMeasured0, CInputCalibDialog::kSet0, "abc", {"G99", "I05", "DLabc"}, "", "abc"},
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
            EXPECT_TRUE(boxes.texts.empty());
        });
    }
}
