#include "model/rtd/par_type_r.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>

#include "model/hooks/par_editor.h"
#include "platform/admin_mode.h"
#include "platform/c_number.h"
#include "support/table_service_stub.h"
#include "support/thrown_message.h"

namespace {

// A text editor that has committed `text`.
class CTextCommit : public CParEditor {
public:
    explicit CTextCommit(std::string text) : m_text(std::move(text)) {}
    int GetMode() const override { return kTextAccepted; }
    int GetChoiceIndex() const override { return -1; }
    std::string GetText() const override { return m_text; }
    void ShowTextEditor(const std::string&) override {}
    void ShowChoiceEditor(const std::vector<std::string>&, int) override {}

private:
    std::string m_text;
};

TEST(ParTypeRTest, DisplayUnitTexts) {
    const struct {
        int32_t unit;
        int32_t code;
        int32_t value;
        bool withUnit;
        const char* text;
    } cases[] = {
        {1, CParTypeV::kInput0, 0, false, "32.0000"},
        {1, CParTypeV::kInput100, 1000000, true, "212.0000 (deg F)"},
        {1, CParTypeV::kInput0, -400000, false, "-40.0000"},
        {2, CParTypeV::kInput0, 0, false, "273.1500"},
        {2, CParTypeR::kCustomStart, -2731500, true, "0.0000 (K)"},
        {0, CParTypeV::kInput100, 1000000, true, "100.0000 (deg C)"},
        {1, CParTypeR::kCustomStep, 5, false, "9.0"},
        {1, CParTypeR::kCustomStep, 13, true, "23.4 (deg F)"},
        {0, CParTypeR::kCustomStep, 5, true, "5 (deg C)"},
        // The device's Ohm unit leaves temperatures in degC and names degC in brackets.
        {3, CParTypeV::kInput100, 1000000, true, "100.0000 (deg C)"},
        {0, CParTypeV::kInputFineZero, 12345, true, "+1.2345 (Ohm)"},
        {0, CParTypeV::kInputFineZero, 12345, false, "1.2345"},
        {0, CParTypeV::kInputFineZero, -12345, true, "-1.2345 (Ohm)"},
        {0, CParTypeR::kResistanceFirst + 3, 1000000, true, "100.0000 (Ohm)"},
        {0, CParTypeR::kBurnoutValue, 230000, true, "23.0000 (mA)"},
        {0, CParTypeR::kDisplayUnit, 1, false, "deg F"},
        {0, CParTypeR::kDisplayUnit, 3, false, ""},
        {0, CParTypeV::kInputType, 6, false, "RTD Custom-RTD (5k Ohm)"},
        {0, CParTypeV::kInputType, 7, false, ""},
        {0, CParTypeV::kResistanceRange, 2, false, "0-500 Ohm"},
        {0, CParTypeR::kSensorWires, 2, false, "4 wires"},
        {0, CParTypeR::kCustomType, 1, false, "CVD coefficient"},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        set.SetValue(CParTypeR::kDisplayUnit, c.unit, false);
        EXPECT_EQ(set.FormatValue(c.code, c.value, c.withUnit), c.text) << c.code << " unit " << c.unit;
    }
}

TEST(ParTypeRTest, TypedValuesInDisplayUnit) {
    const struct {
        int32_t unit;
        int32_t code;
        const char* typed;
        int32_t stored;
    } cases[] = {
        {1, CParTypeV::kInput100, "212", 1000000},
        {1, CParTypeV::kInput0, "32", 0},
        {1, CParTypeV::kInput0, "-40", -400000},
        {2, CParTypeV::kInput0, "273.15", 0},
        {2, CParTypeR::kCustomStart, "173.15", -1000000},
        {0, CParTypeV::kInput100, "150.5", 1505000},
        {1, CParTypeR::kCustomStep, "9", 5},
        {1, CParTypeR::kCustomStep, "10", 5},
        {1, CParTypeR::kCustomStep, "23.4", 13},
        {0, CParTypeR::kCustomStep, "7", 7},
        {0, CParTypeV::kInputFineZero, "0.57", 5700},
        {0, CParTypeV::kInputFineZero, "-19.99", -199900},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        set.SetValue(CParTypeR::kDisplayUnit, c.unit, false);
        set.SetValueFromItem(c.code, CTextCommit(c.typed));
        EXPECT_EQ(set.GetValue(c.code), c.stored) << c.code << " typed " << c.typed << " unit " << c.unit;
    }
}

TEST(ParTypeRTest, EveryStepSurvivesItsOwnDegFDisplay) {
    CParTypeR set;
    set.SetValue(CParTypeR::kDisplayUnit, 1, false);
    for (int32_t step = 1; step <= 50; ++step) {
        set.SetValueFromItem(CParTypeR::kCustomStep,
                             CTextCommit(set.FormatValue(CParTypeR::kCustomStep, step, false)));
        EXPECT_EQ(set.GetValue(CParTypeR::kCustomStep), step);
    }
}

TEST(ParTypeRTest, DisplayUnitSevenRoundTrip) {
    CParTypeR set;
    set.SetValue(CParTypeR::kDisplayUnit, 3, false);
    EXPECT_EQ(set.GetValueString(CParTypeR::kDisplayUnit), "7");
    CParTypeR loaded;
    loaded.SetValueFromString(CParTypeR::kDisplayUnit, "7", false);
    EXPECT_EQ(loaded.GetValue(CParTypeR::kDisplayUnit), 7);
    EXPECT_EQ(loaded.GetInputUnit(), "Ohm");
    EXPECT_EQ(set.GetInputUnit(), "Ohm");
    set.SetValue(CParTypeR::kDisplayUnit, 2, false);
    EXPECT_EQ(set.GetInputUnit(), "K");
    EXPECT_EQ(set.GetSensorUnit(), "Ohm");
}

TEST(ParTypeRTest, InputTypeChoice) {
    const struct {
        int32_t customType;
        int32_t points;
        int32_t type;
        bool online;
        int32_t range;
        int32_t input0;
        int32_t input100;
    } cases[] = {
        {0, 11, 1, false, 2, -2000000, 5100000},  {0, 11, 3, false, 0, -2000000, 8500000},
        {0, 11, 2, false, 1, -2000000, 8500000},  {0, 11, 5, false, 1, -500000, 500000},
        {0, 1, 5, false, 1, -500000, -400000},    {0, 0, 4, false, 2, -500000, -400000},
        {1, 11, 6, false, 0, -2000000, 10000000}, {0, 11, 1, true, 2, 0, 1000000},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        set.SetValue(CParTypeR::kCustomType, c.customType, false);
        set.SetValue(CParTypeR::kCustomStart, -500000, true);
        set.SetValue(CParTypeR::kCustomStep, 10, true);
        set.SetValue(CParTypeR::kCustomPoints, c.points, false);
        set.SetOnline(c.online);
        set.SetValue(CParTypeV::kInputType, c.type, false);
        EXPECT_EQ(set.GetValue(CParTypeV::kResistanceRange), c.range) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeV::kInput0), c.input0) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeV::kInput100), c.input100) << c.type;
    }
}

