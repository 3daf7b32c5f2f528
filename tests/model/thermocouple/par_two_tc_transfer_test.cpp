#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/universal/par_type_u2.h"
#include "model/universal/par_type_u3.h"
#include "model/thermocouple/par_type_u4.h"
#include "model/thermocouple/par_type_u5.h"
#include "sim/sim_tc.h"
#include "support/sim_fixtures.h"

namespace {

TEST(TwoTcRegisterTest, Packing) {
    const struct {
        int32_t code;
        int32_t value;
        int32_t reg;
        uint16_t before;
        uint16_t encoded;
    } encode[] = {
        {CParTypeU4::kDiff0, -2000000, 1292, 0, 0xFFE1},
        {CParTypeU4::kDiff0, -2000000, 1293, 0, 0x7B80},
        {CParTypeU4::kDiff100, 10000, 1295, 0, 0x2710},
        {CParTwoTc::kInput2FineZero, -150, 2053, 0, 0xFFF1},
        {CParTwoTc::kInput2FineSpan, 10500, 2054, 0, 10500},
        {CParTypeT::kBurnout, 1, 2058, 0x0020, 0x002D},
        {CParTypeT::kVoltageRange, 1, 2058, 0x0008, 0x003D},
    };
    for (const auto& c : encode) {
        CParTypeU4 set;
        set.SetValue(c.code, c.value, false);
        set.Registers(c.reg, 1)[0] = c.before;
        set.ParamToRegisters(c.code);
        EXPECT_EQ(set.Registers(c.reg, 1)[0], c.encoded) << c.code << " " << c.value;
    }
    CParTypeU4 set;
    set.Registers(1292, 2)[0] = 0xFFE1;
    set.Registers(1292, 2)[1] = 0x7B80;
    set.RegistersToParam(CParTypeU4::kDiff0);
    EXPECT_EQ(set.GetValue(CParTypeU4::kDiff0), -2000000);
    set.Registers(2080, 2)[1] = 0x2710;
    set.RegistersToParam(CParTwoTc::kTc2Voltage);
    EXPECT_EQ(set.FormatValue(CParTwoTc::kTc2Voltage, 0, true), "10.0000 (mV)");
    set.Registers(2053, 1)[0] = 0xFFF1;
    set.RegistersToParam(CParTwoTc::kInput2FineZero);
    EXPECT_EQ(set.GetValue(CParTwoTc::kInput2FineZero), -150);
}

class TwoTcTransferTest : public SimSetTransferTest {
protected:
    // One universal device, reporting the millivolt kind until a download selects another.
    TwoTcTransferTest() : SimSetTransferTest(CSimTcModel::Create("K9U2")) {}

    std::vector<std::string> Tail(size_t count) const {
        const std::vector<std::string> all = Blocks();
        return {all.end() - static_cast<std::ptrdiff_t>(std::min(count, all.size())), all.end()};
    }
};

TEST_F(TwoTcTransferTest, DifferenceKindDownloadAndUpload) {
    CParTypeU4 set;
    set.SetValue(CParTypeU4::kDiff0, -2000000, true);
    set.SetValue(CParTypeU4::kDiff100, 500000, true);
    set.SetValue(CParTwoTc::kInput2FineZero, -150, true);
    set.SetValue(CParTwoTc::kInput2FineSpan, 9600, true);
    set.DownloadModbus(m_modbus, kPartAll);
    EXPECT_EQ(Blocks().front(), "W2077x1");
    EXPECT_EQ(m_sim.GetModelCode(), "K9U4");
    // The second input and the difference go after the common blocks, before the output is released.
    const std::vector<std::string> tail = {"W2064x4", "W1024x8", "W2053x2", "W1292x4", "W2072x1"};
    EXPECT_EQ(Tail(tail.size()), tail);
    EXPECT_EQ(m_sim.GetRegister(2058) & 0x0F, 0x0D);
    EXPECT_EQ(m_sim.GetRegister(1292), 0xFFE1);

    CParTypeU4 device;
    device.UploadModbus(m_modbus, kPartAll);
    for (int32_t code : std::vector<int32_t>{3, 4, 10005, 10006, 0, 60, 66})
        EXPECT_EQ(device.GetValue(code), set.GetValue(code)) << code;

    // Live: both voltages; the input value follows the difference points, here 50 % of -200..50 degC.
    m_sim.WithModel([](CSimModel& model) { SetSimTcInputs(model, 1000, 10000, -2000); });
    m_sim.SetRegister(2071, 30000);
    device.UploadModbus(m_modbus, kPartLive);
    device.UploadModbus(m_modbus, kPartLive);
    EXPECT_EQ(device.GetValueString(CParTwoTc::kTc1Voltage), "1.0000");
    EXPECT_EQ(device.GetValueString(CParTwoTc::kTc2Voltage), "-2.0000");
    EXPECT_EQ(device.GetValueString(CParTypeV::kInputLive).substr(0, 8), "-75.000d");
    std::vector<std::string> live = Blocks();
    live.erase(live.begin(), live.end() - 3);
    EXPECT_EQ(live, (std::vector<std::string>{"R2069x11", "R2080x2", "R2055x9"}));
}

TEST_F(TwoTcTransferTest, AverageKindSelectsItsOwnCharacter) {
    CParTypeU5 set;
    set.DownloadModbus(m_modbus, kPartAll);
    EXPECT_EQ(m_sim.GetModelCode(), "K9U5");
    for (const std::string& block : Blocks()) EXPECT_NE(block, "W1292x4");
    EXPECT_EQ(Tail(2), (std::vector<std::string>{"W2053x2", "W2072x1"}));
}

TEST_F(TwoTcTransferTest, MillivoltAndResistanceKinds) {
    CParTypeU3 resistance;
    resistance.DownloadModbus(m_modbus, kPartAll);
    EXPECT_EQ(m_sim.GetModelCode(), "K9U3");
    CParTypeU2 millivolt;
    millivolt.DownloadModbus(m_modbus, kPartAll);
    EXPECT_EQ(m_sim.GetModelCode(), "K9U2");
    EXPECT_EQ(m_sim.GetRegister(2072), 0);
    CParTypeU2 device;
    device.UploadModbus(m_modbus, kPartAll);
    EXPECT_EQ(device.GetValue(CParTypeV::kInputType), millivolt.GetValue(CParTypeV::kInputType));
    EXPECT_EQ(device.GetValueString(CParTypeV::kModel), "K9U");
}

}  // namespace
