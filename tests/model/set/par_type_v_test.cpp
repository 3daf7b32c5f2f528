#include "model/set/par_type_v.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "model/hooks/table_dialog_service.h"
#include "support/par_probe.h"

namespace {

TEST(ParTypeV, RangeRules) {
    struct Case {
        int32_t code, value;
        bool check;
        const char* message;  // kNoThrow when the value is stored
    } cases[] = {
        {1, 499999, true, kNoThrow},
        {1, 500000, true, "0% input should be a from -2.5000 to 49.9999. "},
        {1, -25001, true, "0% input should be a from -2.5000 to 49.9999. "},
        {1, 500000, false, kNoThrow},
        {2, 525000, true, kNoThrow},
        // without checking, what a file or a device holds is kept, even below the 0 % input
        {2, 0, false, kNoThrow},
        {2, 1000000, false, kNoThrow},
        {2, 1000000, true, "100% input should be a from 0.0001 to 52.5000. "},
        {51, 0, true, kNoThrow},
        {51, 300001, true, "Damping time constant should be from 0 to 30."},
        {51, -1, true, "Damping time constant should be from 0 to 30."},
        {51, 301000, false, kNoThrow},
        {0, 3, true, "Input type should be a from DC 0 - 50mA to DC -10V - +10V. "},
        {0, 3, false, kNoThrow},
        {100, -1, true, "Output type should be a from DC 4 - 20mA to DC -10V - +10V. "},
        {20000, 2, true, "Linearization should be a from Disabled to Enabled. "},
        {20000, 2, false, kNoThrow},
        {101, 39999, true, "0% output should be a from 4.000 to 20.000. "},
        {102, 200001, true, "100% output should be a from 4.000 to 20.000. "},
        {102, 200001, false, kNoThrow},
        {10000, -75001, true, "Input fine zero adjust. should be a from -7.5000 to 7.5000. "},
        {10001, 100000001, true, " should be a from -10000.0000 to 10000.0000. "},
        {10002, 10501, true, "Input fine span adjust. should be a from 0.9500 to 1.0500. "},
        {10003, 501, true, "Output fine zero adjust. should be a from -5.0000 to 5.0000. "},
        {10004, 9500, true, kNoThrow},
        {20001, 1, true, "Number of points should be a from 2 to 101. "},
        {20001, 101, true, kNoThrow},
        {20001, 1, false, kNoThrow},
        {20202, 1020001, true, "X[100] should be a from -2.0000 to 102.0000. "},
        {20203, -20001, false, kNoThrow},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValue(0, 0, false);  // 0 % input 0, 100 % input 50 mA
        const int32_t before = set.GetValue(c.code);
        const std::string message = ThrownMessage([&] { set.SetValue(c.code, c.value, c.check); });
        EXPECT_EQ(message, c.message) << c.code << " " << c.value;
        EXPECT_EQ(set.GetValue(c.code), message == kNoThrow ? c.value : before) << c.code << " " << c.value;
    }
    CParTypeV set;
    set.SetValue(20204, 5, true);  // no point: nothing stored
    EXPECT_EQ(set.GetValue(20204), 0);
}

// The device's register and the file's text carry tenths of a second: a typed damping keeps what they
// can carry, so that the set, its file and the device agree.
TEST(ParTypeV, DampingKeepsTheTenthsTheDeviceAndTheFileCarry) {
    const struct {
        const char* typed;
        int32_t stored;
        const char* text;
    } cases[] = {{"0.25", 2000, "0.2"}, {"0.29", 2000, "0.2"}, {"0.05", 0, "0.0"}, {"30", 300000, "30.0"}};
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValueFromString(51, c.typed, true);
        EXPECT_EQ(set.GetValue(51), c.stored) << c.typed;
        EXPECT_EQ(set.GetValueString(51), c.text) << c.typed;
    }
}

TEST(ParTypeV, BoundsOfExtremeStoredValuesDoNotOverflow) {
    CParTypeV set;
    set.SetValue(1, INT32_MAX, false);
    EXPECT_EQ(ThrownMessage([&] { set.SetValue(2, INT32_MAX, true); }),
              "100% input should be a from -2.4999 to 52.5000. ");
    set.SetValue(100, 1, false);
    set.SetValue(102, INT32_MIN, false);
    EXPECT_EQ(ThrownMessage([&] { set.SetValue(101, INT32_MIN, true); }),
              "0% output should be a from -5.500 to 5.375. ");
}

