#include "model/universal/par_type_u2.h"
#include "model/universal/par_type_u3.h"

#include <gtest/gtest.h>

#include "support/par_probe.h"

namespace {

TEST(ParTypeU2, NewSetTexts) {
    CParTypeU2 set;
    EXPECT_EQ(set.GetModelCode(), "K9U2");
    EXPECT_EQ(set.GetTypeId(), 6);
    EXPECT_EQ(set.GetValueText(CParTypeV::kInputType), "DC -10 - +100mV");
    EXPECT_EQ(set.GetValueText(CParUniversal::kRange), "DC -10 - 100mV");
    EXPECT_EQ(set.GetValueText(CParUniversal::kBurnout), "Output fixed value");
    EXPECT_EQ(set.FormatValue(CParTypeV::kInput100, 1000000, true), "100.0000 (mV)");
    EXPECT_EQ(set.FormatValue(CParUniversal::kOutputLow, 38000, true), "3.8000 (mA)");
    EXPECT_EQ(set.FormatValue(CParTypeV::kInputType, 2, false), "");
    EXPECT_EQ(set.GetParamCount(kGroupBasic) + set.GetParamCount(kGroupFineAdjust) +
                  set.GetParamCount(kGroupIdentity),
              24);
}

TEST(ParTypeU2, InputTypeOnlineAndOffline) {
    for (const bool online : {false, true}) {
        CParTypeU2 set;
        set.SetOnline(online);
        set.SetValue(CParTypeV::kInputType, 1, true);
        EXPECT_EQ(set.GetValue(CParUniversal::kRange), 1);
        EXPECT_EQ(set.GetValue(CParTypeV::kInput100), online ? 1000000 : 500000);
    }
}

TEST(ParTypeU2, BurnoutWindowsWhenTyped) {
    struct Case {
        int32_t value;
        bool accepted;
    };
    const Case cases[] = {{37500, true},   {230000, true},  {37499, false},
                          {214999, false}, {150000, false}, {230001, false}};
    for (const Case& c : cases) {
        for (const bool check : {true, false}) {
            CParTypeU2 set;
            const bool thrown = ThrownMessage([&] {
                                    set.SetValue(CParUniversal::kBurnoutValue, c.value, check);
                                }) != kNoThrow;
            EXPECT_EQ(thrown, check && !c.accepted) << c.value;
            EXPECT_EQ(set.GetValue(CParUniversal::kBurnoutValue), c.accepted || !check ? c.value : 230000);
        }
    }
}

TEST(ParTypeU2, RegisterPacking) {
    CParTypeU2 set;
    set.ParamToRegisters(CParUniversal::kOutputHigh);
    set.ParamToRegisters(CParUniversal::kOutputLow);
    EXPECT_EQ(set.Registers(2061, 2)[0], 53750);
    EXPECT_EQ(set.Registers(2061, 2)[1], 9500);
    set.Registers(2059, 1)[0] = 57500;
    set.RegistersToParam(CParUniversal::kBurnoutValue);
    EXPECT_EQ(set.GetValue(CParUniversal::kBurnoutValue), 230000);

    set.SetValue(CParUniversal::kRange, 0, false);
    set.ParamToRegisters(CParUniversal::kBurnout);
    EXPECT_EQ(set.Registers(2058, 1)[0], 0x000C);
    set.ParamToRegisters(CParUniversal::kRange);
    EXPECT_EQ(set.Registers(2058, 1)[0], 0x002C);
    set.Registers(2058, 1)[0] = 0x0030;
    set.RegistersToParam(CParUniversal::kRange);
    set.RegistersToParam(CParUniversal::kBurnout);
    EXPECT_EQ(set.GetValue(CParUniversal::kRange), 1);
    EXPECT_EQ(set.GetValue(CParUniversal::kBurnout), 0);

    set.Registers(1280, 1)[0] = 31;
    set.RegistersToParam(CParTypeV::kInputType);
    EXPECT_EQ(set.GetValue(CParTypeV::kInputType), 1);
    set.ParamToRegisters(CParTypeV::kInputType);
    EXPECT_EQ(set.Registers(1280, 1)[0], 31);

    set.SetValue(CParTypeV::kInputFineZero, -15000, true);
    set.ParamToRegisters(CParTypeV::kInputFineZero);
    EXPECT_EQ(set.Registers(2064, 1)[0], 0xFA24);  // -1500 uV
}

TEST(ParTypeU3, NewSetTextsAndTypes) {
    CParTypeU3 set;
    EXPECT_EQ(set.GetModelCode(), "K9U3");
    EXPECT_EQ(set.GetValueText(CParTypeV::kInputType), "Res 0 - 500 Ohm");
    EXPECT_EQ(set.GetValueText(CParUniversal::kSensorWires), "3 wires");
    EXPECT_EQ(set.GetValueText(CParUniversal::kRange), "Res 0 - 500 ohm");
    EXPECT_EQ(set.FormatValue(CParTypeV::kInput100, 1000000, true), "100.0000 (Ohm)");
    set.SetValue(CParTypeV::kInputType, 2, true);
    EXPECT_EQ(set.GetValueText(CParUniversal::kRange), "Res 0 - 5k ohm");
    EXPECT_EQ(set.GetValue(CParTypeV::kInput100), 40000000);
    EXPECT_NO_THROW(set.SetValue(CParTypeV::kInput100, 50000000, true));
    EXPECT_NE(ThrownMessage([&] { set.SetValue(CParTypeV::kInputFineZero, 200001, true); }), kNoThrow);
    // A type from a file beyond the list keeps the range.
    set.SetValue(CParTypeV::kInputType, 7, false);
    EXPECT_EQ(set.GetValue(CParUniversal::kRange), 0);
}

TEST(ParTypeU3, RegisterPacking) {
    CParTypeU3 set;
    set.SetValue(CParUniversal::kSensorWires, 2, true);
    set.SetValue(CParUniversal::kRange, 0, false);
    for (const int32_t code : std::initializer_list<int32_t>{CParUniversal::kSensorWires,
                                                             CParUniversal::kBurnout, CParUniversal::kRange})
        set.ParamToRegisters(code);
    EXPECT_EQ(set.Registers(2058, 1)[0], 0x000B);
    set.Registers(2058, 1)[0] = 0x0023;
    for (const int32_t code : std::initializer_list<int32_t>{CParUniversal::kSensorWires,
                                                             CParUniversal::kBurnout, CParUniversal::kRange})
        set.RegistersToParam(code);
    EXPECT_EQ(set.GetValue(CParUniversal::kRange), 2);
    EXPECT_EQ(set.GetValue(CParUniversal::kBurnout), 0);
    EXPECT_EQ(set.GetValue(CParUniversal::kSensorWires), 2);
    set.Registers(1280, 1)[0] = 42;
    set.RegistersToParam(CParTypeV::kInputType);
    EXPECT_EQ(set.GetValue(CParTypeV::kInputType), 2);
    set.SetValue(CParTypeV::kInputFineZero, -200000, true);
    set.ParamToRegisters(CParTypeV::kInputFineZero);
    EXPECT_EQ(set.Registers(2064, 1)[0], 0xF830);
    set.RegistersToParam(CParTypeV::kInputFineZero);
    EXPECT_EQ(set.GetValue(CParTypeV::kInputFineZero), -200000);
}

TEST(ParTypeU3, CopyBetweenKindsKeepsOnlyTheCommonPart) {
    CParTypeU3 src;
    src.SetValue(CParUniversal::kBurnoutValue, 37500, true);
    CParTypeU2 other;
    other.CopyFrom(src);
    EXPECT_EQ(other.GetValue(CParUniversal::kBurnoutValue), 230000);
    auto same = src.CreateInstance();
    same->CopyFrom(src);
    EXPECT_EQ(same->GetValue(CParUniversal::kBurnoutValue), 37500);
}

}  // namespace
