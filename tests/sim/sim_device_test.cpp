#include "sim/sim_device.h"

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>

#include "sim/sim_frames.h"
#include "sim/sim_line.h"

using namespace std::chrono_literals;

namespace {

std::vector<uint8_t> Frame(std::vector<uint8_t> bytes) { return SimFrame(std::move(bytes)); }
std::vector<uint8_t> ReadRequest(uint16_t start, uint8_t count) { return SimReadRequest(start, count); }
std::vector<uint8_t> WriteRequest(uint16_t start, const std::vector<uint16_t>& values) {
    return SimWriteRequest(start, values);
}

constexpr auto kWait = 2000ms;

}  // namespace

TEST(SimDevice, ReadsTheModelCodeHighByteFirst) {
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    line.Write(ReadRequest(2074, 4));
    EXPECT_EQ(line.Read(13, kWait), Frame({0x01, 0x03, 0x08, 0, 'K', 0, '9', 0, 'T', 0, 'S'}));
    ASSERT_TRUE(device.WaitForRequests(1, kWait));
    const SimRequest request = device.GetRequests().at(0);
    EXPECT_EQ(request.kind, ESimRequestKind::Read);
    EXPECT_TRUE(request.crcOk);
    EXPECT_EQ(request.start, 2074);
    EXPECT_EQ(request.count, 4);
    EXPECT_EQ(request.raw, ReadRequest(2074, 4));
}

TEST(SimDevice, WriteStoresValuesAndEchoesTheHead) {
    CSimDevice device("K9RS");
    CSimLine line(device.GetSlavePath());
    line.Write(WriteRequest(1288, {0xFF67, 0x6980}));
    EXPECT_EQ(line.Read(8, kWait), Frame({0x01, 0x10, 0x05, 0x08, 0x00, 0x02}));
    EXPECT_EQ(device.GetRegisters(1288, 2), (std::vector<uint16_t>{0xFF67, 0x6980}));
    const SimRequest request = device.GetRequests().at(0);
    EXPECT_EQ(request.kind, ESimRequestKind::Write);
    EXPECT_EQ(request.values, (std::vector<uint16_t>{0xFF67, 0x6980}));

    line.Write(ReadRequest(1288, 2));
    EXPECT_EQ(line.Read(9, kWait), Frame({0x01, 0x03, 0x04, 0xFF, 0x67, 0x69, 0x80}));
}

TEST(SimDevice, RefusesWithExceptionReplies) {
    struct Case {
        const char* what;
        std::vector<uint8_t> request;
        std::vector<uint8_t> reply;
    };
    const Case cases[] = {
        {"unmapped read", ReadRequest(3000, 1), Frame({0x01, 0x83, 0x02})},
        {"read past the map", ReadRequest(4095, 2), Frame({0x01, 0x83, 0x02})},
        {"read straddling a hole", ReadRequest(1030, 16), Frame({0x01, 0x83, 0x02})},
        {"read of nothing", ReadRequest(1280, 0), Frame({0x01, 0x83, 0x03})},
        {"read of too many", ReadRequest(1280, 126), Frame({0x01, 0x83, 0x03})},
        {"write to the model code", WriteRequest(2074, {'X'}), Frame({0x01, 0x90, 0x02})},
        {"write to a live register", WriteRequest(2071, {1}), Frame({0x01, 0x90, 0x02})},
        {"write with a wrong byte count", Frame({0x01, 0x10, 0x05, 0x00, 0x00, 0x02, 0x02, 0x00, 0x01}),
         Frame({0x01, 0x90, 0x03})},
        {"unknown function", Frame({0x01, 0x04, 0x05, 0x00, 0x00, 0x01}), Frame({0x01, 0x84, 0x01})},
    };
    CSimDevice device("K9TS");
    device.SetFrameGap(20ms);
    CSimLine line(device.GetSlavePath());
    for (const Case& c : cases) {
        line.Write(c.request);
        EXPECT_EQ(line.Read(c.reply.size(), kWait), c.reply) << c.what;
    }
    EXPECT_EQ(device.GetRegister(2074), 'K');
    EXPECT_EQ(device.GetRegister(2071), 10000);
}

