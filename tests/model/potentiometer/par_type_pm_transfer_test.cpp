#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/potentiometer/par_type_pm.h"
#include "platform/c_number.h"
#include "sim/sim_rtd.h"
#include "support/sim_fixtures.h"

namespace {

class PotTransferTest : public SimSetTransferTest {
protected:
    PotTransferTest() : SimSetTransferTest(CSimModel::Create("K9PM")) {
        // A device as delivered: burnout on, 23 mA at burnout, limits 21.5 and 3.8 mA.
        m_sim.SetRegisters(2058, {0x000C, 57500, 0, 53750, 9500});
    }
};

TEST(PotRegisterTest, Packing) {
    const struct {
        int32_t code;
        int32_t value;
        int32_t reg;
        uint16_t before;
        uint16_t encoded;
    } cases[] = {
        {CParTypePM::kBurnout, 1, 2058, 0x0000, 0x000C},     {CParTypePM::kBurnout, 0, 2058, 0xFFFF, 0x00F7},
        {CParTypePM::kBurnoutValue, 215000, 2059, 0, 53750}, {CParTypePM::kOutputLow, 40000, 2062, 0, 10000},
        {CParTypeV::kLinearization, 1, 2063, 0, 1},
    };
    for (const auto& c : cases) {
        CParTypePM set;
        set.SetValue(c.code, c.value, false);
        set.Registers(c.reg, 1)[0] = c.before;
        set.ParamToRegisters(c.code);
        EXPECT_EQ(set.Registers(c.reg, 1)[0], c.encoded) << c.code;
        set.SetValue(c.code, c.code == CParTypePM::kBurnout ? 1 - c.value : 38000, false);
        set.RegistersToParam(c.code);
        EXPECT_EQ(set.GetValue(c.code), c.value) << c.code;
    }
}

TEST_F(PotTransferTest, StageBlockCarriesTheSetsDamping) {
    // 2060 inside the output-stage block is the damping coefficient, never a fresh set's zero image.
    CParTypePM set;
    set.SetValue(CParTypeV::kDamping, 20000, true);
    set.DownloadModbus(m_modbus, kPartIdentity);
    CParTypePM reference;
    reference.SetValue(CParTypeV::kDamping, 20000, true);
    reference.ParamToRegisters(CParTypeV::kDamping);
    ASSERT_NE(reference.Registers(2060, 1)[0], 0);
    EXPECT_EQ(m_sim.GetRegister(2060), reference.Registers(2060, 1)[0]);
}

TEST_F(PotTransferTest, FullDownloadBlockSequence) {
    CParTypePM set;
    m_sim.SetRegister(2071, 31000);
    set.DownloadModbus(m_modbus, -1);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"R2073x1",  "R2071x1", "W2072x1", "W2058x5", "W1344x6",
                                                  "W1360x16", "W0x16",   "W16x16",  "W32x16",  "W48x16",
                                                  "W64x16",   "W80x16",  "W96x16",  "W112x16", "W128x16",
                                                  "W1280x12", "W2060x7", "W2064x4", "W1024x8", "W2072x1"}));
    const std::vector<SimRequest> writes = Writes();
    EXPECT_EQ(writes.front().values, std::vector<uint16_t>{31000});
    EXPECT_EQ(writes.back().values, std::vector<uint16_t>{0});
    // Default points: -15, 50 and 115 % mapped to themselves; the fourth pair goes as stored.
    const std::vector<uint16_t> points{0xB610, 0xFFFD, 0xB610, 0xFFFD, 0xA120, 0x0007, 0xA120, 0x0007,
                                       0x8C30, 0x0011, 0x8C30, 0x0011, 0,      0,      0,      0};
    EXPECT_EQ(writes[3].values, points);
    EXPECT_EQ(m_sim.GetRegister(1348), 3);
    EXPECT_EQ(m_sim.GetRegister(0), 4000);
    EXPECT_EQ(m_sim.GetRegister(15), 10000);
    EXPECT_EQ(m_sim.GetRegister(115), 50000);
    EXPECT_EQ(m_sim.GetRegister(130), 56000);
    EXPECT_EQ(set.GetValueString(CParTypePM::kOutputTableFirst + 15), "1.0000");
    EXPECT_EQ(m_sim.GetRegister(2058), 0x000C);
}

