#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/set/output_stage.h"
#include "model/rtd/par_type_r.h"
#include "sim/sim_rtd.h"
#include "support/sim_fixtures.h"
#include "support/thrown_message.h"

namespace {

TEST(RtdRegisterTest, Packing) {
    const struct {
        int32_t code;
        int32_t value;
        int32_t reg;
        uint16_t before;
        uint16_t encoded;
    } encode[] = {
        {CParTypeR::kSensorWires, 2, 2058, 0x0000, 0x0003},
        {CParTypeR::kSensorWires, 0, 2058, 0xFF2F, 0x0029},
        {CParTypeR::kBurnout, 1, 2058, 0xFF03, 0x000B},
        {CParTypeR::kBurnout, 0, 2058, 0x002B, 0x0023},
        {CParTypeV::kResistanceRange, 2, 2058, 0xFF0B, 0x002B},
        {CParTypeR::kDisplayUnit, 3, 1283, 0, 3},
        {CParTypeR::kBurnoutValue, 230000, 2059, 0, 57500},
        {CParTypeR::kBurnoutValue, 37500, 2059, 0, 9375},
        {CParTypeR::kOutputHigh, 215000, 2061, 0, 53750},
        {CParTypeR::kOutputLow, 38000, 2062, 0, 9500},
        {CParTypeV::kInputFineZero, -1000, 2064, 0, 0xFFF6},
        {CParTypeV::kInputFineZero, 12399, 2064, 0, 123},
        // A file's value out of its field's range stays within the field's bits.
        {CParTypeR::kSensorWires, 7, 2058, 0x0000, 0x0000},
        {CParTypeR::kSensorWires, INT32_MAX, 2058, 0x0028, 0x0028},
        {CParTypeV::kResistanceRange, 0x1F, 2058, 0x000B, 0x00FB},
        {CParTypeV::kResistanceRange, -1, 2058, 0x000B, 0x00FB},
    };
    for (const auto& c : encode) {
        CParTypeR set;
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
        {2058, 0x0023, CParTypeV::kResistanceRange, 2},   {2058, 0x0023, CParTypeR::kBurnout, 0},
        {2058, 0x0023, CParTypeR::kSensorWires, 2},       {2058, 0x0000, CParTypeR::kSensorWires, 7},
        {2064, 0xFFF6, CParTypeV::kInputFineZero, -1000}, {2059, 57500, CParTypeR::kBurnoutValue, 230000},
        {2061, 53750, CParTypeR::kOutputHigh, 215000},    {1283, 7, CParTypeR::kDisplayUnit, 7},
    };
    for (const auto& c : decode) {
        CParTypeR set;
        set.Registers(c.reg, 1)[0] = c.value;
        set.RegistersToParam(c.code);
        EXPECT_EQ(set.GetValue(c.code), c.decoded) << c.code;
    }
    // An upload stores an output limit out of its typed range as the device holds it.
    CParTypeR set;
    set.Registers(2062, 1)[0] = 10001;
    set.RegistersToParam(CParTypeR::kOutputLow);
    EXPECT_EQ(set.GetValue(CParTypeR::kOutputLow), 40004);
}

TEST(RtdOutputTableTest, Points) {
    CParTypeR pt100;
    pt100.SetValue(CParTypeV::kInput0, 0, true);
    pt100.SetValue(CParTypeV::kInput100, 1000000, true);
    const auto table = pt100.ComputeOutputTable();
    EXPECT_EQ(table[0], 16000);
    EXPECT_EQ(OutputToRegister(table[0]), 4000);
    EXPECT_EQ(table[100], 155873);
    EXPECT_EQ(OutputToRegister(table[100]), 38968);
    EXPECT_EQ(table[111] < 216000, true);
    for (size_t i = 112; i < table.size(); ++i) ASSERT_EQ(table[i], 216000) << i;
    EXPECT_EQ(OutputToRegister(table[112]), 54000);

    // Point 64 of Pt500 over 0-3276.7 Ohm is 409.5875 Ohm, between 409.45 (-46 degC) and 411.45 (-45):
    // -45.93125 degC, 85.6875 % of -54.5 to -44.5, so 17.71 mA exactly.
    CParTypeR pt500;
    pt500.SetValue(CParTypeV::kInputType, 2, false);
    pt500.SetValue(CParTypeV::kInput0, -545000, false);
    pt500.SetValue(CParTypeV::kInput100, -445000, false);
    EXPECT_EQ(pt500.ComputeOutputTable()[64], 177100);
    EXPECT_EQ(OutputToRegister(pt500.ComputeOutputTable()[64]), 44275);

    // A linear custom table over 2.5 kOhm: point 256 lies at 1638.35 Ohm, half of 3276.7.
    CParTypeR custom;
    custom.SetValue(CParTypeR::kResistanceFirst + 1, 32767000, true);
    custom.SetValue(CParTypeV::kInputType, 5, false);
    custom.SetValue(CParTypeV::kInput100, 10000, true);
    EXPECT_EQ(custom.GetValue(CParTypeV::kResistanceRange), 1);
    EXPECT_EQ(custom.ComputeOutputTable()[256], 120000);

    // An unknown range gives every point the temperature of 0 Ohm.
    custom.SetValue(CParTypeV::kResistanceRange, 3, false);
    const auto flat = custom.ComputeOutputTable();
    for (int32_t value : flat) ASSERT_EQ(value, 40000);
}

class RtdTransferTest : public SimSetTransferTest {
protected:
    RtdTransferTest() : SimSetTransferTest(CSimModel::Create("K9RS")) {
        // A device as delivered: 3 wires, burnout on, 0-500 Ohm, 23 mA at burnout, limits 21.5 and 3.8 mA.
        m_sim.SetRegisters(2058, {0x002A, 57500, 0, 53750, 9500});
    }
};

TEST_F(RtdTransferTest, StageBlockCarriesTheSetsDamping) {
    // 2060 inside the output-stage block is the damping coefficient, never a fresh set's zero image.
    CParTypeR set;
    set.SetValue(CParTypeV::kDamping, 20000, true);
    set.DownloadModbus(m_modbus, kPartIdentity);
    CParTypeR reference;
    reference.SetValue(CParTypeV::kDamping, 20000, true);
    reference.ParamToRegisters(CParTypeV::kDamping);
    ASSERT_NE(reference.Registers(2060, 1)[0], 0);
    EXPECT_EQ(m_sim.GetRegister(2060), reference.Registers(2060, 1)[0]);
}

TEST_F(RtdTransferTest, DownloadWritesTheTableWithinItsRegisters) {
    CParTypeR set;
    // A file may carry any number of points.
    set.SetValue(CParTypeR::kCustomPoints, 1000, false);
    for (int32_t i = 0; i < 300; ++i) set.SetValue(CParTypeR::kResistanceFirst + i, 1000000 + i, false);
    m_sim.SetRegister(2071, 22222);
    set.DownloadModbus(m_modbus, -1);

    int tableBlocks = 0;
    for (const SimRequest& w : Writes()) {
        const int end = w.start + w.count;
        if (w.start >= 1344 && w.start < 2048) {
            ++tableBlocks;
            EXPECT_LE(end, 1960) << w.start;
        }
    }
    EXPECT_EQ(tableBlocks, 1 + 38);
    EXPECT_EQ(m_sim.GetRegister(1958), 1000299 & 0xFFFF);
    EXPECT_EQ(m_sim.GetRegister(1959), 1000299 >> 16);
    EXPECT_EQ(m_sim.GetRegister(1348), 1000);
    // The output was held at the present output and released at the end.
    const std::vector<SimRequest> writes = Writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().start, 2072);
    EXPECT_EQ(writes.front().values, std::vector<uint16_t>{22222});
    EXPECT_EQ(writes.back().start, 2072);
    EXPECT_EQ(m_sim.GetRegister(2072), 0);
}

