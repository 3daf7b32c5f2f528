#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "model/set/output_stage.h"
#include "model/thermocouple/par_type_t.h"
#include "sim/sim_tc.h"
#include "support/sim_fixtures.h"
#include "support/thrown_message.h"
#include "support/transfer_probe.h"

namespace {

constexpr int32_t kV0 = CParTypeT::kVoltageFirst;

TEST(TcRegisterTest, Packing) {
    const struct {
        int32_t code;
        int32_t value;
        int32_t reg;
        uint16_t before;
        uint16_t encoded;
    } encode[] = {
        {CParTypeT::kBurnout, 1, 2058, 0xFF37, 0x0038},
        {CParTypeT::kBurnout, 0, 2058, 0x0028, 0x0020},
        {CParTypeT::kVoltageRange, 0, 2058, 0xFFFF, 0x0028},
        {CParTypeT::kVoltageRange, 1, 2058, 0x0000, 0x0030},
        // The register carries the unit as the device reports it; only texts write its Ohm unit as 7.
        {CParTypeT::kDisplayUnit, 3, 1283, 0, 3},
        {CParTypeT::kDisplayUnit, 1, 1283, 0, 1},
        {CParTypeT::kColdJunction, -50000, 1287, 0, 0xFFCE},
        {CParTypeT::kColdJunctionVolt, -12345, 2057, 0, 0xFB2E},
        {CParTypeT::kStartVolt, -6272, 2055, 0, 0xE780},
        {CParTypeT::kTerminalSelect, 0, 2063, 9, 0},
        {CParTypeT::kBurnoutValue, 37500, 2059, 0, 9375},
        {CParTypeT::kOutputHigh, 215000, 2061, 0, 53750},
        {CParTypeV::kInputFineZero, -1000, 2064, 0, 0xFF9C},
        {CParTypeT::kCustomPoints, 0x12345, 1348, 0, 0x2345},
        {CParTypeT::kCustomPoints, 0x12345, 1349, 0, 0x0001},
        {kV0 + 9, -2, 1378, 0, 0xFFFE},
        {kV0 + 9, -2, 1379, 0, 0xFFFF},
    };
    for (const auto& c : encode) {
        CParTypeT set;
        set.SetValue(c.code, c.value, false);
        set.Registers(c.reg, 1)[0] = c.before;
        set.ParamToRegisters(c.code);
        EXPECT_EQ(set.Registers(c.reg, 1)[0], c.encoded) << c.code << " " << c.value;
    }
    const struct {
        int32_t reg;
        uint16_t value;
        int32_t code;
        int32_t decoded;
    } decode[] = {
        {2058, 0x0038, CParTypeT::kVoltageRange, 1},
        {2058, 0x0028, CParTypeT::kVoltageRange, 0},
        {2058, 0x0008, CParTypeT::kBurnout, 1},
        {2058, 0x00F0, CParTypeT::kBurnout, 0},
        {1287, 0xFFCE, CParTypeT::kColdJunction, -50000},
        {2057, 0xFB2E, CParTypeT::kColdJunctionVolt, -12340},
        {2055, 0xE780, CParTypeT::kStartVolt, -6272},
        {2064, 0xFF9C, CParTypeV::kInputFineZero, -1000},
        {1283, 7, CParTypeT::kDisplayUnit, 7},
        {2063, 0, CParTypeT::kTerminalSelect, 0},
        // 1000.0 Ohm is 0 degC; 1385.1 Ohm is 100 degC.
        {2079, 10000, CParTypeT::kCjmTemperature, 0},
        {2079, 13851, CParTypeT::kCjmTemperature, 1000000},
    };
    for (const auto& c : decode) {
        CParTypeT set;
        set.Registers(c.reg, 1)[0] = c.value;
        set.RegistersToParam(c.code);
        EXPECT_EQ(set.GetValue(c.code), c.decoded) << c.code;
    }
}

// What the program computes for the cold-junction voltage is what the device gives back after a
// download, for every type and cold-junction temperature; a value from a file keeps its tenths.
TEST(TcRegisterTest, ComputedColdJunctionVoltageSurvivesItsRegister) {
    CParTypeT set;
    for (int32_t type = 0; type <= 11; ++type) {
        set.SetValue(CParTypeV::kInputType, type, false);
        for (int32_t cj = -500000; cj <= 1000000; cj += 1370) {
            set.SetValue(CParTypeT::kColdJunction, cj, false);
            const int32_t computed = set.GetValue(CParTypeT::kColdJunctionVolt);
            set.ParamToRegisters(CParTypeT::kColdJunctionVolt);
            set.RegistersToParam(CParTypeT::kColdJunctionVolt);
            ASSERT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), computed) << type << " " << cj;
        }
    }
    set.SetValueFromString(CParTypeT::kColdJunctionVolt, "1.0123", false);
    EXPECT_EQ(set.GetValue(CParTypeT::kColdJunctionVolt), 10123);
}

