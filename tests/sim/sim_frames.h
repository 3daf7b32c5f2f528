#pragma once

#include <cstdint>
#include <vector>

#include "sim/sim_crc.h"

// Frames as a master puts them on the line, for tests that speak to the device byte by byte.

inline std::vector<uint8_t> SimFrame(std::vector<uint8_t> bytes) {
    SimAppendCrc(bytes);
    return bytes;
}

inline std::vector<uint8_t> SimReadRequest(uint16_t start, uint8_t count, uint8_t address = 1) {
    return SimFrame(
        {address, 0x03, static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start & 0xFF), 0, count});
}

inline std::vector<uint8_t> SimWriteRequest(uint16_t start, const std::vector<uint16_t>& values,
                                            uint8_t address = 1) {
    const auto count = static_cast<uint8_t>(values.size());
    std::vector<uint8_t> frame = {
        address, 0x10,  static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start & 0xFF),
        0,       count, static_cast<uint8_t>(2 * count)};
    for (uint16_t value : values) {
        frame.push_back(static_cast<uint8_t>(value >> 8));
        frame.push_back(static_cast<uint8_t>(value & 0xFF));
    }
    return SimFrame(frame);
}

// The device's reply to a read of `values`.
inline std::vector<uint8_t> SimReadReply(const std::vector<uint16_t>& values, uint8_t address = 1) {
    std::vector<uint8_t> frame = {address, 0x03, static_cast<uint8_t>(2 * values.size())};
    for (uint16_t value : values) {
        frame.push_back(static_cast<uint8_t>(value >> 8));
        frame.push_back(static_cast<uint8_t>(value & 0xFF));
    }
    return SimFrame(frame);
}