TEST(ParTypeRTest, CustomTableEndSaturates) {
    // A file's start, step and count at any value: the end saturates and nothing overflows.
    const struct {
        int32_t start;
        int32_t step;
        int32_t points;
        int32_t end;
    } cases[] = {
        {2000000000, 50, 2000000000, INT32_MAX},
        {0, INT32_MAX, INT32_MAX, INT32_MAX},
        {0, INT32_MIN, INT32_MAX, INT32_MIN},
        {-500000, 10, INT32_MIN, -400000},
        {-500000, 10, 0, -400000},
        {-500000, 10, 300, 29400000},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        set.SetValue(CParTypeR::kCustomStart, c.start, false);
        set.SetValue(CParTypeR::kCustomStep, c.step, false);
        set.SetValue(CParTypeR::kCustomPoints, c.points, false);
        set.SetValue(CParTypeV::kInputType, 4, false);
        EXPECT_EQ(set.GetValue(CParTypeV::kInput100), c.end) << c.step << " " << c.points;
    }
}

TEST(ParTypeRTest, RangeRules) {
    const struct {
        int32_t code;
        int32_t value;
        bool check;
        const char* message;  // null: accepted
    } cases[] = {
        {CParTypeR::kBurnoutValue, 37499, true,
         "Output value at burnout should be a from 3.7500-3.8000 or 21.5000-23.0000. "},
        {CParTypeR::kBurnoutValue, 230001, true,
         "Output value at burnout should be a from 3.7500-3.8000 or 21.5000-23.0000. "},
        {CParTypeR::kBurnoutValue, 230001, false, nullptr},
        {CParTypeR::kBurnoutValue, 150000, true,
         "Output value at burnout should be a from 3.7500-3.8000 or 21.5000-23.0000. "},
        {CParTypeR::kBurnoutValue, 215000, false, nullptr},
        {CParTypeR::kBurnoutValue, 38000, false, nullptr},
        {CParTypeR::kOutputHigh, 199999, true, "Output high limit should be a from 20.0000 to 21.5000. "},
        {CParTypeR::kOutputLow, 40001, true, "Output low limit should be a from 3.8000 to 4.0000. "},
        {CParTypeR::kOutputLow, 40001, false, nullptr},
        {CParTypeV::kInputType, 7, true,
         "Input type should be a from RTD Pt100 (JIS'97,IEC) to RTD Custom-RTD (5k Ohm). "},
        {CParTypeV::kInputType, 7, false, nullptr},
        {CParTypeR::kSensorWires, 3, true, "Sensor wires should be a from 2 wires to 4 wires. "},
        {CParTypeR::kDisplayUnit, -1, true, "Temperature unit should be a from deg C to K. "},
        {CParTypeR::kCustomPoints, 301, true, "Custom RTD points should be a from 2 to 300. "},
        {CParTypeR::kCustomPoints, 1000, false, nullptr},
        {CParTypeR::kCustomStep, 51, true, "Custom RTD step should be a from 1 to 50. "},
        {CParTypeR::kCustomStart, 10000001, true,
         "Custom RTD start should be a from -300.0000 to 1000.0000. "},
        {CParTypeR::kResistanceFirst + 2, 300000001, true, "R[2] should be a from 0.0000 to 30000.0000. "},
        {CParTypeV::kInput0, 1000000, true, "0% input should be a from -252.5000 to 99.9999. "},
        {CParTypeV::kInputFineZero, 200001, true,
         "Input fine zero adjust. should be a from -20.0000 to 20.0000. "},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        const int32_t before = set.GetValue(c.code);
        if (c.message) {
            EXPECT_EQ(ThrownMessage([&] { set.SetValue(c.code, c.value, c.check); }), c.message) << c.code;
            EXPECT_EQ(set.GetValue(c.code), before) << c.code;
        } else {
            set.SetValue(c.code, c.value, c.check);
            EXPECT_EQ(set.GetValue(c.code), c.value) << c.code;
        }
    }
}