TEST(ParTypeV, TypeChoicesLoadDefaultsOnlyOnTheFileSide) {
    struct Case {
        int32_t code, type;
        bool online;
        int32_t zero, full;
        double adjustLow, adjustHigh;
    } cases[] = {
        {0, 1, false, -10000000, 10000000, -300.0, 300.0},
        {0, 2, false, -100000, 100000, -3.0, 3.0},
        {0, 7, false, 0, 0, 0.0, 0.0},
        {0, 1, true, 0, 1000000, -300.0, 300.0},
        // output type 0 gives 0 mA at 0 %, below its own 4 mA limit
        {100, 0, false, 0, 200000, -3.0, 23.0},
        {100, 1, false, -50000, 50000, -6.5, 6.5},
        {100, 9, false, 0, 0, 0.0, 0.0},
        {100, 2, true, 40000, 200000, -13.0, 13.0},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetOnline(c.online);
        set.SetValue(c.code, c.type, false);
        EXPECT_EQ(set.GetValue(c.code + 1), c.zero) << c.code << " " << c.type;
        EXPECT_EQ(set.GetValue(c.code + 2), c.full) << c.code << " " << c.type;
        double low = 1, high = 1;
        (c.code == 0) ? set.GetInputAdjustLimits(low, high) : set.GetOutputAdjustLimits(low, high);
        EXPECT_DOUBLE_EQ(low, c.adjustLow);
        EXPECT_DOUBLE_EQ(high, c.adjustHigh);
    }
}

void FillEverything(CParProbe& set) {
    set.SetValue(0, 1, true);
    set.SetValue(51, 12345, true);
    set.SetValue(100, 1, true);
    set.SetValue(10001, -888, true);
    set.SetValue(10003, -123, true);
    set.SetValue(20000, 1, true);
    set.SetValue(20001, 101, true);
    for (int32_t code = 20002; code <= 20203; ++code) set.SetValue(code, code - 20000, true);
    set.SetValueFromString(62000, "TAG-1", true);
    set.SetValueFromString(62002, "K9X1", true);
    set.SetValueFromString(62003, "SN42", true);
    set.SetValue(62004, 3, true);
    set.SetDate(2019 << 16 | 3 << 8 | 7);
    set.SetLive(1, 2, 3, 4);
    set.SetTypeId(2);
}

TEST(ParTypeV, CopyOfTheSameClassComparesEqualInEveryCode) {
    CParProbe src;
    FillEverything(src);
    src.SetStatus(0x200);
    src.SetOnline(true);
    src.Registers(0, 1)[0] = 0xBEEF;
    auto copy = src.CreateInstance();
    copy->CopyFrom(src);
    std::vector<int32_t> codes = src.GetWalkCodes();
    for (int32_t code : {10001, 50, 60000, 60001, 62000, 62001, 62002, 62003, 62004, 62005})
        codes.push_back(code);
    for (int32_t code : codes) EXPECT_EQ(copy->GetValueString(code), src.GetValueString(code)) << code;
    EXPECT_EQ(copy->GetTypeId(), 2);
    // status, online flag and register image stay with the source
    EXPECT_EQ(copy->GetStatus(), 0u);
    EXPECT_FALSE(copy->IsOnline());
    EXPECT_EQ(dynamic_cast<CParTypeV&>(*copy).Registers(0, 1)[0], 0);
}

// A set of another class, outside the DC-input family.
class COtherSet : public CParBase {
public:
    COtherSet() {
        SetModelCode("OTHER");
        SetDefTable(kTable);
        SetTypeId(7);
    }
    std::unique_ptr<CParBase> CreateInstance() const override { return std::make_unique<COtherSet>(); }
    int32_t GetParamCount(int32_t) const override { return 0; }
    std::string GetParamName(int32_t) const override { return ""; }
    std::string GetValueString(int32_t) const override { return ""; }
    int32_t GetValue(int32_t) const override { return 99; }
    void SetValueFromItem(int32_t, const CParEditor&) override {}
    void SetValue(int32_t, int32_t, bool) override {}
    void SetValueFromString(int32_t, const std::string&, bool) override {}
    int32_t GetParamId(int32_t, int32_t) const override { return -1; }
    int32_t GetParamState(int32_t) const override { return 1; }
    void SetupEditor(int32_t, CParEditor&) const override {}
    std::string GetSensorUnit() const override { return ""; }
    std::string GetInputUnit() const override { return ""; }
    std::string GetOutputUnit() const override { return ""; }
    std::string GetTableTitle(int32_t, int32_t) const override { return ""; }
    void EditTable(int32_t, int32_t) override {}
    void EditTable2(int32_t, int32_t) override {}
    void GetInputAdjustLimits(double&, double&) const override {}
    int32_t GetInputAdjustScale() const override { return 1; }
    void GetOutputAdjustLimits(double&, double&) const override {}
    std::string FormatRawValue(int32_t, int32_t) const override { return ""; }
    void WriteParamAscii(CCommInterface&, int32_t) override {}
    void WriteParamModbus(CModbusInterface&, int32_t) override {}
    void ReadParamAscii(CCommInterface&, int32_t) override {}
    void ReadParamModbus(CModbusInterface&, int32_t) override {}
    void DownloadAscii(CCommInterface&, int32_t) override {}
    void DownloadModbus(CModbusInterface&, int32_t) override {}
    void UploadAscii(CCommInterface&, int32_t) override {}
    void UploadModbus(CModbusInterface&, int32_t) override {}

