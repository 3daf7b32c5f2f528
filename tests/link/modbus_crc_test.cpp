#include "link/modbus_crc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ModbusCrc16, PublishedVectors) {
    struct Case {
        std::vector<uint8_t> data;
        uint16_t crc;
    };
    const std::string check = "123456789";
    const Case cases[] = {
        {{check.begin(), check.end()}, 0x4B37},
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}, 0xCDC5},  // travels as C5 CD
        {{}, 0xFFFF},
        {{0x01, 0x03, 0x08, 0x1A, 0x00, 0x04}, 0xAE67},
    };
    for (const Case& c : cases) EXPECT_EQ(ModbusCrc16(c.data.data(), c.data.size()), c.crc);
}
