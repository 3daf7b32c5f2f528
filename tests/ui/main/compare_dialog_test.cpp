#include "ui/main/compare_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/device/device_type.h"
#include "model/set/par_type_v.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/common/language.h"
#include "ui/main/main_dialog_support.h"
#include "ui/ui_test_support.h"

namespace {
struct Shown {
    std::string result;
    int rows = 0;
    std::vector<std::string> names;
    std::vector<QColor> column0;
    std::vector<bool> red;
    bool firstMismatchVisible = false;
};

Shown ShowComparison(const CParBase& device, const CParBase& file, const char* screenshot) {
    Shown shown;
    CCompareDialog dialog(device, file);
    RunModalSettled(dialog, [&] {
        EXPECT_TRUE(dialog.IsArranged());
        shown.result = dialog.GetDlgItemText(CCompareDialog::kResultText);
        auto* list = dialog.GetDlgItemAs<CReportListCtrl>(CCompareDialog::kCompareList);
        shown.rows = list->GetItemCount();
        for (int row = 0; row < shown.rows; ++row) {
            shown.names.push_back(list->GetItemText(row, 1));
            QColor text;
            QColor background[4];
            for (int column = 0; column < 4; ++column)
                list->CellColour(row, column, text, background[column]);
            shown.column0.push_back(background[0]);
            shown.red.push_back(background[2] == CCompareDialog::kLightRed &&
                                background[3] == CCompareDialog::kLightRed);
        }
        if (dialog.GetFirstMismatchRow() >= 0) {
            const QRect rect = list->visualRect(list->model()->index(dialog.GetFirstMismatchRow(), 0));
            shown.firstMismatchVisible = list->viewport()->rect().contains(rect);
        }
        std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
        dialog.GetWindow()->grab().save(QString(BRIMLOW_SCREENSHOT_DIR "/") + screenshot);
    });
    return shown;
}

class CompareDialogTest : public testing::Test {
protected:
    void SetUp() override { SetLanguage(0); }
};
}  // namespace

TEST_F(CompareDialogTest, EqualSetsMatchAndShowNeitherVersionsNorHeadingsAsRows) {
    const auto device = DefaultSet(2);
    auto file = DefaultSet(2);
    // Versions are never compared: no file holds them.
    file->SetValueFromString(CParTypeV::kHardware, "9.99", false);
    const Shown shown = ShowComparison(*device, *file, "compare_matching.png");
    EXPECT_EQ(shown.result, "All parameters matching.");
    ASSERT_GT(shown.rows, 10);
    for (int row = 0; row < shown.rows; ++row) EXPECT_FALSE(shown.red[row]) << row;
    for (const std::string& name : shown.names) {
        EXPECT_NE(name, device->GetParamName(CParTypeV::kHardware));
        EXPECT_NE(name, device->GetParamName(CParTypeV::kFirmware));
        EXPECT_NE(name, device->GetParamName(CParTypeV::kHeaderInput));
        // Live values (group 10) lie beyond the first empty group.
        EXPECT_NE(name, device->GetParamName(CParTypeV::kInputLive));
    }
}

TEST_F(CompareDialogTest, DifferencesAreCountedMarkedAndTheFirstIsShown) {
    const auto device = DefaultSet(2);
    auto file = DefaultSet(2);
    file->SetValue(CParTypeV::kDamping, device->GetValue(CParTypeV::kDamping) + 10000, false);
    file->SetValue(CParTypeV::kOutputFineSpan, device->GetValue(CParTypeV::kOutputFineSpan) + 1, false);
    file->SetValueFromString(CParTypeV::kTag, "Boiler 2", false);
    const Shown shown = ShowComparison(*device, *file, "compare_differences.png");
    EXPECT_EQ(shown.result, "3 parameter(s) not matching.");
    std::vector<std::string> red;
    for (int row = 0; row < shown.rows; ++row) {
        if (shown.red[row]) red.push_back(shown.names[row]);
    }
    EXPECT_EQ(red, (std::vector<std::string>{device->GetParamName(CParTypeV::kDamping),
                                             device->GetParamName(CParTypeV::kOutputFineSpan),
                                             device->GetParamName(CParTypeV::kTag)}));
    EXPECT_TRUE(shown.firstMismatchVisible);
    // The first section ("Input") is light green in column 0, the next ("Output") the deeper green.
    EXPECT_EQ(shown.column0.front(), CCompareDialog::kLightGreen);
    const auto output = std::find(shown.names.begin(), shown.names.end(),
                                  device->GetParamName(CParTypeV::kOutputType));
    ASSERT_NE(output, shown.names.end());
    EXPECT_EQ(shown.column0[output - shown.names.begin()], CCompareDialog::kDeeperGreen);
}

TEST_F(CompareDialogTest, AFirstDifferenceFarDownIsScrolledIntoView) {
    const auto device = DefaultSet(2);
    auto file = DefaultSet(2);
    file->SetValueFromString(CParTypeV::kSerial, "S-0042", false);
    const Shown shown = ShowComparison(*device, *file, "compare_scrolled.png");
    EXPECT_EQ(shown.result, "1 parameter(s) not matching.");
    EXPECT_TRUE(shown.firstMismatchVisible);
}
