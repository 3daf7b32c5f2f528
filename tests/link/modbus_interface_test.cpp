#include "link/modbus_interface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <vector>

#include "link/comm_interface.h"
#include "link/modbus_crc.h"
#include "platform/exception.h"
#include "support/scaled_timing.h"
#include "sim/sim_device.h"
#include "sim/sim_frames.h"
#include "support/sim_connection.h"

namespace {
class ModbusTest : public ScaledTiming {
protected:
    ModbusTest() : m_modbus(SimSettings(m_sim)) {}
    void SetUp() override {
        ScaledTiming::SetUp();
        OpenPort(m_modbus.GetSerial());
        m_modbus.SetConnected(true);
    }

    std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame) {
        const uint16_t crc = ModbusCrc16(frame.data(), frame.size());
        frame.push_back(static_cast<uint8_t>(crc & 0xFF));
        frame.push_back(static_cast<uint8_t>(crc >> 8));
        return frame;
    }

    CSimDevice m_sim{"K9RS"};
    CModbusInterface m_modbus;
};

std::string FailureOf(const std::function<void()>& request) {
    try {
        request();
    } catch (const CException& e) {
        return e.what();
    }
    return "no failure";
}
}  // namespace

TEST_F(ModbusTest, ReadSendsTheExactFrameAndStoresHighByteFirst) {
    m_modbus.Connect(ProgramLineSettings(m_sim));
    m_sim.SetRegisters(2074, {0x124B, 0x0039, 0xAB52, 0x0053});
    uint16_t values[4] = {};
    ASSERT_TRUE(m_modbus.ReadHoldingRegister(2074, 4, values));
    const std::vector<SimRequest> requests = m_sim.GetRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw, (std::vector<uint8_t>{0x01, 0x03, 0x08, 0x1A, 0x00, 0x04, 0x67, 0xAE}));
    EXPECT_EQ(std::vector<uint16_t>(values, values + 4),
              (std::vector<uint16_t>{0x124B, 0x0039, 0xAB52, 0x0053}));
    EXPECT_EQ(m_modbus.GetSerial().GetReadTimeout(), 2297u);
}

TEST_F(ModbusTest, WriteSendsTheExactFrame) {
    const uint16_t values[2] = {0x1234, 0xABCD};
    ASSERT_TRUE(m_modbus.WriteMultipleRegisters(1280, 2, values));
    const std::vector<SimRequest> requests = m_sim.GetRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw, WithCrc({0x01, 0x10, 0x05, 0x00, 0x00, 0x02, 0x04, 0x12, 0x34, 0xAB, 0xCD}));
    EXPECT_EQ(m_sim.GetRegisters(1280, 2), (std::vector<uint16_t>{0x1234, 0xABCD}));
}

// A reply later than the line time and a short allowance is given up on and asked for again; the
// program's own allowance waits for the same reply.
TEST_F(ModbusTest, TheDeviceAllowanceSetsTheReplyTimeout) {
    const unsigned line = CModbusInterface::ReplyTimeout(6, 11, CComSettings::BaudRate(kFastestBaudIndex), 0);
    // Past the short time-out by an allowance, well within the program's.
    const std::chrono::milliseconds late(line + 2 * kShortDeviceAllowance);
    ASSERT_LT(late.count() + kShortDeviceAllowance, line + CModbusInterface::kDeviceAllowance);
    m_sim.SetRegisters(2074, {5, 6, 7, 8});
    for (const unsigned allowance : {CModbusInterface::kDeviceAllowance, kShortDeviceAllowance}) {
        m_modbus.SetDeviceAllowance(allowance);
        const std::size_t before = m_sim.GetRequestCount();
        m_sim.InjectFault(SimFault::Late(late), before, before);
        uint16_t values[4] = {};
        ASSERT_TRUE(m_modbus.ReadHoldingRegister(2074, 4, values)) << allowance;
        EXPECT_EQ(std::vector<uint16_t>(values, values + 4), (std::vector<uint16_t>{5, 6, 7, 8}))
            << allowance;
        EXPECT_EQ(m_sim.GetRequestCount() - before, allowance == kShortDeviceAllowance ? 2u : 1u)
            << allowance;
    }
}

TEST(ModbusTimeout, FollowsTheLineSpeed) {
    struct Case {
        std::size_t request, reply;
        unsigned baud, expected;
    };
    const Case cases[] = {
        {6, 11, 1200, 2297},  // 4 registers read
        {15, 6, 1200, 2354},  // 4 registers written
        {6, 11, 38400, 2009},
        {6, 253, 1200, 2000 + 263 * 17000 / 1200},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CModbusInterface::ReplyTimeout(c.request, c.reply, c.baud), c.expected) << c.request;
    }
}

