#include <gtest/gtest.h>

#include "sim/sim_device.h"
#include "sim/sim_frames.h"
#include "sim/sim_line.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kWait = 2000ms;

// Register 1064 (hardware version) reads 1, register 2078 (firmware) 100: two requests whose replies
// have the same length but can be told apart.
const std::vector<uint8_t> kHardwareReply = SimReadReply({1});
const std::vector<uint8_t> kFirmwareReply = SimReadReply({100});

}  // namespace

// Each fault changes the reply to one request; the following request is answered normally, so the
// bytes read show exactly what the faulted request produced.
TEST(SimFault, ChangesTheReplyOfOneModbusRequest) {
    std::vector<uint8_t> badCrc = kHardwareReply;
    badCrc.back() ^= 0x5A;
    std::vector<uint8_t> garbage = {0xAA, 0x55};
    garbage.insert(garbage.end(), kHardwareReply.begin(), kHardwareReply.end());
    struct Case {
        const char* what;
        SimFault fault;
        std::vector<uint8_t> reply;
        uint16_t registerAfter;  // register 1064 after a write of 7
    };
    const Case cases[] = {
        {"silence", SimFault::Silence(), {}, 1},
        {"bad CRC", SimFault::BadCrc(), badCrc, 7},
        {"short frame", SimFault::ShortFrame(), {kHardwareReply.begin(), kHardwareReply.end() - 1}, 7},
        {"short by three", SimFault::ShortFrame(3), {kHardwareReply.begin(), kHardwareReply.end() - 3}, 7},
        {"exception", SimFault::Exception(2), SimFrame({0x01, 0x83, 0x02}), 1},
        {"exception 4", SimFault::Exception(4), SimFrame({0x01, 0x83, 0x04}), 1},
        {"garbage", SimFault::Garbage({0xAA, 0x55}), garbage, 7},
        {"replaced", SimFault::Replace({0x01, 0x02}), {0x01, 0x02}, 7},
        {"preceded", SimFault::Precede({0xAA, 0x55}, 0ms), garbage, 7},
    };
    for (const Case& c : cases) {
        CSimDevice device("K9TS");
        CSimLine line(device.GetSlavePath());
        device.InjectFaultNext(c.fault);
        line.Write(SimReadRequest(1064, 1));
        line.Write(SimReadRequest(2078, 1));
        std::vector<uint8_t> expected = c.reply;
        expected.insert(expected.end(), kFirmwareReply.begin(), kFirmwareReply.end());
        EXPECT_EQ(line.Read(expected.size(), kWait), expected) << c.what;

        // The same fault on a write: whether the device carried it out.
        device.InjectFaultNext(c.fault);
        line.Write(SimWriteRequest(1064, {7}));
        ASSERT_TRUE(device.WaitForRequests(3, kWait));
        EXPECT_EQ(device.GetRegister(1064), c.registerAfter) << c.what;
    }
}

TEST(SimFault, LateReplyFollowsTheNextOne) {
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    device.InjectFaultNext(SimFault::Late(300ms));
    line.Write(SimReadRequest(1064, 1));
    ASSERT_TRUE(device.WaitForRequests(1, kWait));
    line.Write(SimReadRequest(2078, 1));
    std::vector<uint8_t> expected = kFirmwareReply;
    expected.insert(expected.end(), kHardwareReply.begin(), kHardwareReply.end());
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(line.Read(expected.size(), kWait), expected);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 250ms);
}

TEST(SimFault, StopsAnsweringAfterRequestN) {
    CSimDevice device("K9TS");
    device.StopAnsweringAfter(2);
    CSimLine line(device.GetSlavePath());
    for (int i = 0; i < 4; ++i) line.Write(SimReadRequest(1064, 1));
    ASSERT_TRUE(device.WaitForRequests(4, kWait));
    std::vector<uint8_t> twoReplies = kHardwareReply;
    twoReplies.insert(twoReplies.end(), kHardwareReply.begin(), kHardwareReply.end());
    EXPECT_EQ(line.Read(3 * kHardwareReply.size(), 300ms), twoReplies);

    device.ClearFaults();
    line.Write(SimReadRequest(1064, 1));
    EXPECT_EQ(line.Read(kHardwareReply.size(), kWait), kHardwareReply);
}