TEST(TcRegisterTest, LiveVoltageIsSignedAndSaturated) {
    const struct {
        uint16_t high;
        uint16_t low;
        const char* text;
    } cases[] = {
        {0x0000, 0x1000, "4.0960"},
        {0xFFFF, 0xE780, "-6.2720"},
        {0x7FFF, 0xFFFF, "214748.3647"},
        {0x8000, 0x0000, "-214748.3648"},
    };
    for (const auto& c : cases) {
        CParTypeT set;
        set.Registers(2069, 2)[0] = c.high;
        set.Registers(2069, 2)[1] = c.low;
        set.RegistersToParam(CParTypeT::kTcVoltage);
        EXPECT_EQ(set.GetValueString(CParTypeT::kTcVoltage), c.text);
    }
}

TEST(TcTableTest, OutputAndColdJunctionTables) {
    // Type K, -180 to 1372 degC to 4-20 mA: the table runs from -6272 uV in steps of 128 uV.
    CParTypeT k;
    k.SetValue(CParTypeV::kInput0, -1800000, true);
    k.SetValue(CParTypeV::kInput100, 13720000, true);
    const auto table = k.ComputeOutputTable();
    EXPECT_EQ(table[0], 34845);
    EXPECT_EQ(OutputToRegister(table[0]), 8712);
    EXPECT_EQ(table[511], 205154);
    EXPECT_EQ(OutputToRegister(table[511]), 51288);
    for (size_t i = 1; i < table.size(); ++i) ASSERT_GE(table[i], table[i - 1]) << i;

    // Outputs beyond 1.6 and 21.6 mA are held there.
    k.SetValue(CParTypeV::kInput0, 0, true);
    k.SetValue(CParTypeV::kInput100, 1000000, true);
    const auto clamped = k.ComputeOutputTable();
    EXPECT_EQ(clamped[0], 16000);
    EXPECT_EQ(OutputToRegister(clamped[0]), 4000);
    EXPECT_EQ(clamped[511], 216000);
    EXPECT_EQ(OutputToRegister(clamped[511]), 54000);

    // 680.0, 1000.0 and 1486.4 Ohm: about -80.8, 0 and 126.8 degC.
    const auto cj = CParTypeT().ComputeCjTable();
    EXPECT_EQ(cj[0], -2946);
    EXPECT_EQ(cj[25], 0);
    EXPECT_EQ(cj[63], 5199);
}

class TcTransferTest : public SimSetTransferTest {
protected:
    explicit TcTransferTest(const std::string& code = "K9TS")
        : SimSetTransferTest(CSimTcModel::Create(code)) {}

    // Writes from request `from` on, as "W start x count".
    std::vector<std::string> WriteBlocks() const {
        std::vector<std::string> blocks;
        for (const std::string& b : Blocks())
            if (b[0] == 'W') blocks.push_back(b);
        return blocks;
    }
};