TEST(ParTypeRTest, StoredTexts) {
    CParTypeR set;
    set.SetValueFromString(CParTypeR::kCvdFirst + 1, "0.0039083", false);
    EXPECT_EQ(set.GetValue(CParTypeR::kCvdFirst + 1), std::bit_cast<int32_t>(0.0039083f));
    EXPECT_EQ(set.GetValueString(CParTypeR::kCvdFirst + 1), "0.0039083");
    set.SetValueFromString(CParTypeR::kCvdFirst, "1e300", false);
    EXPECT_EQ(set.GetValue(CParTypeR::kCvdFirst), 0);
    set.SetValueFromString(CParTypeR::kResistanceFirst + 299, "3999.9999", false);
    EXPECT_EQ(set.GetValue(CParTypeR::kResistanceLast), 39999999);
    EXPECT_EQ(set.GetValueString(CParTypeR::kResistanceLast), "3999.9999");
    EXPECT_EQ(set.GetParamName(CParTypeR::kResistanceLast), "R[299]");
    set.SetValueFromString(CParTypeR::kSensorWires, "2 wires", false);
    EXPECT_EQ(set.GetValue(CParTypeR::kSensorWires), 2);
    EXPECT_EQ(set.GetValueString(CParTypeR::kBurnoutValue), "23.0000");
    EXPECT_EQ(set.GetValueString(CParTypeR::kOutputTableFirst), "0.0000");
    EXPECT_EQ(set.GetValueString(CParTypeR::kRtdResistance), "0.0000");
    EXPECT_EQ(set.GetValueString(CParTypeV::kInputLive), "0.000deg C, 0.00%");
    // Stored texts stay in degC whatever the display unit.
    set.SetValue(CParTypeR::kDisplayUnit, 1, false);
    EXPECT_EQ(set.GetValueString(CParTypeV::kInput100), "100.0000");
}