TEST_F(RtdTransferTest, DownloadOutputTablePins) {
    CParTypeR set;
    set.SetValue(CParTypeV::kInput0, 0, true);
    set.SetValue(CParTypeV::kInput100, 1000000, true);
    set.DownloadModbus(m_modbus, 4);
    EXPECT_EQ(m_sim.GetRegister(0), 4000);
    EXPECT_EQ(m_sim.GetRegister(100), 38968);
    EXPECT_EQ(m_sim.GetRegister(511), 54000);
    EXPECT_EQ(set.GetValueString(22100), "15.5873");
    EXPECT_EQ(Blocks().size(), 32u);
}

TEST_F(RtdTransferTest, ZeroSpanIsRefusedBeforeAnythingIsWritten) {
    CParTypeR set;
    set.SetOnline(true);
    m_sim.SetRegisters(1288, {0, 0, 0, 0});
    set.UploadModbus(m_modbus, 0);
    ASSERT_EQ(set.GetValue(CParTypeV::kInput0), set.GetValue(CParTypeV::kInput100));
    const size_t before = m_sim.GetRequestCount();
    EXPECT_EQ(ThrownMessage([&] { set.DownloadModbus(m_modbus, -1); }),
              "100% input should be a from 0.0001 to 902.5000. ");
    EXPECT_EQ(m_sim.GetRequestCount(), before);
}