// A fault applies by index range or by what the request asks; where several apply, the latest wins.
TEST(SimFault, ARangeOrAPickAppliesAndTheLatestInjectionWins) {
    CSimDevice device("K9TS");
    device.InjectFault(SimFault::Exception(4), 1, 2);
    device.InjectFault(SimFault::Exception(6), 2, 2);
    device.InjectFaultWhere(SimFault::Exception(3), [](const SimRequest& r) { return r.start == 2078; });
    CSimLine line(device.GetSlavePath());
    const struct {
        uint16_t start;
        std::vector<uint8_t> reply;
    } cases[] = {
        {1064, kHardwareReply}, {1064, SimFrame({0x01, 0x83, 0x04})}, {1064, SimFrame({0x01, 0x83, 0x06})},
        {1064, kHardwareReply}, {2078, SimFrame({0x01, 0x83, 0x03})},
    };
    for (const auto& c : cases) {
        line.Write(SimReadRequest(c.start, 1));
        EXPECT_EQ(line.Read(c.reply.size(), kWait), c.reply);
    }
}

TEST(SimFault, UnsolicitedBytesArriveAtOnce) {
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    device.SendUnsolicited({0x01, 0x03, 0xFF});
    EXPECT_EQ(line.Read(3, kWait), (std::vector<uint8_t>{0x01, 0x03, 0xFF}));
    EXPECT_EQ(device.GetRequestCount(), 0u);
}

TEST(SimFault, HangUpClosesTheLine) {
    struct Case {
        const char* what;
        bool onRequest;
    };
    for (const Case c : {Case{"on request", true}, Case{"at once", false}}) {
        CSimDevice device("K9TS");
        CSimLine line(device.GetSlavePath());
        if (c.onRequest) {
            device.InjectFaultNext(SimFault::HangUp());
            line.Write(SimReadRequest(1064, 1));
        } else {
            device.HangUp();
        }
        EXPECT_TRUE(line.WaitHangUp(kWait)) << c.what;
        EXPECT_TRUE(device.IsHungUp()) << c.what;
    }
}

TEST(SimFault, AsciiRepliesCanBeSilencedCutOrReplaced) {
    struct Case {
        const char* what;
        SimFault fault;
        std::string reply;
    };
    const Case cases[] = {
        {"silence", SimFault::Silence(), ""},
        {"short", SimFault::ShortFrame(), "Denter item number"},
        {"refused", SimFault::Exception(2), "E\r"},
        {"replaced", SimFault::Replace({'X', 'Y', '\r'}), "XY\r"},
        {"garbage", SimFault::Garbage({'\n'}), "\nDenter item number\r"},
    };
    for (const Case& c : cases) {
        CSimDevice device("K9TS");
        CSimLine line(device.GetSlavePath());
        device.InjectFaultNext(c.fault);
        line.Write(std::string("G01\r"));
        line.Write(std::string("I02\r"));
        const std::string expected = c.reply + "D02\r";
        const auto bytes = line.Read(expected.size(), kWait);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected) << c.what;
    }
}

TEST(SimFault, PartialFrameIsDroppedAfterTheGap) {
    CSimDevice device("K9TS");
    device.SetFrameGap(20ms);
    CSimLine line(device.GetSlavePath());
    line.Write(std::vector<uint8_t>{0x01, 0x03, 0x04});
    ASSERT_TRUE(device.WaitForRequests(1, kWait));
    line.Write(SimReadRequest(1064, 1));
    EXPECT_EQ(line.Read(kHardwareReply.size(), kWait), kHardwareReply);
    const auto requests = device.GetRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, ESimRequestKind::Fragment);
    EXPECT_EQ(requests[0].raw, (std::vector<uint8_t>{0x01, 0x03, 0x04}));
}