TEST_F(PotTransferTest, HundredAndOnePointsGoInTwentySixBlocks) {
    CParTypePM set;
    set.SetValue(CParTypeV::kPointCount, 101, true);
    set.SetValue(CParTypeV::kPointLast - 1, 1000000, true);
    set.SetValue(CParTypeV::kPointLast, 1100000, true);
    set.DownloadModbus(m_modbus, -1);
    int blocks = 0;
    SimRequest last;
    for (const SimRequest& w : Writes()) {
        if (w.start < 1360 || w.start >= 2048) continue;
        ++blocks;
        last = w;
    }
    EXPECT_EQ(blocks, 26);
    EXPECT_EQ(last.start, 1360 + 400);
    EXPECT_EQ(last.values,
              (std::vector<uint16_t>{0x4240, 0x000F, 0xC8E0, 0x0010, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PotTransferTest, UploadKeepsToTheLinearizerRegisters) {
    // Whatever count the device reports, reads stay within the 101 pairs at 1360 to 1775.
    const struct {
        int32_t points;
        size_t pointBlocks;
    } cases[] = {{101, 26}, {1000, 26}, {100, 25}, {0, 0}, {-1, 0}};
    for (const auto& c : cases) {
        const auto points = static_cast<uint32_t>(c.points);
        m_sim.SetRegisters(
            1344, {0, 0, 0, 0, static_cast<uint16_t>(points & 0xFFFF), static_cast<uint16_t>(points >> 16)});
        const size_t from = m_sim.GetRequestCount();
        CParTypePM set;
        set.UploadModbus(m_modbus, 2);
        const std::vector<std::string> blocks = Blocks(from);
        EXPECT_EQ(blocks.size(), 1 + c.pointBlocks) << c.points;
        if (c.pointBlocks == 26) {
            EXPECT_EQ(blocks.back(), "R1760x16");
        }
        EXPECT_EQ(set.GetValue(CParTypeV::kPointCount), c.points);
    }
}

TEST_F(PotTransferTest, UploadTruncatesPositionsToWholePercents) {
    m_sim.SetRegisters(1344, {0, 0, 0, 0, 2, 0});
    // X[0] 12.3456 %, Y[0] -3 %, X[1] 99.9999 %, Y[1] 100 %.
    m_sim.SetRegisters(1360, {0xE240, 0x0001, 0x8AD0, 0xFFFF, 0x423F, 0x000F, 0x4240, 0x000F});
    CParTypePM set;
    set.SetValue(CParTypeV::kPointFirst + 20, 500000, false);
    set.UploadModbus(m_modbus, 2);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"R1344x6", "R1360x16"}));
    EXPECT_EQ(set.GetValue(CParTypeV::kPointCount), 2);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst), 120000);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 1), -30000);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 2), 990000);
    EXPECT_EQ(set.GetValue(CParTypeV::kPointFirst + 20), 0);
}

TEST_F(PotTransferTest, LiveDecode) {
    const struct {
        int32_t input0;
        int32_t input100;
        int32_t position;
        uint16_t hold;
        uint16_t status;
        const char* input;
        const char* output;
    } polls[] = {
        {0, 1000000, 100000, 0, 0, "10.0000%, 10.0000%", "4.0000mA, 0.0000%"},
        {200000, 600000, 400000, 0, 0, "40.0000%, 50.0000%", "4.0000mA, 0.0000%"},
        // A new device holds equal 0 % and 100 % inputs.
        {0, 0, 500000, 0, 0, "50.0000%, 0.0000%", "4.0000mA, 0.0000%"},
        {0, 1000000, 0, 50000, 0, "Looptest", "20.0000mA, 100.0000%"},
        {0, 1000000, 0, 0, 1, "Burnout", "23.0000mA, 118.7500%"},
    };
    for (const auto& p : polls) {
        m_sim.WithModel([&](CSimModel& model) {
            SetSimPosition(model, p.position);
            model.SetRegister(2072, p.hold);
            model.SetRegister(2073, p.status);
            const auto in0 = static_cast<uint32_t>(p.input0);
            const auto in100 = static_cast<uint32_t>(p.input100);
            model.SetRegister(1288, static_cast<uint16_t>(in0 >> 16));
            model.SetRegister(1289, static_cast<uint16_t>(in0 & 0xFFFF));
            model.SetRegister(1290, static_cast<uint16_t>(in100 >> 16));
            model.SetRegister(1291, static_cast<uint16_t>(in100 & 0xFFFF));
        });
        CParTypePM set;
        set.SetOnline(true);
        set.UploadModbus(m_modbus, 0);
        set.UploadModbus(m_modbus, 11);
        EXPECT_EQ(set.GetValueString(CParTypeV::kInputLive), p.input) << p.position;
        EXPECT_EQ(set.GetValueString(CParTypeV::kOutputLive), p.output) << p.position;
        EXPECT_EQ(set.GetValueString(CParTypePM::kPresentPosition), FormatC("%.4lf", p.position / 10000.0));
    }
}

}  // namespace
