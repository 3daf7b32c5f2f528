#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/modbus_interface.h"
#include "link/private_exception.h"
#include "support/sim_fixtures.h"
#include "support/transfer_probe.h"

namespace {

using BlockList = std::vector<std::string>;

class ModbusTransferTest : public SimTransferTest {
protected:
    ModbusTransferTest() : m_modbus(Settings()) {}
    void SetUp() override {
        SimTransferTest::SetUp();
        OpenPort(m_modbus.GetSerial());
        m_modbus.SetConnected(true);
    }

    // A set whose every value differs from the defaults and from the device's registers.
    static void Fill(CTransferProbe& set) {
        set.SetValue(0, 1, false);
        set.SetValue(1, -10000000, false);
        set.SetValue(2, 10000000, false);
        set.SetValue(51, 10000, false);
        set.SetValue(101, 40000, false);
        set.SetValue(102, 200000, false);
        set.SetValue(10000, 123, false);
        set.SetValue(10002, 10100, false);
        set.SetValue(10003, -250, false);
        set.SetValue(10004, 9900, false);
        set.SetValueFromString(62000, "XYZ", false);
        set.SetValueFromString(62002, "K9R", false);
        set.SetValueFromString(62003, "12345678", false);
        set.SetValue(62004, 3, false);
    }

    std::vector<uint16_t> WrittenValues(size_t request) const {
        return m_sim.GetRequests().at(request).values;
    }