TEST_F(TcTransferTest, FullDownloadSequence) {
    CParTypeT set;
    set.SetValue(CParTypeV::kInput0, -1800000, true);
    set.SetValue(CParTypeV::kInput100, 13720000, true);
    set.SetValue(CParTypeT::kCustomPoints, 9, true);
    m_sim.SetRegister(2071, 22222);
    set.DownloadModbus(m_modbus, -1);

    std::vector<std::string> expected = {"R1042x10", "R2073x1", "R2071x1",  "W2072x1",
                                         "W2055x9",  "W1344x6", "W1360x16", "W1376x16"};
    for (int start = 0; start < 512; start += 16) expected.push_back("W" + std::to_string(start) + "x16");
    for (int start = 768; start < 832; start += 16) expected.push_back("W" + std::to_string(start) + "x16");
    for (const char* b : {"W1280x12", "W2060x7", "W2064x4", "W1024x8", "W2072x1"}) expected.push_back(b);
    EXPECT_EQ(Blocks(), expected);
    EXPECT_EQ(Writes().front().values, std::vector<uint16_t>{22222});
    EXPECT_EQ(m_sim.GetRegister(2072), 0);
    // Burnout on, 100 mV range; the table start and period of type K; the K table's first point.
    EXPECT_EQ(m_sim.GetRegister(2058), 0x0028);
    EXPECT_EQ(m_sim.GetRegister(2055), 0xE780);
    EXPECT_EQ(m_sim.GetRegister(2056), 2);
    EXPECT_EQ(m_sim.GetRegister(0), 8712);
    EXPECT_EQ(m_sim.GetRegister(511), 51288);
    EXPECT_EQ(m_sim.GetRegister(768 + 25), 0);
    EXPECT_EQ(m_sim.GetRegister(1348), 9);
    EXPECT_GT(set.GetProgress(), 0);
    EXPECT_LE(set.GetProgress(), 1000);
}

TEST_F(TcTransferTest, FileTableWritesNothingBeyondItsBlocks) {
    CParTypeT set;
    set.SetValue(CParTypeT::kCustomPoints, 1000, false);
    for (int32_t i = 0; i < 300; ++i) set.SetValue(kV0 + i, 10 * i + 1, false);
    set.DownloadModbus(m_modbus, kPartTable);
    int blocks = 0;
    for (const SimRequest& w : Writes()) {
        ++blocks;
        EXPECT_GE(w.start, 1344);
        EXPECT_LE(w.start + w.count, 1960) << w.start;
    }
    EXPECT_EQ(blocks, 1 + 38);
    EXPECT_EQ(m_sim.GetRegister(1958), 2991);
    EXPECT_EQ(m_sim.GetRegister(1348), 1000);
}

TEST_F(TcTransferTest, FullTableUploadReadsNothingBeyondItsBlocks) {
    CParTypeT file;
    file.SetValue(CParTypeT::kCustomPoints, 300, false);
    for (int32_t i = 0; i < 300; ++i) file.SetValue(kV0 + i, 10 * i + 1, false);
    file.DownloadModbus(m_modbus, kPartTable);
    // The device may report any count; only the 300 values travel.
    for (const int32_t points : {300, 1000}) {
        m_sim.SetRegisters(1348, {static_cast<uint16_t>(points), 0});
        const size_t from = m_sim.GetRequestCount();
        CParTypeT device;
        device.UploadModbus(m_modbus, kPartTable);
        const std::vector<std::string> blocks = Blocks(from);
        EXPECT_EQ(blocks.size(), 1u + 38u) << points;
        EXPECT_EQ(blocks.back(), "R1952x8") << points;
        for (int32_t i = 0; i < 300; ++i)
            ASSERT_EQ(device.GetValue(kV0 + i), 10 * i + 1) << points << " " << i;
    }
}