TEST(ParTypeRTest, GroupsRowsAndStates) {
    CParTypeR set;
    EXPECT_EQ(set.GetParamCount(0), 16);
    EXPECT_EQ(set.GetParamCount(1), 5);
    EXPECT_EQ(set.GetParamCount(2), 304);
    EXPECT_EQ(set.GetParamCount(3), 5);
    EXPECT_EQ(set.GetParamCount(4), 0);
    EXPECT_EQ(set.GetParamCount(10), 9);
    EXPECT_EQ(set.GetParamId(2, 3), CParTypeR::kCustomPoints);
    EXPECT_EQ(set.GetParamId(2, 4), CParTypeR::kResistanceFirst);
    EXPECT_EQ(set.GetParamId(2, 303), CParTypeR::kResistanceLast);
    EXPECT_EQ(set.GetParamId(0, 2), CParTypeR::kSensorWires);
    EXPECT_EQ(set.GetParamName(CParTypeR::kRtdResistance), "RTD resistance");
    set.SetValue(CParTypeR::kCustomPoints, 10, true);
    EXPECT_EQ(set.GetParamState(CParTypeR::kResistanceFirst + 9), kParText);
    EXPECT_EQ(set.GetParamState(CParTypeR::kResistanceFirst + 10), kParReadOnly);
    EXPECT_EQ(set.GetParamState(CParTypeR::kCustomStart), kParText);
    EXPECT_EQ(set.GetParamState(CParTypeR::kCvdFirst), kParReadOnly);
    EXPECT_EQ(set.GetParamState(CParTypeR::kOutputTableFirst + 5), kParReadOnly);
    set.SetValue(CParTypeR::kCustomType, 1, false);
    EXPECT_EQ(set.GetParamState(CParTypeR::kResistanceFirst), kParReadOnly);
    EXPECT_EQ(set.GetParamState(CParTypeR::kCustomPoints), kParReadOnly);
    EXPECT_EQ(set.GetParamState(CParTypeR::kCvdLast), kParText);
    EXPECT_EQ(set.GetParamState(CParTypeV::kInputType), kParChoiceFileOnly);
}

TEST(ParTypeRTest, IdentityAndCopy) {
    CParTypeR universal(5);
    EXPECT_EQ(universal.GetModelCode(), "K9U1");
    EXPECT_EQ(universal.GetValueString(CParTypeV::kModel), "K9U");
    CParTypeR rtd;
    EXPECT_EQ(rtd.GetModelCode(), "K9R");
    EXPECT_EQ(rtd.GetValueString(CParTypeV::kModel), "K9R");
    EXPECT_EQ(rtd.GetProgress(), 0);

    rtd.SetValue(CParTypeR::kDisplayUnit, 2, false);
    rtd.SetValue(CParTypeR::kCustomPoints, 5, false);
    rtd.SetValue(CParTypeR::kResistanceFirst + 4, 1234567, false);
    rtd.SetValue(CParTypeR::kCvdLast, 77, false);
    const auto copy = rtd.CreateInstance();
    copy->CopyFrom(rtd);
    for (int32_t code : rtd.GetWalkCodes())
        EXPECT_EQ(copy->GetValueString(code), rtd.GetValueString(code)) << code;
    EXPECT_EQ(copy->GetValue(CParTypeR::kCvdLast), 77);
}

