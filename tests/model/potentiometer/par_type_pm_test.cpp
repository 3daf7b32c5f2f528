#include "model/potentiometer/par_type_pm.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>

#include "support/table_service_stub.h"
#include "support/temp_folder.h"
#include "support/thrown_message.h"

namespace {

TEST(ParTypePMTest, DefaultPointsMapToThemselves) {
    CParTypePM set;
    const struct {
        int32_t position;
        int32_t reg;
    } cases[] = {
        {-150000, 4000}, {-300000, 4000}, {0, 10000}, {1000000, 50000}, {1150000, 56000}, {5000000, 56000},
    };
    for (const auto& c : cases) EXPECT_EQ(set.PositionToOutputRegister(c.position), c.reg) << c.position;
}

TEST(ParTypePMTest, RangeRules) {
    const struct {
        int32_t input0;
        int32_t code;
        int32_t value;
        bool check;
        int32_t stored;       // when accepted
        const char* message;  // null: accepted
    } cases[] = {
        {0, CParTypeV::kPointFirst, 155000, true, 150000, nullptr},
        {0, CParTypeV::kPointFirst, -155000, true, 0, "X[0] should be a from -15 to 115. "},
        {0, CParTypeV::kPointFirst, -155000, false, -150000, nullptr},
        {0, CParTypeV::kPointFirst + 1, -155000, true, -155000,
         "Y[0] should be a from -15.0000 to 115.0000. "},
        {0, CParTypeV::kPointFirst + 1, 123456, true, 123456, nullptr},
        {0, CParTypeV::kPointFirst, 1150001, true, 0, "X[0] should be a from -15 to 115. "},
        {0, CParTypeV::kPointFirst + 2, 1150001, false, 1150000, nullptr},
        {0, CParTypeV::kInput0, 1000000, true, 0, "0% input should be a from -15.0000 to 99.9999. "},
        {0, CParTypeV::kInput0, 1200000, false, 1200000, nullptr},
        {200000, CParTypeV::kInput100, 200000, true, 0, "100% input should be a from 20.0001 to 115.0000. "},
        {200000, CParTypeV::kInput100, 200001, true, 200001, nullptr},
        {200000, CParTypeV::kInput100, 100000, false, 100000, nullptr},
        {0, CParTypePM::kBurnoutValue, 37499, true, 0,
         "Output value at burnout should be a from 3.7500-3.8000 or 21.5000-23.0000. "},
        {0, CParTypePM::kBurnoutValue, 37499, false, 37499, nullptr},
        {0, CParTypePM::kOutputHigh, 215001, true, 0,
         "Output high limit should be a from 20.0000 to 21.5000. "},
        {0, CParTypePM::kOutputHigh, 0, false, 0, nullptr},
        {0, CParTypePM::kOutputLow, 37999, true, 0, "Output low limit should be a from 3.8000 to 4.0000. "},
        {0, CParTypeV::kInputType, 2, true, 0, " should be a from DC 0 - 50mA to DC -1000 - +1000mV. "},
        {0, CParTypeV::kInputType, 3, false, 3, nullptr},
        {0, CParTypePM::kBurnout, 2, true, 0, "Burnout should be a from None to Output fixed value. "},
    };
    for (const auto& c : cases) {
        CParTypePM set;
        set.SetValue(CParTypeV::kInput0, c.input0, true);
        const int32_t before = set.GetValue(c.code);
        if (c.message) {
            EXPECT_EQ(ThrownMessage([&] { set.SetValue(c.code, c.value, c.check); }), c.message) << c.code;
            EXPECT_EQ(set.GetValue(c.code), before) << c.code;
        } else {
            set.SetValue(c.code, c.value, c.check);
            EXPECT_EQ(set.GetValue(c.code), c.stored) << c.code;
        }
    }
}

TEST(ParTypePMTest, Texts) {
    CParTypePM set;
    set.SetValue(CParTypeV::kPointFirst + 3, 501234, false);
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {
        {CParTypeV::kPointFirst, "-15"},
        {CParTypeV::kPointFirst + 3, "50.1234"},
        {CParTypePM::kBurnout, "1"},
        {CParTypePM::kBurnoutValue, "23.0000"},
        {CParTypePM::kOutputTableFirst, "0.0000"},
        {CParTypePM::kPresentPosition, "0.0000"},
        {CParTypeV::kInput100, "100.0000"},
        {CParTypeV::kModel, "K9PM"},
        {CParTypeV::kInputLive, "0.0000%, 0.0000%"},
    };
    for (const auto& c : cases) EXPECT_EQ(set.GetValueString(c.code), c.text) << c.code;
    EXPECT_EQ(set.FormatValue(CParTypePM::kBurnout, 0, false), "None");
    EXPECT_EQ(set.FormatValue(CParTypePM::kBurnout, 2, false), "");
    EXPECT_EQ(set.FormatValue(CParTypePM::kOutputLow, 38000, true), "3.8000 (mA)");
    EXPECT_EQ(set.FormatRawValue(CParTypeV::kPointFirst, 999), "-15");
    EXPECT_EQ(set.GetInputUnit(), "%");
    EXPECT_EQ(set.GetSensorUnit(), "%");
    set.SetValueFromString(CParTypePM::kBurnout, "0", false);
    EXPECT_EQ(set.GetValue(CParTypePM::kBurnout), 0);
}

TEST(ParTypePMTest, GroupsAndStepTotal) {
    CParTypePM set;
    EXPECT_EQ(set.GetModelCode(), "K9PM");
    EXPECT_EQ(set.GetParamCount(0), 13);
    EXPECT_EQ(set.GetParamCount(1), 3);
    EXPECT_EQ(set.GetParamCount(2), 204);
    EXPECT_EQ(set.GetParamCount(3), 5);
    EXPECT_EQ(set.GetParamCount(4), 0);
    EXPECT_EQ(set.GetParamId(2, 1), CParTypeV::kPointCount);
    EXPECT_EQ(set.GetParamId(2, 2), CParTypeV::kPointFirst);
    EXPECT_EQ(set.GetParamId(2, 203), CParTypeV::kPointLast);
    EXPECT_EQ(set.GetParamId(0, 4), CParTypeV::kLinearization);
    double low = 0;
    double high = 0;
    set.GetInputAdjustLimits(low, high);
    EXPECT_EQ(low, -1.5);
    EXPECT_EQ(high, 1.5);
    EXPECT_EQ(set.GetInputAdjustScale(), 1000);
    // Choosing input type 0, as a file load does, loads the position defaults.
    set.SetValue(CParTypeV::kInput0, 100000, true);
    set.SetValue(CParTypeV::kInputType, 0, false);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput0), 0);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput100), 1000000);
}

