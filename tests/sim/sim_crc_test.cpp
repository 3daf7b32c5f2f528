#include "sim/sim_crc.h"

#include <gtest/gtest.h>

#include <string>

TEST(SimCrc, KnownVectors) {
    struct Case {
        std::vector<uint8_t> data;
        uint16_t crc;
    };
    const std::string check = "123456789";
    const Case cases[] = {
        {{check.begin(), check.end()}, 0x4B37},
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}, 0xCDC5},
        {{}, 0xFFFF},
    };
    for (const Case& c : cases) EXPECT_EQ(SimCrc16(c.data.data(), c.data.size()), c.crc);
}

TEST(SimCrc, AppendsLowByteFirstAndChecks) {
    std::vector<uint8_t> frame = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
    SimAppendCrc(frame);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
    EXPECT_TRUE(SimCheckCrc(frame));
    for (size_t i = 0; i < frame.size(); ++i) {
        std::vector<uint8_t> damaged = frame;
        damaged[i] ^= 0x01;
        EXPECT_FALSE(SimCheckCrc(damaged)) << "byte " << i;
    }
    EXPECT_FALSE(SimCheckCrc({0x01, 0x02}));
}
