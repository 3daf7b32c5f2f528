#include "model/thermocouple/par_type_t.h"

#include <gtest/gtest.h>

#include <string>

#include "model/hooks/par_editor.h"
#include "support/par_probe.h"
#include "support/transfer_probe.h"

namespace {

enum Type { K, E, J, T, B, R, S, C, D, N, U, L, Custom100, Custom50 };

// A text editor that committed `text`, or a choice editor that committed `index`.
class CommittedEditor : public CParEditor {
public:
    CommittedEditor(int mode, std::string text, int index = -1)
        : m_mode(mode), m_text(std::move(text)), m_index(index) {}
    int GetMode() const override { return m_mode; }
    int GetChoiceIndex() const override { return m_index; }
    std::string GetText() const override { return m_text; }
    void ShowTextEditor(const std::string&) override {}
    void ShowChoiceEditor(const std::vector<std::string>& items, int) override { shown = items; }
    std::vector<std::string> shown;

private:
    int m_mode;
    std::string m_text;
    int m_index;
};

TEST(ParTypeT, DefaultsAndStepTotal) {
    CParTypeT set;
    EXPECT_EQ(set.GetModelCode(), "K9TS");
    EXPECT_EQ(set.GetTypeId(), 1);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput0), 0);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput100), 1000000);
    EXPECT_EQ(set.GetValue(CParTypeT::kStartVolt), -6272);
    EXPECT_EQ(set.GetValue(CParTypeT::kVoltPeriod), 2);
    EXPECT_EQ(set.GetValue(CParTypeT::kVoltageFirst + 1), 1);
    EXPECT_EQ(set.GetParamCount(kGroupTable), 304);
    EXPECT_EQ(set.GetParamId(kGroupTable, 4), CParTypeT::kVoltageFirst);
    EXPECT_EQ(set.GetParamId(kGroupTable, 303), CParTypeT::kVoltageLast);
    EXPECT_EQ(set.GetParamName(CParTypeT::kVoltageFirst + 7), "V[7]");
    CParTypeT u0(4);
    EXPECT_EQ(u0.GetModelCode(), "K9U0");
}

TEST(ParTypeT, InputTypeSetsDerivedValuesAndRange) {
    struct Case {
        int32_t type;
        int32_t range, start, period, in0, in100;
    };
    const Case cases[] = {
        {B, 1, -32, 0, 4000000, 18200000},
        {K, 0, -6272, 2, -1800000, 13720000},
        {L, 0, -6656, 2, -1000000, 9000000},
        {S, 1, -448, 1, -500000, 17600000},
    };
    for (const Case& c : cases) {
        CParTypeT set;
        set.SetValue(CParTypeT::kColdJunction, 250000, true);
        set.SetValue(CParTypeV::kInputType, c.type, true);
        EXPECT_EQ(set.GetValue(CParTypeT::kVoltageRange), c.range) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeT::kStartVolt), c.start) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeT::kVoltPeriod), c.period) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeT::kColdJunction), 0) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeV::kInput0), c.in0) << c.type;
        EXPECT_EQ(set.GetValue(CParTypeV::kInput100), c.in100) << c.type;
    }
}

TEST(ParTypeT, CustomTypeTakesItsRangeFromTheTable) {
    CParTypeT set;
    set.SetValue(CParTypeT::kCustomStart, -1000000, true);
    set.SetValue(CParTypeT::kCustomStep, 10, true);
    set.SetValue(CParTypeT::kCustomPoints, 50, true);
    set.SetValue(CParTypeV::kInputType, Custom100, false);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput0), -1000000);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput100), 3900000);
    // Saturated instead of wrapping: a file's huge step and count.
    set.SetValue(CParTypeT::kCustomStep, 2000000000, false);
    set.SetValue(CParTypeT::kCustomPoints, 2000000000, false);
    set.SetValue(CParTypeV::kInputType, Custom50, false);
    EXPECT_EQ(set.GetValue(CParTypeV::kInput100), INT32_MAX);
    // A span of 0 is allowed for the custom types.
    EXPECT_NO_THROW(set.SetValue(CParTypeV::kInput100, set.GetValue(CParTypeV::kInput0), false));
}