// A device that stops answering in the middle of a download, for all six attempts of a request, and
// then answers again gets its output released; the user sees the download's failure alone.
TEST_F(RtdTransferTest, FailedDownloadReleasesTheHeldOutput) {
    CParTypeR set;
    m_sim.SetRegister(2073, 1);  // burnout
    m_sim.SetRegister(2059, 57000);
    m_sim.InjectFault(SimFault::Silence(), 8, 8 + CModbusInterface::kAttempts - 1);
    m_modbus.SetDeviceAllowance(kShortDeviceAllowance);
    const std::string message = ThrownMessage([&] { set.DownloadModbus(m_modbus, -1); });
    EXPECT_TRUE(message.ends_with("reason=timeout.")) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    std::vector<uint16_t> holds;
    for (const SimRequest& r : Writes())
        if (r.start == 2072) holds.push_back(r.values.at(0));
    EXPECT_EQ(holds, (std::vector<uint16_t>{57000, 0}));
    EXPECT_EQ(m_sim.GetRegister(2072), 0);
    EXPECT_EQ(set.GetStatus() & kStatusBurnout, kStatusBurnout);
}

TEST_F(RtdTransferTest, UploadRoundTrip) {
    CParTypeR file;
    file.SetValue(CParTypeV::kInputType, 2, false);
    file.SetValue(CParTypeR::kSensorWires, 2, false);
    file.SetValue(CParTypeR::kBurnout, 0, false);
    file.SetValue(CParTypeR::kDisplayUnit, 3, false);
    file.SetValue(CParTypeR::kOutputHigh, 210000, false);
    file.SetValue(CParTypeV::kInputFineZero, -1000, false);
    file.SetValue(CParTypeR::kCustomStart, -500000, false);
    file.SetValue(CParTypeR::kCustomStep, 5, false);
    file.SetValue(CParTypeR::kCustomPoints, 13, false);
    for (int32_t i = 0; i < 13; ++i)
        file.SetValue(CParTypeR::kResistanceFirst + i, 800000 + 12345 * i, false);
    file.DownloadModbus(m_modbus, -1);

    CParTypeR device;
    device.SetOnline(true);
    device.SetValue(CParTypeR::kResistanceFirst + 100, 5, false);
    device.UploadModbus(m_modbus, -1);
    // Identity is the device's own.
    for (int32_t code : file.GetWalkCodes()) {
        if (code >= CParTypeV::kTag) continue;
        EXPECT_EQ(device.GetValueString(code), file.GetValueString(code)) << code;
    }
    // The output table travels in counts of 4e-4 mA.
    for (int32_t i = 0; i < 512; ++i)
        ASSERT_EQ(OutputToRegister(device.GetValue(22000 + i)), OutputToRegister(file.GetValue(22000 + i)))
            << i;
    EXPECT_EQ(device.GetValue(CParTypeR::kResistanceFirst + 100), 0);
}

TEST_F(RtdTransferTest, UploadOfFivePointsReadsOneBlock) {
    m_sim.SetRegisters(1344, {0, 0, 1, 0, 5, 0});
    m_sim.SetRegisters(1360, {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 0xFFFF, 0x7FFF});
    CParTypeR set;
    for (int32_t i = 0; i < 300; ++i) set.SetValue(CParTypeR::kResistanceFirst + i, 99, false);
    set.UploadModbus(m_modbus, 2);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"R1344x6", "R1360x16"}));
    EXPECT_EQ(set.GetValue(CParTypeR::kResistanceFirst + 7), 0x7FFFFFFF);
    EXPECT_EQ(set.GetValue(CParTypeR::kResistanceFirst + 8), 0);
    EXPECT_EQ(set.GetValue(CParTypeR::kResistanceLast), 0);
}