TEST_F(TcTransferTest, RefusalsComeBeforeAnyWrite) {
    // A custom type whose table gives a zero span: no output table.
    CParTypeT flat;
    flat.SetValue(CParTypeV::kInputType, CParTypeT::kTypeCustom100, false);
    flat.SetValue(CParTypeV::kInput100, flat.GetValue(CParTypeV::kInput0), false);
    EXPECT_EQ(ThrownMessage([&] { flat.DownloadModbus(m_modbus, -1); }),
              "100% input should be a from 0.0001 to 9999.0000. ");
    // A first custom value beyond a signed register: the start voltage would wrap.
    CParTypeT wide;
    wide.SetValue(kV0, 400000, false);
    wide.SetValue(kV0 + 1, 500000, false);
    wide.SetValue(CParTypeV::kInputType, CParTypeT::kTypeCustom50, false);
    EXPECT_EQ(wide.GetValue(CParTypeT::kStartVolt), 40000);
    EXPECT_NE(ThrownMessage([&] { wide.DownloadModbus(m_modbus, -1); }).find("(V[0])"), std::string::npos);
    EXPECT_TRUE(Writes().empty());
    // A first value that fits, but cold-junction voltages that do not: refused, not held or wrapped.
    CParTypeT steep;
    steep.SetValue(CParTypeT::kCustomStart, -1000000, false);
    steep.SetValue(CParTypeT::kCustomStep, 10, false);
    steep.SetValue(kV0 + 1, 400000, false);
    steep.SetValue(CParTypeV::kInputType, CParTypeT::kTypeCustom50, false);
    EXPECT_EQ(steep.ComputeCjTable()[63], 40000);
    const std::string cjRefusal =
        "Can not download because the custom TC table gives cold junction voltages beyond the device's "
        "range.";
    EXPECT_EQ(ThrownMessage([&] { steep.DownloadModbus(m_modbus, CParTypeT::kPartCjTable); }), cjRefusal);
    EXPECT_EQ(ThrownMessage([&] { steep.DownloadModbus(m_modbus, -1); }), cjRefusal);
    EXPECT_TRUE(Writes().empty());
    // The output table alone does not carry the start voltage.
    wide.SetValue(CParTypeV::kInput100, 1000000, false);
    wide.DownloadModbus(m_modbus, CParTypeT::kPartOutputTable);
    EXPECT_EQ(Writes().size(), 32u);
}

// A device whose model text has "0" in its 7th place measures type N only, unless in administrator mode.
TEST_F(TcTransferTest, ARestrictedDeviceTakesOnlyTheTypeItMeasures) {
    for (int i = 0; i < 7; ++i) m_sim.SetRegister(1042 + i, static_cast<uint16_t>("K9TS-A0"[i]));
    const std::string refusal = "This device is not support input type \"TC K(CA)\".";
    // Type sent, administrator mode, the type the device holds afterwards.
    const std::tuple<int32_t, bool, uint16_t> cases[] = {
        {CParTypeT::kTypeN, false, 9}, {0, false, 9}, {0, true, 0}};
    for (const auto& [type, admin, held] : cases) {
        const AdminModeScope scope(admin);
        CParTypeT set;
        set.SetValue(CParTypeV::kInputType, type, false);
        const size_t written = Writes().size();
        const bool refused = type != held;
        EXPECT_EQ(ThrownMessage([&] { set.DownloadModbus(m_modbus, -1); }), refused ? refusal : kNoThrow);
        EXPECT_EQ(Writes().size() == written, refused) << type;
        EXPECT_EQ(m_sim.GetRegister(1280), held) << type;
    }
}