TEST(ParTypeT, CustomTableChangesRecomputeOnlyWhatTheyShould) {
    CParTypeT set;
    set.SetValue(CParTypeV::kInputType, Custom100, false);
    set.SetValue(CParTypeT::kCustomStep, 10, true);
    set.SetValue(CParTypeT::kCustomPoints, 3, true);
    set.SetValue(CParTypeT::kVoltageFirst + 1, 4000, true);
    set.SetValue(CParTypeT::kVoltageFirst + 2, 10000, true);
    set.SetValue(CParTypeT::kColdJunction, 150000, true);
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), 7000);  // 15 degC on the table: 700.0 uV
    set.SetValue(CParTypeT::kCustomStep, 20, true);
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), 3000);
    set.SetValue(CParTypeT::kColdJunction, 300000, true);
    set.SetValue(CParTypeT::kVoltageFirst + 2, 20000, true);
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), 12000);
    // The point count alone recomputes nothing: 30 degC would lie beyond a two-point table.
    set.SetValue(CParTypeT::kCustomPoints, 2, true);
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), 12000);
    set.SetValue(CParTypeT::kVoltageFirst, -123450, true);
    EXPECT_EQ(set.GetValue(CParTypeT::kStartVolt), -12345);
    // Extreme custom values saturate the cold-junction voltage instead of overflowing.
    set.SetValue(CParTypeT::kCustomPoints, 2, true);
    set.SetValue(CParTypeT::kVoltageFirst + 1, 300000000, true);
    set.SetValue(CParTypeT::kColdJunction, 1000000, true);
    EXPECT_GT(set.GetValue(CParTypeT::kColdJunctionVolt), 0);
}

TEST(ParTypeT, TypeChangeResetsTheColdJunctionToZeroCelsiusInEveryUnit) {
    struct Case {
        int32_t unit;
        const char* text;
    };
    const Case cases[] = {{0, "0.0000 (deg C)"}, {1, "32.0000 (deg F)"}, {2, "273.1500 (K)"}};
    for (const Case& c : cases) {
        CParTypeT set;
        set.SetValue(CParTypeT::kDisplayUnit, c.unit, false);
        set.SetValue(CParTypeT::kColdJunction, set.ToDisplayUnit(250000), true);
        ASSERT_NE(set.GetValue(CParTypeT::kColdJunctionVolt), 0) << c.unit;
        set.SetValue(CParTypeV::kInputType, E, true);
        EXPECT_EQ(set.GetValue(CParTypeT::kColdJunction), 0) << c.unit;
        EXPECT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), 0) << c.unit;
        EXPECT_EQ(set.FormatValue(CParTypeT::kColdJunction, 0, true), c.text) << c.unit;
    }
}

TEST(ParTypeT, ColdJunctionFollowsTheDisplayUnit) {
    // The range test applies to degC: 212 degF is 100 degC, 213 degF is beyond.
    CParTypeT set;
    set.SetValue(CParTypeT::kDisplayUnit, 1, true);
    EXPECT_NO_THROW(set.SetValue(CParTypeT::kColdJunction, 2120000, true));
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunction), 1000000);
    EXPECT_NE(ThrownMessage([&] { set.SetValue(CParTypeT::kColdJunction, 2130000, true); }), kNoThrow);
    // The stored text is degC and loads back unchanged whatever the unit.
    set.SetValue(CParTypeT::kColdJunction, 770000, true);  // 77 degF = 25 degC
    EXPECT_EQ(set.GetValueString(CParTypeT::kColdJunction), "25.0000");
    set.SetValueFromString(CParTypeT::kColdJunction, "25.0000", false);
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunction), 250000);
}

