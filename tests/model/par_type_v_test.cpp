#include "model/par_type_v.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "model/table_dialog_service.h"
#include "par_probe.h"

namespace {

struct RangeCase {
    int32_t code;
    int32_t value;
    bool check;
    const char* message;  // "no throw" when the value is stored
};

TEST(ParTypeV, RangeRules) {
    const RangeCase cases[] = {
        {1, 499999, true, "no throw"},
        {1, 500000, true, "0% input should be a from -2.5000 to 49.9999. "},
        {1, -25000, true, "no throw"},
        {1, -25001, true, "0% input should be a from -2.5000 to 49.9999. "},
        {1, 500000, false, "no throw"},
        {2, 1, true, "no throw"},
        {2, 525000, true, "no throw"},
        {2, 525001, true, "100% input should be a from 0.0001 to 52.5000. "},
        // the 100 % input is tested even without checking: files rely on it
        {2, 0, false, "100% input should be a from 0.0001 to 52.5000. "},
        {51, 0, true, "no throw"},
        {51, 300000, true, "no throw"},
        {51, 300001, true, "Damping time constant should be from 0 to 30."},
        {51, -1, true, "Damping time constant should be from 0 to 30."},
        {51, 300001, false, "no throw"},
        {101, 40000, true, "no throw"},
        {101, 39999, true, "0% output should be a from 4.000 to 20.000. "},
        {101, 199999, true, "no throw"},
        {102, 40001, true, "no throw"},
        {102, 200001, true, "100% output should be a from 4.000 to 20.000. "},
        {102, 200001, false, "no throw"},
        {10000, 75000, true, "no throw"},
        {10000, -75001, true, "Input fine zero adjust. should be a from -7.5000 to 7.5000. "},
        {10001, -100000000, true, "no throw"},
        {10001, 100000001, true, " should be a from -10000.0000 to 10000.0000. "},
        {10002, 9500, true, "no throw"},
        {10002, 10501, true, "Input fine span adjust. should be a from 0.9500 to 1.0500. "},
        {10003, -500, true, "no throw"},
        {10003, 501, true, "Output fine zero adjust. should be a from -5.0000 to 5.0000. "},
        {10003, 501, false, "no throw"},
        {10004, 9499, true, "Output fine span adjust. should be a from 0.9500 to 1.0500. "},
        {20001, 1, true, "Number of points should be a from 2 to 101. "},
        {20001, 2, true, "no throw"},
        {20001, 101, true, "no throw"},
        {20001, 102, true, "Number of points should be a from 2 to 101. "},
        {20001, 1, false, "no throw"},
        {20202, 1020000, true, "no throw"},
        {20202, 1020001, true, "X[100] should be a from -2.0000 to 102.0000. "},
        {20203, -20001, true, "Y[100] should be a from -2.0000 to 102.0000. "},
        {20203, -20001, false, "no throw"},
        {62004, -7, true, "no throw"},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValue(0, 0, false);  // 0 % input 0, 100 % input 50 mA
        const int32_t before = set.GetValue(c.code);
        const std::string message = ThrownMessage([&] { set.SetValue(c.code, c.value, c.check); });
        EXPECT_EQ(message, c.message) << c.code << " " << c.value;
        EXPECT_EQ(set.GetValue(c.code), message == "no throw" ? c.value : before) << c.code << " " << c.value;
    }
}

TEST(ParTypeV, CodesWithoutAFieldStoreNothing) {
    CParTypeV set;
    for (int32_t code : {20204, 62001, 62005, 60000, 65000, -1}) {
        EXPECT_EQ(ThrownMessage([&] { set.SetValue(code, 123, true); }), "no throw") << code;
        EXPECT_EQ(set.GetValue(code), 0) << code;
    }
}

TEST(ParTypeV, BoundsOfExtremeStoredValuesDoNotOverflow) {
    CParTypeV set;
    set.SetValue(1, INT32_MAX, false);
    EXPECT_EQ(ThrownMessage([&] { set.SetValue(2, INT32_MAX, false); }),
              "100% input should be a from 214748.3647 to 52.5000. ");
    EXPECT_EQ(set.GetValue(2), 1000000);

    set.SetValue(100, 1, false);
    set.SetValue(102, INT32_MIN, false);
    EXPECT_EQ(ThrownMessage([&] { set.SetValue(101, INT32_MIN, true); }),
              "0% output should be a from -5.500 to -214748.365. ");
}

TEST(ParTypeV, TypeChoicesLoadDefaultsOnlyOnTheFileSide) {
    struct Case {
        int32_t code, type;
        bool online;
        int32_t zero, full;
    } cases[] = {
        {0, 0, false, 0, 500000},
        {0, 1, false, -10000000, 10000000},
        {0, 2, false, -100000, 100000},
        {0, 7, false, 0, 0},
        {0, 1, true, 0, 1000000},
        // output type 0 gives 0 mA at 0 %, below its own 4 mA limit
        {100, 0, false, 0, 200000},
        {100, 1, false, -50000, 50000},
        {100, 2, false, -100000, 100000},
        {100, 9, false, 0, 0},
        {100, 2, true, 40000, 200000},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetOnline(c.online);
        set.SetValue(c.code, c.type, true);
        EXPECT_EQ(set.GetValue(c.code), c.type);
        EXPECT_EQ(set.GetValue(c.code + 1), c.zero) << c.code << " " << c.type;
        EXPECT_EQ(set.GetValue(c.code + 2), c.full) << c.code << " " << c.type;
    }
}

TEST(ParTypeV, NewSetHoldsItsDefaults) {
    CParTypeV set;
    struct Case {
        int32_t code, value;
    } cases[] = {
        {0, 0},          {1, 0},           {2, 1000000},      {50, 0},          {51, 0},      {100, 0},
        {101, 40000},    {102, 200000},    {10000, 0},        {10001, 0},       {10002, 10000},
        {10003, 0},      {10004, 10000},   {20000, 0},        {20001, 3},       {20002, -20000},
        {20003, -20000}, {20004, 500000},  {20007, 1020000},  {20008, 0},       {20203, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(set.GetValue(c.code), c.value) << c.code;
    EXPECT_EQ(set.GetValueString(62000), "Default");
    EXPECT_EQ(set.GetValueString(62003), "Default");
    EXPECT_EQ(set.GetValueString(62002), "");
}

TEST(ParTypeV, AdjustLimitsFollowTheTypeDefaults) {
    struct Case {
        int32_t inputType, outputType;
        double inLow, inHigh, outLow, outHigh;
    } cases[] = {
        {0, 0, -7.5, 7.5, -3.0, 23.0},
        {1, 1, -300.0, 300.0, -6.5, 6.5},
        {2, 2, -3.0, 3.0, -13.0, 13.0},
        {5, 5, 0.0, 0.0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValue(0, c.inputType, false);
        set.SetValue(100, c.outputType, false);
        double low = 1, high = 1;
        set.GetInputAdjustLimits(low, high);
        EXPECT_DOUBLE_EQ(low, c.inLow);
        EXPECT_DOUBLE_EQ(high, c.inHigh);
        set.GetOutputAdjustLimits(low, high);
        EXPECT_DOUBLE_EQ(low, c.outLow);
        EXPECT_DOUBLE_EQ(high, c.outHigh);
    }
    CParTypeV set;
    set.SetValue(100, 5, false);
    set.SetValue(100, 0, false);
    EXPECT_EQ(set.GetValue(101), 0);
    EXPECT_EQ(set.GetValue(102), 200000);
    EXPECT_EQ(set.GetInputAdjustScale(), 1);
}

// Fills every copied field with a value the defaults do not have.
void FillEverything(CParProbe& set) {
    set.SetValue(0, 1, true);
    set.SetValue(1, -5000000, true);
    set.SetValue(2, 6000000, true);
    set.SetValue(50, 1, true);
    set.SetValue(51, 12345, true);
    set.SetValue(100, 1, true);
    set.SetValue(101, -40000, true);
    set.SetValue(102, 40000, true);
    set.SetValue(10000, 777, true);
    set.SetValue(10001, -888, true);
    set.SetValue(10002, 10100, true);
    set.SetValue(10003, -123, true);
    set.SetValue(10004, 9900, true);
    set.SetValue(20000, 1, true);
    set.SetValue(20001, 101, true);
    for (int32_t code = 20002; code <= 20203; ++code) set.SetValue(code, code - 20000, true);
    set.SetValueFromString(62000, "TAG-1", true);
    set.SetValueFromString(62002, "K9X1", true);
    set.SetValueFromString(62003, "SN42", true);
    set.SetValue(62004, 3, true);
    set.SetFirmware(17);
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
    for (int32_t i = 0; i < src.GetParamCount(10); ++i) codes.push_back(src.GetParamId(10, i));
    codes.push_back(10001);
    codes.push_back(50);
    for (int32_t code : codes) {
        if (code == 61000) continue;  // the status word is not copied
        EXPECT_EQ(copy->GetValueString(code), src.GetValueString(code)) << code;
        EXPECT_EQ(copy->GetValue(code), src.GetValue(code)) << code;
    }
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
    int32_t GetParamCount(int32_t group) const override { return GetTableGroupCount(group); }
    std::string GetParamName(int32_t code) const override { return GetTableParamName(code); }
    std::string GetValueString(int32_t) const override { return "x"; }
    int32_t GetValue(int32_t) const override { return 99; }
    void SetValueFromItem(int32_t, const CParEditor&) override {}
    void SetValue(int32_t, int32_t, bool) override {}
    void SetValueFromString(int32_t, const std::string&, bool) override {}
    int32_t GetParamId(int32_t group, int32_t index) const override { return GetTableParamId(group, index); }
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
    EXPECT_EQ(set.GetValueString(62000), "Default");

    CParProbe src;
    FillEverything(src);
    other.CopyFrom(src);
    EXPECT_EQ(other.GetModelCode(), "K9R");
    EXPECT_EQ(other.GetTypeId(), 2);
    EXPECT_EQ(other.GetValue(1), 99);
}

TEST(ParTypeV, RegisterImageIsBoundsChecked) {
    CParTypeV set;
    EXPECT_EQ(set.Registers(0, 4096).size(), 4096u);
    set.Registers(4095, 1)[0] = 7;
    const CParTypeV& view = set;
    EXPECT_EQ(view.Registers(4090, 6)[5], 7);
    struct Case {
        int32_t start, count;
    } bad[] = {{4095, 2}, {-1, 1}, {0, -1}, {4096, 1}, {INT32_MAX, INT32_MAX}};
    for (const auto& c : bad) {
        EXPECT_THROW(set.Registers(c.start, c.count), std::logic_error) << c.start << "+" << c.count;
        EXPECT_THROW(view.Registers(c.start, c.count), std::logic_error) << c.start << "+" << c.count;
    }
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
    // Values whose x10000 form truncates one count low after the trip through a double.
    std::vector<int32_t> values;
    for (int32_t v = -20000; v <= 1020000 && values.size() < 202; ++v)
        if (static_cast<int32_t>((v / 10000.0) * 10000.0) != v) values.push_back(v);
    ASSERT_EQ(values.size(), 202u);
    set.SetValue(20001, 101, true);
    for (int32_t i = 0; i < 202; ++i) set.SetValue(20002 + i, values[static_cast<size_t>(i)], true);

    set.EditTable(2, 0);
    ASSERT_EQ(dialogs.calls, 1);
    ASSERT_EQ(dialogs.shown.size(), 101u);
    for (int32_t i = 0; i < 202; ++i) EXPECT_EQ(set.GetValue(20002 + i), values[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(set.GetValue(20001), 101);
}

TEST_F(ParTypeVTable, AcceptedTableSetsCountAndClearsTheRest) {
    struct Case {
        size_t accepted;
        int32_t count;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {101, 101}, {150, 101}};
    for (const auto& c : cases) {
        CParTypeV fresh;
        fresh.SetValue(20001, 3, true);
        std::vector<CTablePoint> table;
        for (size_t i = 0; i < c.accepted; ++i) table.push_back({static_cast<double>(i), 2.5});
        dialogs.replace = table;
        fresh.EditTable2(2, 0);
        EXPECT_EQ(fresh.GetValue(20001), c.count);
        for (int32_t i = 0; i < 101; ++i) {
            const bool inside = i < c.count;
            EXPECT_EQ(fresh.GetValue(20002 + 2 * i), inside ? i * 10000 : 0) << i;
            EXPECT_EQ(fresh.GetValue(20003 + 2 * i), inside ? 25000 : 0) << i;
        }
    }
}

TEST_F(ParTypeVTable, StoredCountIsClampedForTheWalk) {
    struct Case {
        int32_t stored;
        size_t shown;
    } cases[] = {{500, 101}, {-5, 0}, {3, 3}};
    for (const auto& c : cases) {
        CParTypeV fresh;
        fresh.SetValue(20001, c.stored, false);
        dialogs.accept = false;
        fresh.EditTable(2, 0);
        EXPECT_EQ(dialogs.shown.size(), c.shown);
        EXPECT_EQ(fresh.GetValue(20001), c.stored);
    }
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_DOUBLE_EQ(dialogs.shown[1].x, 50.0);
    EXPECT_DOUBLE_EQ(dialogs.shown[2].y, 102.0);
}

TEST_F(ParTypeVTable, NonFiniteAcceptedValuesGetADefinedCount) {
    dialogs.replace = std::vector<CTablePoint>{{std::nan(""), 1e300}, {1.0, 2.0}};
    set.EditTable(2, 0);
    EXPECT_EQ(set.GetValue(20002), INT32_MIN);
    EXPECT_EQ(set.GetValue(20003), INT32_MIN);
    EXPECT_EQ(set.GetValue(20004), 10000);
}

TEST_F(ParTypeVTable, OnlyTheLinearizerButtonOpensTheViewer) {
    set.EditTable(0, 0);
    set.EditTable(2, 1);
    set.EditTable2(1, 0);
    EXPECT_EQ(dialogs.calls, 0);
    dialogs.accept = false;
    dialogs.replace = std::vector<CTablePoint>{};
    set.EditTable(2, 0);
    EXPECT_EQ(dialogs.calls, 1);
    EXPECT_EQ(set.GetValue(20001), 3);

    InstallTableDialogService(nullptr);
    set.EditTable(2, 0);
    EXPECT_EQ(dialogs.calls, 1);
    EXPECT_EQ(set.GetValue(20004), 500000);
    EXPECT_EQ(set.GetTableTitle(2, 0), "Table File");
    EXPECT_EQ(set.GetTableTitle(2, 1), "");
    EXPECT_EQ(set.GetTableTitle(0, 0), "");
}

}  // namespace