TEST_F(TcTransferTest, UploadAndLiveDecode) {
    CParTypeT file;
    file.SetValue(CParTypeV::kInputType, 2, false);
    file.SetValue(CParTypeT::kDisplayUnit, 1, false);
    file.SetValue(CParTypeT::kColdJunction, 320000, true);
    file.SetValue(CParTypeT::kBurnoutValue, 37500, true);
    file.SetValue(CParTypeT::kCustomPoints, 10, true);
    for (int32_t i = 0; i < 10; ++i) file.SetValue(kV0 + i, 1000 * i - 3, true);
    file.DownloadModbus(m_modbus, -1);

    CParTypeT device;
    device.UploadModbus(m_modbus, -1);
    for (int32_t code :
         std::vector<int32_t>{0, 1, 2, 60, 61, 62, 65, 67, 68, 69, 70, 103, 104, CParTypeT::kCustomPoints})
        EXPECT_EQ(device.GetValue(code), file.GetValue(code)) << code;
    EXPECT_EQ(device.GetValue(kV0 + 9), 8997);
    EXPECT_EQ(device.GetValue(kV0 + 10), 0);
    EXPECT_EQ(device.GetValue(CParTypeT::kOutputTableFirst + 100),
              file.GetValue(CParTypeT::kOutputTableFirst + 100) / 4 * 4);
    EXPECT_EQ(device.GetValueString(CParTypeT::kCjTableFirst + 25),
              file.GetValueString(CParTypeT::kCjTableFirst + 25));

    // The device's live inputs: -1234 uV and 1385.1 Ohm (100 degC); output 12 mA.
    m_sim.WithModel([](CSimModel& model) { SetSimTcInputs(model, -1234, 13851); });
    m_sim.SetRegister(2071, 30000);
    device.UploadModbus(m_modbus, kPartLive);
    EXPECT_EQ(device.GetValueString(CParTypeT::kTcVoltage), "-1.2340");
    EXPECT_EQ(device.GetValue(CParTypeT::kCjmTemperature), 1000000);
    EXPECT_EQ(device.GetValueString(CParTypeV::kOutputLive).substr(0, 7), "12.0000");
    // Burnout: the output at burnout, the input percent of the previous poll.
    m_sim.SetRegister(2073, 1);
    device.UploadModbus(m_modbus, kPartLive);
    EXPECT_EQ(device.GetValueString(CParTypeV::kOutputLive).substr(0, 6), "3.7500");
    EXPECT_NE(device.GetStatus() & kStatusBurnout, 0u);
}

class UniversalTcTransferTest : public TcTransferTest {
protected:
    UniversalTcTransferTest() : TcTransferTest("K9U2") {}
};

TEST_F(UniversalTcTransferTest, DownloadSelectsTheThermocoupleKind) {
    CParTypeT set(4);
    set.DownloadModbus(m_modbus, -1);
    EXPECT_EQ(Blocks().front(), "W2077x1");
    EXPECT_EQ(m_sim.GetModelCode(), "K9U0");
    CParTypeT device(4);
    device.UploadModbus(m_modbus, kPartIdentity);
    EXPECT_EQ(device.GetValueString(CParTypeV::kModel), "K9U");
}

class TcAsciiTest : public TcTransferTest {
protected:
    void SetUp() override {
        TcTransferTest::SetUp();
        OpenAscii();
    }
};

TEST_F(TcAsciiTest, CustomTableRoundTrip) {
    CParTypeT file;
    file.SetValue(CParTypeT::kCustomStart, -1234500, false);
    file.SetValue(CParTypeT::kCustomStep, 7, false);
    file.SetValue(CParTypeT::kCustomPoints, 3, false);
    file.SetValue(kV0 + 2, 1234567, false);
    file.DownloadAscii(m_ascii, kPartTable);
    const std::vector<std::string> lines = AsciiLines();
    ASSERT_EQ(lines.size(), 2u + 3u + 300u);
    EXPECT_EQ(lines[1], "I61");
    EXPECT_EQ(lines[2], "DS -123.4500");
    EXPECT_EQ(lines[3], "DP 7");
    EXPECT_EQ(lines[4], "DZ 3");
    EXPECT_EQ(lines[7], "DT2D123.4567");

    CParTypeT device;
    device.UploadAscii(m_ascii, kPartTable);
    for (int32_t code : std::vector<int32_t>{CParTypeT::kCustomStart, CParTypeT::kCustomStep,
                                             CParTypeT::kCustomPoints, kV0 + 1, kV0 + 2})
        EXPECT_EQ(device.GetValue(code), file.GetValue(code)) << code;
}