TEST(ParTypeT, OutputStageCheckedWhenTypedAndKeptUnchecked) {
    struct Case {
        int32_t code;
        int32_t value;
        bool accepted;
    };
    const Case cases[] = {
        {CParTypeT::kBurnoutValue, 30000, false}, {CParTypeT::kBurnoutValue, 37800, true},
        {CParTypeT::kBurnoutValue, 230000, true}, {CParTypeT::kBurnoutValue, 214999, false},
        {CParTypeT::kOutputHigh, 199999, false},  {CParTypeT::kOutputHigh, 215000, true},
        {CParTypeT::kOutputLow, 40001, false},    {CParTypeT::kOutputLow, 38000, true},
    };
    for (const Case& c : cases) {
        for (const bool check : {true, false}) {
            CParTypeT set;
            const int32_t before = set.GetValue(c.code);
            const std::string message = ThrownMessage([&] { set.SetValue(c.code, c.value, check); });
            EXPECT_EQ(message == kNoThrow, c.accepted || !check) << c.code << " " << c.value;
            EXPECT_EQ(set.GetValue(c.code), c.accepted || !check ? c.value : before);
        }
    }
    CParTypeT set;
    EXPECT_EQ(ThrownMessage([&] { set.SetValueFromString(CParTypeT::kBurnoutValue, "3.0000", true); }),
              "Output value at burnout should be a from 3.7500-3.8000 or 21.5000-23.0000. ");
    set.SetValueFromString(CParTypeT::kBurnoutValue, "3.0000", false);
    EXPECT_EQ(set.GetValue(CParTypeT::kBurnoutValue), 30000);
}

TEST(ParTypeT, TextsOfOwnCodes) {
    CParTypeT set;
    struct Case {
        int32_t code;
        int32_t value;
        bool unit;
        const char* text;
    };
    const Case cases[] = {
        {CParTypeV::kInputType, 0, false, "TC K(CA)"},
        {CParTypeV::kInputType, 14, false, ""},
        {CParTypeT::kBurnout, 1, false, "Output fixed value"},
        {CParTypeT::kTerminalSelect, 0, false, "Use CJM"},
        {CParTypeT::kVoltageRange, 1, false, "50mV"},
        {CParTypeT::kVoltPeriod, 3, false, "256 (uV)"},
        {CParTypeT::kDisplayUnit, 2, false, "K"},
        {CParTypeT::kDisplayUnit, 3, false, ""},
        {CParTypeT::kStartVolt, -6272, true, "-6.272(mV)"},
        {CParTypeT::kColdJunctionVolt, 10123, true, "1.0123(mV)"},
        {CParTypeV::kInputFineZero, 150, true, "+0.0150 (mV)"},
        {CParTypeT::kVoltageFirst, -15, true, "-0.0015 (mV)"},
        {CParTypeT::kBurnoutValue, 230000, true, "23.0000 (mA)"},
        {CParTypeT::kCustomStep, 5, true, "5 (deg C)"},
        {CParTypeV::kInput100, 13720000, true, "1372.0000 (deg C)"},
    };
    for (const Case& c : cases) EXPECT_EQ(set.FormatValue(c.code, c.value, c.unit), c.text) << c.code;
    set.SetValue(CParTypeT::kDisplayUnit, 1, true);
    EXPECT_EQ(set.FormatValue(CParTypeT::kCustomStep, 5, true), "9.0 (deg F)");
    EXPECT_EQ(set.FormatValue(CParTypeV::kInput0, 0, false), "32.0000");
    // The device's Ohm unit is written as 7 and shows the input unit Ohm either way.
    for (const char* stored : {"3", "7"}) {
        set.SetValueFromString(CParTypeT::kDisplayUnit, stored, false);
        EXPECT_EQ(set.GetValueString(CParTypeT::kDisplayUnit), "7");
        EXPECT_EQ(set.GetInputUnit(), "Ohm");
    }
    EXPECT_EQ(set.GetSensorUnit(), "mV");
}