TEST_F(RtdTransferTest, CustomTableUploadReadsNothingBeyondItsRegisters) {
    // R[i] = 100 Ohm + i x 1e-4 Ohm on the device.
    for (int32_t i = 0; i < 300; ++i) {
        const auto r = static_cast<uint32_t>(1000000 + i);
        m_sim.SetRegisters(1360 + 2 * i, {static_cast<uint16_t>(r & 0xFFFF), static_cast<uint16_t>(r >> 16)});
    }
    const struct {
        int32_t points;
        size_t tableBlocks;
        const char* lastBlock;
        int32_t lastRead;  // R[] above stay 0
    } cases[] = {
        {300, 38, "R1952x8", 299},  {1000, 38, "R1952x8", 299}, {297, 38, "R1952x8", 299},
        {296, 37, "R1936x16", 295}, {0, 0, "R1344x6", -1},      {-5, 0, "R1344x6", -1},
    };
    for (const auto& c : cases) {
        const auto points = static_cast<uint32_t>(c.points);
        m_sim.SetRegisters(
            1344, {0, 0, 1, 0, static_cast<uint16_t>(points & 0xFFFF), static_cast<uint16_t>(points >> 16)});
        const size_t from = m_sim.GetRequestCount();
        CParTypeR set;
        for (int32_t i = 0; i < 300; ++i) set.SetValue(CParTypeR::kResistanceFirst + i, 7, false);
        set.UploadModbus(m_modbus, 2);
        const std::vector<std::string> blocks = Blocks(from);
        EXPECT_EQ(blocks.size(), 1 + c.tableBlocks) << c.points;
        EXPECT_EQ(blocks.back(), c.lastBlock) << c.points;
        EXPECT_EQ(set.GetValue(CParTypeR::kCustomPoints), c.points);
        for (int32_t i = 0; i < 300; ++i)
            ASSERT_EQ(set.GetValue(CParTypeR::kResistanceFirst + i), i <= c.lastRead ? 1000000 + i : 0)
                << c.points << " R[" << i << "]";
    }
}

TEST_F(RtdTransferTest, LiveValuesFollowOnePollBehind) {
    struct CRtdProbe : CParTypeR {
        using CParTypeR::SetStatus;
    } set;
    set.SetValue(CParTypeV::kInput0, 0, true);
    set.SetValue(CParTypeV::kInput100, 1000000, true);
    // Raw resistance counts 2000 (x 50 at range 2: 10.0 Ohm), output 12 mA, then loop test at 20 mA.
    m_sim.SetScenario(CSimDevice::Steps({
        {{2069, 0}, {2070, 2000}, {2071, 30000}, {2072, 0}, {2073, 0}},
        {{2071, 40000}},
        {{2072, 50000}},
    }));
    const struct {
        uint32_t status;
        const char* input;
        const char* output;
    } polls[] = {
        {0, "0.000deg C, 0.00%", "12.0000mA, 50.0000%"},
        {0, "50.000deg C, 50.00%", "16.0000mA, 75.0000%"},
        {kStatusLooptest, "Looptest", "20.0000mA, 100.0000%"},
    };
    for (const auto& p : polls) {
        set.UploadModbus(m_modbus, 11);
        EXPECT_EQ(set.GetStatus(), p.status);
        EXPECT_EQ(set.GetValueString(CParTypeV::kInputLive), p.input);
        EXPECT_EQ(set.GetValueString(CParTypeV::kOutputLive), p.output);
        EXPECT_EQ(set.GetValueString(CParTypeR::kRtdResistance), "10.0000");
    }
    // The loop test keeps the input percent, which still lags one poll behind.
    set.SetStatus(0);
    EXPECT_EQ(set.GetValueString(CParTypeV::kInputLive), "50.000deg C, 50.00%");
}

TEST(RtdUniversalTransferTest, DownloadSelectsTheRtdKind) {
    CSimDevice sim("K9U0");
    CModbusInterface modbus(SimSettings(sim));
    OpenPort(modbus.GetSerial());
    modbus.SetConnected(true);
    CParTypeR set(5);
    set.DownloadModbus(modbus, -1);
    EXPECT_EQ(sim.GetModelCode(), "K9U1");
    EXPECT_EQ(sim.GetRequests().front().start, 2077);
}