TEST(SimDevice, IgnoresBadCrcAndOtherAddressesButRecordsThem) {
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    std::vector<uint8_t> damaged = ReadRequest(1280, 1);
    damaged.back() ^= 0xFF;
    line.Write(damaged);
    line.Write(Frame({0x02, 0x03, 0x05, 0x00, 0x00, 0x01}));
    line.Write(ReadRequest(1064, 1));
    // Only the third request is answered; the first reply bytes are therefore its own.
    EXPECT_EQ(line.Read(7, kWait), Frame({0x01, 0x03, 0x02, 0x00, 0x01}));
    const auto requests = device.GetRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_FALSE(requests[0].crcOk);
    EXPECT_EQ(requests[1].address, 2);
    EXPECT_TRUE(requests[2].crcOk);
}

TEST(SimDevice, ModelsKnowTheirCodesAndRegisters) {
    for (const std::string& code : CSimModel::KnownCodes()) {
        auto model = CSimModel::Create(code);
        ASSERT_TRUE(model) << code;
        EXPECT_EQ(model->GetModelCode(), code);
        const bool universal = code.rfind("K9U", 0) == 0;
        EXPECT_EQ(model->GetAccess(2077), universal ? ESimAccess::ReadWrite : ESimAccess::ReadOnly) << code;
        EXPECT_EQ(model->GetAccess(1280), ESimAccess::ReadWrite) << code;
        EXPECT_EQ(model->GetAccess(2072), ESimAccess::ReadWrite) << code;
        EXPECT_EQ(model->GetAccess(3000), ESimAccess::None) << code;
    }
    EXPECT_FALSE(CSimModel::Create("K9XX"));
    EXPECT_THROW(CSimDevice("K9XX"), std::runtime_error);
}

TEST(SimDevice, UniversalKindFollowsTheFourthCodeCharacter) {
    CSimDevice device("K9U0");
    CSimLine line(device.GetSlavePath());
    line.Write(WriteRequest(2077, {'4'}));
    EXPECT_EQ(line.Read(8, kWait).size(), 8u);
    EXPECT_EQ(device.GetModelCode(), "K9U4");
}

TEST(SimDevice, ScenarioDrivesLiveReadsOnly) {
    CSimDevice device("K9PM");
    device.SetScenario(CSimDevice::Steps({{{2071, 20000}}, {{2071, 30000}, {2073, 1}}}));
    CSimLine line(device.GetSlavePath());
    const std::pair<uint16_t, uint16_t> expected[] = {{20000, 0}, {30000, 1}, {30000, 1}};
    line.Write(ReadRequest(1280, 1));  // not live: does not advance the scenario
    EXPECT_EQ(line.Read(7, kWait).size(), 7u);
    for (const auto& [output, status] : expected) {
        line.Write(ReadRequest(2071, 3));
        EXPECT_EQ(line.Read(11, kWait),
                  Frame({0x01, 0x03, 0x06, static_cast<uint8_t>(output >> 8),
                         static_cast<uint8_t>(output & 0xFF), 0, 0, 0, static_cast<uint8_t>(status)}));
    }
}

TEST(SimDevice, WaitForRequestsTimesOutWhenNothingComes) {
    CSimDevice device("K9TS");
    EXPECT_FALSE(device.WaitForRequests(1, 50ms));
    EXPECT_EQ(device.GetRequestCount(), 0u);
}

TEST(SimDevice, HookSeesEveryRequestInOrder) {
    CSimDevice device("K9TS");
    std::vector<size_t> seen;
    std::mutex seenMutex;
    device.SetRequestHook([&](const SimRequest& request) {
        std::lock_guard lock(seenMutex);
        seen.push_back(request.index);
    });
    CSimLine line(device.GetSlavePath());
    line.Write(ReadRequest(1064, 1));
    line.Write(std::string("G01\r"));
    line.Write(ReadRequest(1064, 1));
    // The last reply leaves only after the hook of its request has run.
    EXPECT_EQ(line.Read(7 + 19 + 7, kWait).size(), 33u);
    std::lock_guard lock(seenMutex);
    EXPECT_EQ(seen, (std::vector<size_t>{0, 1, 2}));
}