TEST(ParTypeRTest, CustomTableEditor) {
    CTableServiceStub service;
    CParTypeR set;
    set.SetValue(CParTypeR::kCustomStart, -2345600, false);
    set.SetValue(CParTypeR::kCustomStep, 3, false);
    set.SetValue(CParTypeR::kCustomPoints, 300, false);
    for (int32_t i = 0; i < 300; ++i)
        set.SetValue(CParTypeR::kResistanceFirst + i, 1000000 + i * 3571 + 29, false);
    set.SetValue(CParTypeR::kDisplayUnit, 1, false);

    // Accepting the table unchanged changes nothing.
    set.EditTable(2, 0);
    EXPECT_EQ(service.shownUnit, 1);
    EXPECT_EQ(service.shownTable.values.size(), 300u);
    EXPECT_EQ(set.GetValue(CParTypeR::kCustomStart), -2345600);
    for (int32_t i = 0; i < 300; ++i)
        ASSERT_EQ(set.GetValue(CParTypeR::kResistanceFirst + i), 1000000 + i * 3571 + 29) << i;

    // A longer table is cut to 300 points; a shorter one clears the rest.
    CCustomSensorTable longer{12.5, 4, std::vector<double>(400, 50.0)};
    service.answerTable = &longer;
    set.EditTable2(2, 0);
    EXPECT_EQ(set.GetValue(CParTypeR::kCustomPoints), 300);
    EXPECT_EQ(set.GetValue(CParTypeR::kCustomStart), 125000);
    EXPECT_EQ(set.GetValue(CParTypeR::kCustomStep), 4);
    CCustomSensorTable shorter{0.0, 1, {0.29, 100.0}};
    service.answerTable = &shorter;
    set.EditTable(2, 0);
    EXPECT_EQ(set.GetValue(CParTypeR::kCustomPoints), 2);
    EXPECT_EQ(set.GetValue(CParTypeR::kResistanceFirst), 2900);
    EXPECT_EQ(set.GetValue(CParTypeR::kResistanceFirst + 2), 0);

    // Cancelled: nothing changes.
    service.accept = false;
    service.answerTable = &longer;
    set.EditTable(2, 0);
    EXPECT_EQ(set.GetValue(CParTypeR::kCustomPoints), 2);

    set.EditTable(2, 1);
    EXPECT_EQ(service.rtdViews, 1);
    set.EditTable(0, 1);
    EXPECT_EQ(service.rtdViews, 1);
}

TEST(ParTypeRTest, TableTitles) {
    CParTypeR set;
    SetAdminMode(false);
    EXPECT_EQ(set.GetTableTitle(2, 0), "Table File");
    EXPECT_EQ(set.GetTableTitle(2, 1), "");
    SetAdminMode(true);
    EXPECT_EQ(set.GetTableTitle(2, 1), "RES Table ");
    EXPECT_EQ(set.GetTableTitle(0, 1), "");
    SetAdminMode(false);
}

TEST(ParTypeRTest, ConversionWithAnyStoredPointCount) {
    CParTypeR set;
    set.SetValue(CParTypeR::kCustomStart, -500000, false);
    set.SetValue(CParTypeR::kCustomStep, 10, false);
    for (int32_t i = 0; i < 300; ++i)
        set.SetValue(CParTypeR::kResistanceFirst + i, 800000 + i * 200000, false);
    const struct {
        int32_t points;
        double resistance;
        double degC;
    } cases[] = {
        {3, 90.0, -45.0}, {0, 90.0, -50.0}, {1, 500.0, -50.0}, {301, 1e9, 2940.0}, {-7, 90.0, -50.0},
    };
    for (const auto& c : cases) {
        set.SetValue(CParTypeR::kCustomPoints, c.points, false);
        EXPECT_NEAR(set.ResistanceToTemperature(5, c.resistance), c.degC, 1e-9) << c.points;
    }
    EXPECT_NEAR(set.ResistanceToTemperature(0, 119.20), 49.487, 5e-4);
    EXPECT_DOUBLE_EQ(set.ResistanceToTemperature(-3, 100.0), -50.0);
}

}  // namespace