    CModbusInterface m_modbus;
};

TEST_F(ModbusTransferTest, FullDownloadWritesTheBlocksInOrder) {
    const struct {
        bool admin;
        BlockList blocks;
        int32_t steps;
    } cases[] = {
        {false, {"W1280x12", "W2060x7", "W2064x4", "W1024x8"}, 14},
        {true, {"W1280x12", "W2060x7", "W2064x4", "W1024x8", "W1042x10", "W1056x9"}, 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.admin);
        AdminModeScope admin(c.admin);
        const size_t before = m_sim.GetRequestCount();
        CTransferProbe set;
        Fill(set);
        set.DownloadModbus(m_modbus, -1);
        BlockList blocks = Blocks();
        EXPECT_EQ(BlockList(blocks.begin() + static_cast<long>(before), blocks.end()), c.blocks);
        EXPECT_EQ(set.Steps(), c.steps);
        // The coefficient block carries the set's own fine values, not the fresh image's zeros.
        EXPECT_EQ(WrittenValues(before + 1), (std::vector<uint16_t>{21605, 0, 0, 0, 123, 10100, 0xFF06}));
        EXPECT_EQ(m_sim.GetRegisters(1280, 12),
                  (std::vector<uint16_t>{1, 0, 0, 0, 4000, 20000, 10, 0, 0xFF67, 0x6980, 0x0098, 0x9680}));
        EXPECT_EQ(m_sim.GetRegisters(2064, 4), (std::vector<uint16_t>{123, 10100, 0xFF06, 9900}));
        EXPECT_EQ(m_sim.GetRegisters(1024, 2), (std::vector<uint16_t>{0x5958, 0x005A}));
    }
    EXPECT_EQ(m_sim.GetRegisters(1056, 9),
              (std::vector<uint16_t>{'1', '2', '3', '4', '5', '6', '7', '8', 3}));
}

TEST_F(ModbusTransferTest, EachPartDownloadsOnlyItsBlocks) {
    const struct {
        int32_t part;
        BlockList blocks;
        int32_t steps;
    } cases[] = {
        {0, {"W1280x12", "W2060x7"}, 9},
        {1, {"W2064x4"}, 4},
        {2, {}, 0},
        {10, {"W1024x8"}, 1},
        {11, {}, 0},
        {12, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        const size_t before = m_sim.GetRequestCount();
        CTransferProbe set;
        set.DownloadModbus(m_modbus, c.part);
        BlockList blocks = Blocks();
        EXPECT_EQ(BlockList(blocks.begin() + static_cast<long>(before), blocks.end()), c.blocks);
        EXPECT_EQ(set.Steps(), c.steps);
    }
}

TEST_F(ModbusTransferTest, ARefusedThirdWriteEndsTheDownloadThere) {
    m_sim.SetRegisters(2064, {0xAAAA, 0xAAAA, 0xAAAA, 0xAAAA});
    m_sim.SetRegister(1024, 0xAAAA);
    m_sim.InjectFaultFrom(2, SimFault::Exception(2));
    CTransferProbe set;
    Fill(set);
    EXPECT_THROW(set.DownloadModbus(m_modbus, -1), CPrivateException);
    const BlockList blocks = Blocks();
    ASSERT_GE(blocks.size(), 3u);
    EXPECT_EQ(BlockList(blocks.begin(), blocks.begin() + 3), (BlockList{"W1280x12", "W2060x7", "W2064x4"}));
    for (size_t i = 3; i < blocks.size(); ++i) EXPECT_EQ(blocks[i], "W2064x4");  // the master's retries
    EXPECT_EQ(m_sim.GetRegisters(1280, 1), std::vector<uint16_t>{1});
    // The coefficient block already set 2064 to 2066 from the set; 2067 never arrived.
    EXPECT_EQ(m_sim.GetRegisters(2064, 4), (std::vector<uint16_t>{123, 10100, 0xFF06, 0xAAAA}));
    EXPECT_EQ(m_sim.GetRegisters(1024, 1), std::vector<uint16_t>{0xAAAA});
    EXPECT_EQ(set.Steps(), 9);
}

TEST_F(ModbusTransferTest, FullUploadReadsTheBlocksAndDecodes) {
    m_sim.SetRegisters(1280, {2, 0, 0, 0, 5000, 15000, 15, 0, 0xFFFE, 0x7960, 0x0001, 0x86A0});
    m_sim.SetRegisters(2064, {0xFFF6, 10100, 0xFF06, 9900});
    m_sim.SetRegisters(1024, {0x4241, 0x0043});
    m_sim.SetRegisters(1042, {'K', '9', 'R', 0});
    m_sim.SetRegisters(1056, {'S', 'N', '1', 0, 0, 0, 0, 0, 7});
    m_sim.SetRegisters(2072, {5, 3});
    m_sim.SetRegister(2078, 123);
    CTransferProbe set;
    set.SetValue(50, 1, false);
    set.SetValue(100, 2, false);
    set.UploadModbus(m_modbus, -1);
    EXPECT_EQ(Blocks(),
              (BlockList{"R1280x12", "R2055x9", "R2064x4", "R1024x16", "R1042x10", "R1056x9", "R2072x7"}));
    const struct {
        int32_t code;
        const char* text;
    } values[] = {
        {0, "2"},           {1, "-10.0000"},   {2, "10.0000"},   {51, "1.5"},
        {100, "0"},         {101, "5.0000"},   {102, "15.0000"}, {10002, "1.0100"},
        {10003, "-2.5000"}, {10004, "0.9900"}, {62000, "ABC"},   {62002, "K9R"},
        {62003, "SN1"},     {62004, "7"},      {62005, "123"},   {61000, "Burnout, Looptest, AD Err"},
    };
    for (const auto& v : values) EXPECT_EQ(set.GetValueString(v.code), v.text) << v.code;
    EXPECT_EQ(set.Steps(), 17);
}

TEST_F(ModbusTransferTest, StatusUploadSetsAndClearsOnlyItsBits) {
    const struct {
        uint16_t hold;
        uint16_t status;
        uint32_t before;
        uint32_t after;
    } cases[] = {
        {5, 3, 0, 0x1000 | 0x200 | 0x2000},
        {0, 0, 0x1000 | 0x200 | 0x2000 | 0x4000, 0x4000},
        {1, 2, 0x200, 0x1000 | 0x2000},
        {0, 0xFFFC, 0, 0},
    };
    for (const auto& c : cases) {
        m_sim.SetRegisters(2072, {c.hold, c.status});
        CTransferProbe set;
        set.SetStatus(c.before);
        set.UploadModbus(m_modbus, 12);
        EXPECT_EQ(set.GetStatus(), c.after) << c.hold << " " << c.status;
    }
}

TEST_F(ModbusTransferTest, SingleParametersMoveTheirOwnBlocks) {
    const struct {
        int32_t code;
        bool admin;
        BlockList write;
        BlockList read;
    } cases[] = {
        {0, false, {"W1280x7"}, {"R1280x12"}},     {1, false, {"W1288x2"}, {"R1280x12"}},
        {2, false, {"W1290x2"}, {"R1280x12"}},     {51, false, {"W1286x1", "W2060x1"}, {"R1280x12"}},
        {101, false, {"W1280x7"}, {"R1280x12"}},   {10000, false, {"W2064x1"}, {"R1280x12"}},
        {10002, false, {"W2065x1"}, {"R1280x12"}}, {10003, false, {"W2066x1"}, {"R1280x12"}},
        {10004, false, {"W2067x1"}, {"R1280x12"}}, {62000, false, {"W1024x8"}, {"R1024x16"}},
        {62002, false, {}, {"R1042x10"}},          {62003, false, {}, {"R1056x8"}},
        {62004, false, {}, {"R1064x1"}},           {62002, true, {"W1042x10"}, {"R1042x10"}},
        {62003, true, {"W1056x8"}, {"R1056x8"}},   {62004, true, {"W1064x1"}, {"R1064x1"}},
        {62005, false, {"W1280x7"}, {"R2078x1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << (c.admin ? " admin" : ""));
        AdminModeScope admin(c.admin);
        CTransferProbe set;
        Fill(set);
        size_t before = Blocks().size();
        set.WriteParamModbus(m_modbus, c.code);
        BlockList blocks = Blocks();
        EXPECT_EQ(BlockList(blocks.begin() + static_cast<long>(before), blocks.end()), c.write);
        before = blocks.size();
        set.ReadParamModbus(m_modbus, c.code);
        blocks = Blocks();
        EXPECT_EQ(BlockList(blocks.begin() + static_cast<long>(before), blocks.end()), c.read);
    }
}

TEST_F(ModbusTransferTest, ReadingResponseSpeedOrOutputTypeGivesZero) {
    for (int32_t code : {50, 100}) {
        CTransferProbe set;
        set.SetValue(code, 1, false);
        set.ReadParamModbus(m_modbus, code);
        EXPECT_EQ(set.GetValue(code), 0) << code;
    }
    EXPECT_EQ(Blocks(), (BlockList{"R1280x12", "R1280x12"}));
}

}  // namespace