TEST_F(TcAsciiTest, FullDownloadRefusals) {
    const struct {
        int32_t points;
        std::vector<int32_t> values;
        const char* message;
    } tables[] = {
        {2, {5, 5}, "Can not download because invalid custom TC table.(V[1])"},
        {4, {1, 2, 3, 3}, "Can not download because invalid custom TC table.(V[3])"},
        {4, {9, 8, 9, 7}, "Can not download because invalid custom TC table.(V[2])"},
        // A file's count beyond the table checks the 300 values and no more.
        {5000, {1, 2}, "Can not download because invalid custom TC table.(V[2])"},
    };
    for (const auto& t : tables) {
        CParTypeT set;
        set.SetValue(CParTypeT::kCustomPoints, t.points, false);
        for (size_t i = 0; i < t.values.size(); ++i)
            set.SetValue(kV0 + static_cast<int32_t>(i), t.values[i], false);
        EXPECT_EQ(ThrownMessage([&] { set.DownloadAscii(m_ascii, -1); }), t.message) << t.points;
    }
    EXPECT_TRUE(AsciiLines().empty());

    // A restricted device measures type N only.
    m_sim.SetItem(1, CSimAsciiModel::Field(90, '0'), "K9TS-A0");
    CParTypeT k;
    EXPECT_EQ(ThrownMessage([&] { k.DownloadAscii(m_ascii, -1); }),
              "This device is not support input type \"TC K(CA)\".");
    for (const std::string& line : AsciiLines()) EXPECT_NE(line.substr(0, 2), "DT") << line;
    CParTypeT n;
    n.SetValue(CParTypeV::kInputType, CParTypeT::kTypeN, false);
    n.DownloadAscii(m_ascii, -1);
    EXPECT_EQ(m_sim.GetItem(1, 24), "1");
    EXPECT_EQ(m_sim.GetItem(1, 34), "0.0000");
    EXPECT_EQ(m_sim.GetItem(1, 1), "0");
}

TEST_F(TcAsciiTest, FullDownloadStoresTheCustomTable) {
    CParTypeT file;
    file.SetValue(CParTypeV::kInputType, CParTypeT::kTypeCustom100, false);
    file.SetValue(CParTypeT::kCustomStart, -500000, false);
    file.SetValue(CParTypeT::kCustomStep, 25, false);
    file.SetValue(CParTypeT::kCustomPoints, 5, false);
    for (int32_t i = 0; i < 5; ++i) file.SetValue(kV0 + i, -20000 + 12345 * i, false);
    m_sim.SetItem(1, 1, "3");
    file.DownloadAscii(m_ascii, -1);
    EXPECT_EQ(m_sim.GetItem(1, 1), "3");

    CParTypeT device;
    device.UploadAscii(m_ascii, kPartTable);
    for (int32_t code = CParTypeT::kCustomStart; code <= kV0 + 5; ++code)
        EXPECT_EQ(device.GetValue(code), file.GetValue(code)) << code;
    EXPECT_EQ(device.GetValue(kV0 + 299), 0);
}

TEST_F(TcAsciiTest, MonitorItems) {
    m_sim.SetItem(1, 6, "-1.2345");
    m_sim.SetItem(1, 7, "23.5000");
    CParTypeT set;
    set.UploadAscii(m_ascii, kPartIdentity);
    EXPECT_EQ(set.GetValueString(CParTypeT::kTcVoltage), "-1.2345");
    EXPECT_EQ(set.GetValue(CParTypeT::kCjmTemperature), 235000);
    set.SetValue(CParTypeT::kDisplayUnit, 3, false);
    set.WriteParamAscii(m_ascii, CParTypeT::kDisplayUnit);
    EXPECT_EQ(m_sim.GetItem(1, 21), "7");
}

}  // namespace