TEST_F(ModbusTest, FailuresAreClassifiedAfterSixAttempts) {
    struct Case {
        const char* name;
        SimFault fault;
        bool write;
        uint16_t start;
        std::string message;
    };
    const std::string read = "Modbus command failed. command=ReadHoldingRegister address=2075 size=4 reason=";
    const std::string write =
        "Modbus command failed. command=WriteMultipleRegisters address=1280 size=4 reason=";
    const Case cases[] = {
        {"exception", SimFault::Exception(2), false, 2074, read + "receive exception 2."},
        {"wrong crc", SimFault::BadCrc(), false, 2074, read + "crc error."},
        {"short frame", SimFault::ShortFrame(1), false, 2074, read + "invalid response."},
        {"silence", SimFault::Silence(), false, 2074, read + "timeout."},
        {"write silence", SimFault::Silence(), true, 1280, write + "timeout."},
        {"write wrong crc", SimFault::BadCrc(), true, 1280, write + "crc error."},
        // Well-formed frames that do not answer this request: never taken for its reply.
        {"other slave", SimFault::Replace(SimReadReply({1, 2, 3, 4}, 2)), false, 2074,
         read + "invalid response."},
        {"other function", SimFault::Replace(SimFrame({1, 4, 8, 0, 1, 0, 2, 0, 3, 0, 4})), false, 2074,
         read + "invalid response."},
        {"byte count", SimFault::Replace(SimFrame({1, 3, 6, 0, 1, 0, 2, 0, 3, 0, 4})), false, 2074,
         read + "invalid response."},
        {"other slave's exception", SimFault::Replace(SimFrame({2, 0x83, 2})), false, 2074,
         read + "invalid response."},
        {"other function's exception", SimFault::Replace(SimFrame({1, 0x90, 2})), false, 2074,
         read + "invalid response."},
        {"exception with wrong crc", SimFault::Replace({1, 0x83, 2, 0, 0}), false, 2074, read + "crc error."},
        {"write other slave", SimFault::Replace(SimFrame({2, 16, 5, 0, 0, 4})), true, 1280,
         write + "invalid response."},
        {"write other function", SimFault::Replace(SimFrame({1, 6, 5, 0, 0, 4})), true, 1280,
         write + "invalid response."},
        {"write other address", SimFault::Replace(SimFrame({1, 16, 5, 1, 0, 4})), true, 1280,
         write + "invalid response."},
        {"write other count", SimFault::Replace(SimFrame({1, 16, 5, 0, 0, 3})), true, 1280,
         write + "invalid response."},
    };
    m_modbus.SetDeviceAllowance(kShortDeviceAllowance);
    for (const Case& c : cases) {
        m_sim.ClearFaults();
        const std::size_t before = m_sim.GetRequestCount();
        m_sim.InjectFaultFrom(before, c.fault);
        uint16_t values[4] = {1, 2, 3, 4};
        EXPECT_EQ(FailureOf([&] {
                      if (c.write) {
                          m_modbus.WriteMultipleRegisters(c.start, 4, values);
                      } else {
                          m_modbus.ReadHoldingRegister(c.start, 4, values);
                      }
                  }),
                  c.message)
            << c.name;
        EXPECT_EQ(m_sim.GetRequestCount() - before, 6u) << c.name;
    }
}

TEST_F(ModbusTest, UnmappedRegistersAreRefusedByTheDevice) {
    uint16_t values[2] = {};
    EXPECT_EQ(
        FailureOf([&] { m_modbus.ReadHoldingRegister(4000, 2, values); }),
        "Modbus command failed. command=ReadHoldingRegister address=4001 size=2 reason=receive exception 2.");
}

TEST_F(ModbusTest, OneBadReplyIsRetried) {
    m_sim.SetRegisters(2069, {7, 8});
    m_sim.InjectFaultNext(SimFault::BadCrc());
    uint16_t values[2] = {};
    ASSERT_TRUE(m_modbus.ReadHoldingRegister(2069, 2, values));
    EXPECT_EQ(values[0], 7);
    EXPECT_EQ(values[1], 8);
    EXPECT_EQ(m_sim.GetRequestCount(), 2u);
}