TEST(ParTypePMTest, TableEditorKeepsOutputsInRange) {
    CTableServiceStub service;
    CParTypePM set;
    const std::vector<CTablePoint> answer{{-15.0, -40.0}, {50.29, 50.29}, {115.0, 300.0}};
    service.answerPoints = &answer;
    set.EditTable(2, 0);
    ASSERT_EQ(service.shownPoints.size(), 3u);
    EXPECT_EQ(service.shownPoints[1].y, 50.0);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointCount), 3);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 1), -150000);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 2), 500000);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 3), 502900);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 5), 1150000);
    EXPECT_EQ(set.PositionToOutputRegister(-150000), 4000);

    // Cancelling changes nothing, even for points loaded out of range.
    set.SetValue(CParTypeV::kPointFirst + 5, 5000000, false);
    service.accept = false;
    set.EditTable(2, 0);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 5), 5000000);

    set.EditTable(2, 1);
    set.EditTable2(2, 1);
    EXPECT_EQ(service.potViews, 1);
}

// Positions a table file gives with fractions are kept as a saved file and the device give them back:
// the table in memory, the one reloaded from its file and the output table computed from them agree.
TEST(ParTypePMTest, AcceptedTableIsTheOneItsFileLoadsBack) {
    CTableServiceStub service;
    CParTypePM set;
    const std::vector<CTablePoint> answer{{-15.0, -15.0}, {-0.5, 2.0},       {12.5, 30.0},
                                          {12.75, 31.0},  {60.999, 70.1234}, {115.0, 115.0}};
    service.answerPoints = &answer;
    set.EditTable(2, 0);
    const int32_t expectedX[] = {-150000, 0, 120000, 120000, 600000, 1150000};
    for (size_t i = 0; i < std::size(expectedX); ++i)
        EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 2 * static_cast<int32_t>(i)), expectedX[i]) << i;

    const CTempFolder dir;
    set.SaveToFile(dir / "pm.cfg");
    CParTypePM loaded;
    loaded.LoadFromFile(dir / "pm.cfg");
    for (int32_t code : set.GetWalkCodes()) EXPECT_EQ(loaded.GetValue(code), set.GetValue(code)) << code;
    for (int32_t at = -150000; at <= 1150000; at += 10000)
        EXPECT_EQ(loaded.PositionToOutputRegister(at), set.PositionToOutputRegister(at)) << at;
}

TEST(ParTypePMTest, Copy) {
    CParTypePM set;
    set.SetValue(CParTypePM::kBurnout, 0, false);
    set.SetValue(CParTypeV::kPointFirst + 9, 777, false);
    set.SetValue(CParTypePM::kOutputLow, 39000, false);
    const auto copy = set.CreateInstance();
    copy->CopyFrom(set);
    for (int32_t code : set.GetWalkCodes())
        EXPECT_EQ(copy->GetValueString(code), set.GetValueString(code)) << code;
}

}  // namespace
