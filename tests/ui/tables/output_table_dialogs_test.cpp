// The output table viewers on real parameter sets.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/potentiometer/par_type_pm.h"
#include "model/rtd/par_type_r.h"
#include "model/thermocouple/par_type_t.h"
#include "platform/c_number.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/tables/table_pot_dialog.h"
#include "ui/tables/table_res_dialog.h"
#include "ui/tables/table_tc_dialog.h"
#include "ui/ui_test_support.h"

namespace {
enum : int32_t { kInput0 = 1, kInput100 = 2, kResistanceRange = 66 };

// Shows the dialog, checks its lists against the rows and writes its screenshot.
void ShowAndCheck(CDialog& dialog, const std::vector<std::pair<int, std::size_t>>& lists, const char* name) {
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    const std::string path = std::string(BRIMLOW_SCREENSHOT_DIR) + "/" + name;
    std::filesystem::remove(path);
    RunModal(dialog, [&] {
        for (const auto& [id, rows] : lists) {
            auto* list = dialog.GetDlgItemAs<CReportListCtrl>(id);
            ASSERT_NE(list, nullptr) << name;
            EXPECT_EQ(static_cast<std::size_t>(list->GetItemCount()), rows) << name;
            EXPECT_EQ(list->GetColumnWidth(0), 0) << name;
            EXPECT_GT(list->GetColumnWidth(1), 40) << name;
        }
        EXPECT_TRUE(dialog.GetWindow()->grab().save(QString::fromStdString(path)));
    });
    EXPECT_TRUE(std::filesystem::exists(path)) << name;
}
}  // namespace

TEST(OutputTables, PotentiometerRowsRunFromMinus15To115PercentThroughTheLinearizer) {
    CParTypePM set;
    const COutputTableRows rows = CTablePotDialog::MakeRows(set);
    ASSERT_EQ(rows.size(), 131U);
    EXPECT_EQ(rows[0][0], "-15");
    EXPECT_EQ(rows[15][0], "0");
    EXPECT_EQ(rows[130][0], "115");
    for (std::size_t r : {0U, 15U, 57U, 115U, 130U}) {
        const int32_t position = (static_cast<int32_t>(r) - 15) * 10000;
        EXPECT_EQ(rows[r][1], FormatC("%.4lf", set.PositionToOutputRegister(position) / 10000.0)) << r;
        EXPECT_EQ(rows[r][2], set.GetValueString(CParTypePM::kOutputTableFirst + static_cast<int32_t>(r)))
            << r;
    }
    CTablePotDialog dialog(set);
    ShowAndCheck(dialog, {{CTablePotDialog::kList, 131}}, "table_pot.png");
}

TEST(OutputTables, RtdRowsSpanTheResistanceRangeAndTheOutputStaysWithinItsLimits) {
    CParTypeR set;
    set.SetValue(kResistanceRange, 1, false);
    const COutputTableRows rows = CTableResDialog::MakeRows(set);
    ASSERT_EQ(rows.size(), 512U);
    EXPECT_EQ(rows[0][0], "0.0000");
    EXPECT_EQ(rows[511][0], "3270.3002");
    EXPECT_EQ(rows[0][2], "1.6000");
    EXPECT_EQ(rows[511][2], "21.6000");
    EXPECT_EQ(rows[200][3], set.GetValueString(CParTypeR::kOutputTableFirst + 200));
    CTableResDialog dialog(set);
    ShowAndCheck(dialog, {{CTableResDialog::kList, 512}}, "table_res.png");
}

TEST(OutputTables, ThermocoupleVoltageAndColdJunctionRows) {
    CParTypeT set;
    ASSERT_EQ(set.GetTableStartVolt(set.GetValue(0)), -6272.0);
    ASSERT_EQ(set.GetTableVoltPeriod(set.GetValue(0)), 2);
    const COutputTableRows voltages = CTableTCDialog::MakeVoltageRows(set);
    ASSERT_EQ(voltages.size(), 512U);
    EXPECT_EQ(voltages[0][0], "-6272");
    EXPECT_EQ(voltages[1][0], "-6144");
    EXPECT_EQ(voltages[0][2], "1.6000");
    const COutputTableRows junction = CTableTCDialog::MakeColdJunctionRows(set);
    ASSERT_EQ(junction.size(), 64U);
    EXPECT_EQ(junction[0][0], "680.0");
    EXPECT_EQ(junction[63][0], "1486.4");
    EXPECT_EQ(junction[10][3], set.GetValueString(CParTypeT::kCjTableFirst + 10));
    CTableTCDialog dialog(set);
    ShowAndCheck(dialog, {{CTableTCDialog::kVoltageList, 512}, {CTableTCDialog::kColdJunctionList, 64}},
                 "table_tc.png");
}

TEST(OutputTables, EqualZeroAndFullScaleInputsShowDashesInsteadOfADivisionByZero) {
    // Reachable through a configuration file, which sets the 0 % input unchecked.
    CParTypeR rtd;
    rtd.SetValue(kInput0, rtd.GetValue(kInput100), false);
    ASSERT_EQ(rtd.GetValue(kInput100), rtd.GetValue(kInput0));
    for (const auto& row : CTableResDialog::MakeRows(rtd)) EXPECT_EQ(row[2], "-----");
    CParTypeT tc;
    tc.SetValue(kInput0, tc.GetValue(kInput100), false);
    ASSERT_EQ(tc.GetValue(kInput100), tc.GetValue(kInput0));
    for (const auto& row : CTableTCDialog::MakeVoltageRows(tc)) EXPECT_EQ(row[2], "-----");
}