TEST_F(ModbusTest, StaleReplyNeverAnswersTheNextRequest) {
    // Two reads of the same length, as the live poll alternates them. The first is answered twice, as
    // when a reply the master gave up on arrives after all: the copy waits on the line when the second
    // read goes out.
    m_sim.SetRegisters(2069, {1, 2, 3, 4, 5});
    m_sim.SetRegisters(2074, {11, 12, 13, 14, 15});
    std::vector<uint8_t> reply = WithCrc(
        {0x01, 0x03, 0x0A, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05});
    const std::vector<uint8_t> once = reply;
    reply.insert(reply.end(), once.begin(), once.end());
    m_sim.InjectFaultNext(SimFault::Replace(reply));
    uint16_t first[5] = {};
    uint16_t second[5] = {};
    ASSERT_TRUE(m_modbus.ReadHoldingRegister(2069, 5, first));
    ASSERT_TRUE(m_modbus.ReadHoldingRegister(2074, 5, second));
    EXPECT_EQ(std::vector<uint16_t>(first, first + 5), (std::vector<uint16_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(std::vector<uint16_t>(second, second + 5), (std::vector<uint16_t>{11, 12, 13, 14, 15}));
    EXPECT_EQ(m_sim.GetRequestCount(), 2u);
}

TEST_F(ModbusTest, HangUpEndsTheRequestAtOnce) {
    const std::string lost = "Communication port SIM was disconnected or stopped working.";
    struct Case {
        const char* name;
        bool beforeRequest;
        bool write;
    };
    const Case cases[] = {
        {"read, line already down", true, false},
        {"read, device hangs up instead of replying", false, false},
        {"write, device hangs up instead of replying", false, true},
    };
    for (const Case& c : cases) {
        CSimDevice sim("K9RS");
        CModbusInterface modbus(SimSettings(sim));
        OpenPort(modbus.GetSerial());
        if (c.beforeRequest) {
            sim.HangUp();
        } else {
            sim.InjectFaultNext(SimFault::HangUp());
        }
        uint16_t values[4] = {1, 2, 3, 4};
        const Stopwatch watch;
        EXPECT_EQ(FailureOf([&] {
                      if (c.write) {
                          modbus.WriteMultipleRegisters(1280, 4, values);
                      } else {
                          modbus.ReadHoldingRegister(2074, 4, values);
                      }
                  }),
                  lost)
            << c.name;
        // One reply time-out is 2.3 s; six of them would follow without the hang-up being noticed.
        EXPECT_LT(watch.Ms(), 2000) << c.name;
        EXPECT_LE(sim.GetRequestCount(), 1u) << c.name;
    }
}

TEST_F(ModbusTest, CountsOneFrameCannotCarryAreRefusedUnsent) {
    struct Case {
        bool write;
        int32_t count;
        bool ok;
    };
    const Case cases[] = {
        {false, 0, false}, {false, -1, false}, {false, 126, false}, {false, 125, true}, {false, 1, true},
        {true, 0, false},  {true, 124, false}, {true, 123, true},   {true, 1, true},
    };
    std::vector<uint16_t> values(200, 0x0101);
    for (const Case& c : cases) {
        const std::size_t before = m_sim.GetRequestCount();
        const auto request = [&] {
            return c.write ? m_modbus.WriteMultipleRegisters(0, c.count, values.data())
                           : m_modbus.ReadHoldingRegister(0, c.count, values.data());
        };
        if (c.ok) {
            EXPECT_TRUE(request()) << c.write << " " << c.count;
            EXPECT_EQ(m_sim.GetRequestCount(), before + 1) << c.write << " " << c.count;
        } else {
            EXPECT_THROW(request(), std::invalid_argument) << c.write << " " << c.count;
            EXPECT_EQ(m_sim.GetRequestCount(), before) << c.write << " " << c.count;
        }
    }
}

TEST_F(ModbusTest, ClosedMasterFailsAtOnceWithoutSending) {
    m_modbus.Close();
    EXPECT_FALSE(m_modbus.IsConnected());
    EXPECT_FALSE(m_modbus.GetSerial().IsOpen());
    uint16_t values[4] = {};
    const Stopwatch watch;
    EXPECT_EQ(FailureOf([&] { m_modbus.ReadHoldingRegister(2074, 4, values); }),
              "Modbus command failed. command=ReadHoldingRegister address=2075 size=4 reason=timeout.");
    EXPECT_LT(watch.Ms(), 100);
    EXPECT_EQ(m_sim.GetRequestCount(), 0u);
    // Opening again clears the cancellation.
    OpenPort(m_modbus.GetSerial());
    EXPECT_TRUE(m_modbus.ReadHoldingRegister(2074, 4, values));
}

TEST_F(ModbusTest, TheOtherProtocolCannotOpenTheSamePort) {
    CCommInterface ascii(SimSettings(m_sim, "Zenta line"));
    EXPECT_EQ(FailureOf([&] { ascii.GetSerial().Open(); }),
              "Communication port Zenta line can not be opened. It is already in use, by another program or "
              "by a connection of "
              "this one. Close that program or disconnect, or choose another port in Settings.");
    m_modbus.Close();
    EXPECT_NO_THROW(ascii.GetSerial().Open());
}

// The one exchange at the exact protocol timing: the fixed pauses after send, after receive and after
// a read are really taken.
class ModbusRealTimingTest : public ScaledTiming {
protected:
    ModbusRealTimingTest() : ScaledTiming(1) {}
};

TEST_F(ModbusRealTimingTest, ReadTakesItsFixedPauses) {
    CSimDevice sim("K9RS");
    CModbusInterface modbus(ProgramLineSettings(sim));
    OpenPort(modbus.GetSerial());
    uint16_t values[4] = {};
    const Stopwatch watch;
    ASSERT_TRUE(modbus.ReadHoldingRegister(2074, 4, values));
    const long long ms = watch.Ms();
    EXPECT_GE(ms, 10 + 101 + 100);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(sim.GetModelCode(),
              std::string({static_cast<char>(values[0] & 0xFF), static_cast<char>(values[1] & 0xFF),
                           static_cast<char>(values[2] & 0xFF), static_cast<char>(values[3] & 0xFF)}));
}

// A frame of another slave or function comes first and the device's own reply follows, at once or while
// the master waits between attempts. The stray frame is refused, the late reply is drained, the retry
// reads the device, and the next request gets its own registers, not the drained reply.
TEST_F(ModbusRealTimingTest, StrayFrameBeforeTheReplyIsNotTakenForIt) {
    using std::chrono::milliseconds;
    struct Case {
        const char* name;
        std::vector<uint8_t> stray;
        milliseconds replyAfter;
    };
    const Case cases[] = {
        {"other slave, reply right behind", SimReadReply({9, 9, 9, 9}, 2), milliseconds(0)},
        {"other function, reply during the pause", SimFrame({1, 4, 8, 0, 9, 0, 9, 0, 9, 0, 9}),
         milliseconds(250)},
    };
    for (const Case& c : cases) {
        CSimDevice sim("K9RS");
        sim.SetRegisters(2069, {1, 2, 3, 4});
        sim.SetRegisters(2074, {11, 12, 13, 14});
        CModbusInterface modbus(SimSettings(sim));
        OpenPort(modbus.GetSerial());
        sim.InjectFaultNext(SimFault::Precede(c.stray, c.replyAfter));
        uint16_t first[4] = {};
        uint16_t second[4] = {};
        ASSERT_TRUE(modbus.ReadHoldingRegister(2069, 4, first)) << c.name;
        ASSERT_TRUE(modbus.ReadHoldingRegister(2074, 4, second)) << c.name;
        EXPECT_EQ(std::vector<uint16_t>(first, first + 4), (std::vector<uint16_t>{1, 2, 3, 4})) << c.name;
        EXPECT_EQ(std::vector<uint16_t>(second, second + 4), (std::vector<uint16_t>{11, 12, 13, 14}))
            << c.name;
        EXPECT_EQ(sim.GetRequestCount(), 3u) << c.name;
    }
}

// The device answers the last attempt of a read only after the master has given up on it, while the
// caller's next read of the same length is waiting for its own (slow) reply: that read must get its own
// registers, not the reply to the failed one.
TEST_F(ModbusRealTimingTest, LateReplyToTheLastAttemptIsNotTakenForTheNextRead) {
    using std::chrono::milliseconds;
    constexpr size_t kLast = CModbusInterface::kAttempts - 1;
    CSimDevice sim("K9RS");
    sim.SetRegisters(2069, {1, 2, 3, 4});
    sim.SetRegisters(2074, {11, 12, 13, 14});
    CModbusInterface modbus(SimSettings(sim));
    OpenPort(modbus.GetSerial());
    const unsigned timeout = CModbusInterface::ReplyTimeout(6, 11, CComSettings::BaudRate(kFastestBaudIndex));
    sim.InjectFault(SimFault::BadCrc(), 0, kLast - 1);
    // Past the reply time-out and the short pause after it, well within the pause between attempts.
    sim.InjectFault(SimFault::Late(milliseconds(timeout + 250)), kLast, kLast);
    sim.InjectFault(SimFault::Late(milliseconds(500)), kLast + 1, kLast + 1);
    uint16_t first[4] = {};
    EXPECT_THROW(modbus.ReadHoldingRegister(2069, 4, first), CException);
    uint16_t second[4] = {};
    ASSERT_TRUE(modbus.ReadHoldingRegister(2074, 4, second));
    EXPECT_EQ(std::vector<uint16_t>(second, second + 4), (std::vector<uint16_t>{11, 12, 13, 14}));
}