class RtdAsciiTest : public SimSetTransferTest {
protected:
    RtdAsciiTest() : SimSetTransferTest(CSimRtdModel::Create("K9RS")) {}
    void SetUp() override {
        SimSetTransferTest::SetUp();
        OpenAscii();
    }
};

TEST_F(RtdAsciiTest, CustomTableRoundTrip) {
    CParTypeR file;
    file.SetValue(CParTypeR::kCustomType, 1, false);
    file.SetValue(CParTypeR::kCvdFirst + 1, 12345, false);
    file.SetValue(CParTypeR::kCustomStart, -1234500, false);
    file.SetValue(CParTypeR::kCustomStep, 7, false);
    file.SetValue(CParTypeR::kCustomPoints, 3, false);
    file.SetValue(CParTypeR::kResistanceFirst + 2, 1234567, false);
    file.SetValue(CParTypeR::kDisplayUnit, 3, false);
    file.DownloadAscii(m_ascii, 2);
    file.WriteParamAscii(m_ascii, CParTypeR::kDisplayUnit);
    const std::vector<std::string> lines = AsciiLines();
    ASSERT_EQ(lines.size(), 2u + 8u + 300u + 2u);
    EXPECT_EQ(lines[0], "G01");
    EXPECT_EQ(lines[1], "I61");
    EXPECT_EQ(lines[2], "DM 1");
    EXPECT_EQ(lines[4], "DA 12345");
    EXPECT_EQ(lines[7], "DS -123.4500");
    EXPECT_EQ(lines[8], "DP 7");
    EXPECT_EQ(lines[9], "DZ 3");
    EXPECT_EQ(lines[12], "DT2D123.4567");
    EXPECT_EQ(lines.back(), "D7");

    CParTypeR device;
    device.UploadAscii(m_ascii, 2);
    for (int32_t code : file.GetWalkCodes()) {
        if (code == CParTypeR::kDisplayUnit) continue;
        EXPECT_EQ(device.GetValueString(code), file.GetValueString(code)) << code;
    }
    EXPECT_EQ(device.GetValue(CParTypeR::kCvdFirst + 1), 12345);
    EXPECT_EQ(device.GetValue(CParTypeR::kCustomType), 1);
}

TEST_F(RtdAsciiTest, UnsoundCustomTableIsRefusedBeforeAnythingIsWritten) {
    const struct {
        std::vector<int32_t> r;
        int32_t points;
        const char* message;
    } cases[] = {
        {{100, 100}, 2, "Can not download because invalid custom RTD table.(R[1])"},
        {{100, 200, 150}, 3, "Can not download because invalid custom RTD table.(R[2])"},
        {{300, 200, 200}, 3, "Can not download because invalid custom RTD table.(R[2])"},
        {{100, 200, 300000001},
         3,
         "Can not download because R[2] is too large. This device can be input 30000.0000ohm."},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        set.SetValue(CParTypeR::kCustomPoints, c.points, false);
        for (size_t i = 0; i < c.r.size(); ++i)
            set.SetValue(CParTypeR::kResistanceFirst + static_cast<int32_t>(i), c.r[i], false);
        const size_t before = m_sim.GetRequestCount();
        EXPECT_EQ(ThrownMessage([&] { set.DownloadAscii(m_ascii, -1); }), c.message);
        // Only reads went out: no item 01 write, no table command.
        for (const SimRequest& r : m_sim.GetRequests()) {
            if (r.index < before) continue;
            EXPECT_NE(r.line, "D1");
            EXPECT_NE(r.line.substr(0, 2), "DT");
            EXPECT_NE(r.line.substr(0, 2), "DM");
        }
    }
}

TEST_F(RtdAsciiTest, LiveResistanceAndDisplayUnitItems) {
    m_sim.SetItem(1, 6, "123.45678");
    m_ascii.SelectGroup(1);
    CParTypeR set;
    set.UploadAscii(m_ascii, 10);
    EXPECT_EQ(set.GetValueString(CParTypeR::kRtdResistance), "123.4567");
    set.SetValue(CParTypeR::kSensorWires, 2, false);
    set.WriteParamAscii(m_ascii, CParTypeR::kSensorWires);
    set.WriteParamAscii(m_ascii, CParTypeR::kBurnout);
    EXPECT_EQ(m_sim.GetItem(1, 22), "2");
    EXPECT_EQ(m_sim.GetItem(1, 24), "1");
}

}  // namespace