TEST(ParTypeT, TypedEntriesUseTheDisplayUnitAndSnap) {
    CParTypeT set;
    set.SetValue(CParTypeT::kDisplayUnit, 1, true);
    set.SetValue(CParTypeV::kInputType, Custom100, false);
    set.SetValueFromItem(CParTypeT::kCustomStep, CommittedEditor(CParEditor::kTextAccepted, "9"));
    EXPECT_EQ(set.GetValue(CParTypeT::kCustomStep), 5);  // 9 degF steps are 5 degC, not 4
    set.SetValueFromItem(CParTypeT::kCustomStart, CommittedEditor(CParEditor::kTextAccepted, "212"));
    EXPECT_EQ(set.GetValue(CParTypeT::kCustomStart), 1000000);
    set.SetValueFromItem(CParTypeV::kInputFineZero, CommittedEditor(CParEditor::kTextAccepted, "0.0029"));
    EXPECT_EQ(set.GetValue(CParTypeV::kInputFineZero), 29);
    set.SetValueFromItem(CParTypeT::kColdJunction, CommittedEditor(CParEditor::kTextAccepted, "77"));
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunction), 250000);
}

TEST(ParTypeT, RestrictedModelOffersTypeNOnly) {
    AdminModeScope admin(false);
    CParTypeT set;
    set.SetValueFromString(CParTypeV::kModel, "K9TS-A0", false);
    ASSERT_TRUE(set.IsRestrictedModel());
    CommittedEditor editor(CParEditor::kCancelled, "");
    set.SetupEditor(CParTypeV::kInputType, editor);
    EXPECT_EQ(editor.shown, std::vector<std::string>{"TC N"});
    set.SetValueFromItem(CParTypeV::kInputType, CommittedEditor(CParEditor::kChoiceAccepted, "", 0));
    EXPECT_EQ(set.GetValue(CParTypeV::kInputType), N);
    EXPECT_EQ(set.GetValue(CParTypeT::kStartVolt), -4352);
    {
        AdminModeScope on(true);
        EXPECT_FALSE(set.IsRestrictedModel());
        set.SetupEditor(CParTypeV::kInputType, editor);
        EXPECT_EQ(editor.shown.size(), 14u);
    }
    set.SetValueFromString(CParTypeV::kModel, "K9TS-A1", false);
    EXPECT_FALSE(set.IsRestrictedModel());
}

TEST(ParTypeT, RowStates) {
    CParTypeT set;
    set.SetValue(CParTypeT::kCustomPoints, 5, true);
    EXPECT_EQ(set.GetParamState(CParTypeT::kVoltageFirst + 4), kParText);
    EXPECT_EQ(set.GetParamState(CParTypeT::kVoltageFirst + 5), kParReadOnly);
    EXPECT_EQ(set.GetParamState(CParTypeT::kOutputTableFirst), kParReadOnly);
    EXPECT_EQ(set.GetParamState(CParTypeT::kColdJunction), kParReadOnly);
    set.SetValue(CParTypeT::kTerminalSelect, 0, true);
    EXPECT_EQ(set.GetParamState(CParTypeT::kColdJunction), kParTextFileOnly);
}

TEST(ParTypeT, CopyCarriesTheModelFieldsButNotTheMonitor) {
    CParTypeT src;
    src.SetValue(CParTypeV::kInputType, Custom50, false);
    src.SetValue(CParTypeT::kCustomPoints, 40, true);
    src.SetValue(CParTypeT::kVoltageFirst + 39, 5000, true);
    src.SetValue(CParTypeT::kDisplayUnit, 2, true);
    src.SetValue(CParTypeT::kBurnoutValue, 37500, true);
    auto copy = src.CreateInstance();
    copy->CopyFrom(src);
    for (const int32_t code : src.GetWalkCodes())
        EXPECT_EQ(copy->GetValueString(code), src.GetValueString(code)) << code;
}

}  // namespace