    static constexpr ParDef kTable[] = {{0, 65000, 1019, 0}, {0, 0, 0, 0}};
};

TEST(ParTypeV, CopyFromAnotherClassTakesOnlyTheCommonBase) {
    COtherSet other;
    CParProbe set;
    set.SetValue(20001, 5, true);
    set.CopyFrom(other);
    EXPECT_EQ(set.GetModelCode(), "OTHER");
    EXPECT_EQ(set.GetTypeId(), 7);
    EXPECT_EQ(set.GetDefTable(), other.GetDefTable());
    EXPECT_EQ(set.GetValue(20001), 5);

    CParProbe src;
    FillEverything(src);
    other.CopyFrom(src);
    EXPECT_EQ(other.GetModelCode(), "K9R");
    EXPECT_EQ(other.GetTypeId(), 2);
}

TEST(ParTypeV, RegisterImageIsBoundsChecked) {
    CParTypeV set;
    set.Registers(4095, 1)[0] = 7;
    EXPECT_EQ(std::as_const(set).Registers(0, 4096)[4095], 7);
    struct Case {
        int32_t start, count;
    } bad[] = {{4095, 2}, {-1, 1}, {0, -1}, {INT32_MAX, INT32_MAX}};
    for (const auto& c : bad) EXPECT_THROW(set.Registers(c.start, c.count), std::logic_error) << c.start;
}

// Plays the linearizer table viewer: records what it was shown and answers as told.
class CFakeTableDialogs : public CTableDialogService {
public:
    bool EditLinearizerTable(std::vector<CTablePoint>& points) override {
        ++calls;
        shown = points;
        if (replace) points = *replace;
        return accept;
    }
    int calls = 0;
    bool accept = true;
    std::optional<std::vector<CTablePoint>> replace;
    std::vector<CTablePoint> shown;
};

class ParTypeVTable : public ::testing::Test {
protected:
    void SetUp() override { InstallTableDialogService(&dialogs); }
    void TearDown() override { InstallTableDialogService(nullptr); }
    CFakeTableDialogs dialogs;
    CParTypeV set;
};

TEST_F(ParTypeVTable, UnchangedTableComesBackUnchanged) {
    // Values whose x10000 form truncates one count low after a trip through a double.
    std::vector<int32_t> values;
    for (int32_t v = -20000; v <= 1020000 && values.size() < 202; ++v)
        if (static_cast<int32_t>((v / 10000.0) * 10000.0) != v) values.push_back(v);
    ASSERT_EQ(values.size(), 202u);
    set.SetValue(20001, 101, true);
    for (int32_t i = 0; i < 202; ++i) set.SetValue(20002 + i, values[static_cast<size_t>(i)], true);
    set.EditTable(2, 0);
    ASSERT_EQ(dialogs.shown.size(), 101u);
    for (int32_t i = 0; i < 202; ++i) EXPECT_EQ(set.GetValue(20002 + i), values[static_cast<size_t>(i)]) << i;
}

TEST_F(ParTypeVTable, AcceptedTableSetsCountAndClearsTheRest) {
    struct Case {
        int32_t storedCount;
        size_t shown, accepted;
        int32_t count;
    } cases[] = {{3, 3, 0, 0}, {3, 3, 1, 1}, {500, 101, 150, 101}, {-5, 0, 2, 2}};
    for (const auto& c : cases) {
        CParTypeV fresh;
        fresh.SetValue(20001, c.storedCount, false);
        std::vector<CTablePoint> table;
        for (size_t i = 0; i < c.accepted; ++i) table.push_back({static_cast<double>(i), 2.5});
        if (c.accepted) table[0].y = std::nan("");
        dialogs.replace = table;
        fresh.EditTable2(2, 0);
        EXPECT_EQ(dialogs.shown.size(), c.shown);
        EXPECT_EQ(fresh.GetValue(20001), c.count);
        for (int32_t i = 0; i < 101; ++i) {
            EXPECT_EQ(fresh.GetValue(20002 + 2 * i), i < c.count ? i * 10000 : 0) << i;
            EXPECT_EQ(fresh.GetValue(20003 + 2 * i), i > 0 && i < c.count ? 25000 : 0);
        }
    }
}

TEST_F(ParTypeVTable, OnlyTheLinearizerButtonOpensTheViewer) {
    set.EditTable(0, 0);
    set.EditTable(2, 1);
    EXPECT_EQ(dialogs.calls, 0);
    dialogs.accept = false;
    dialogs.replace = std::vector<CTablePoint>{};
    set.EditTable(2, 0);
    EXPECT_EQ(dialogs.calls, 1);
    EXPECT_EQ(set.GetValue(20001), 3);
    InstallTableDialogService(nullptr);
    set.EditTable(2, 0);
    EXPECT_EQ(dialogs.calls, 1);
    EXPECT_EQ(set.GetTableTitle(2, 0), "Table File");
    EXPECT_EQ(set.GetTableTitle(2, 1), "");
}

}  // namespace
