#include "sim/sim_crc.h"

uint16_t SimCrc16(const uint8_t* data, size_t length) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i) {
        crc = static_cast<uint16_t>(crc ^ data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            const bool lsb = (crc & 1u) != 0;
            crc = static_cast<uint16_t>(crc >> 1);
            if (lsb) crc = static_cast<uint16_t>(crc ^ 0xA001u);
        }
    }
    return crc;
}

void SimAppendCrc(std::vector<uint8_t>& frame) {
    const uint16_t crc = SimCrc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
}

bool SimCheckCrc(const std::vector<uint8_t>& frame) {
    if (frame.size() < 3) return false;
    const size_t n = frame.size() - 2;
    const uint16_t crc = SimCrc16(frame.data(), n);
    return frame[n] == (crc & 0xFF) && frame[n + 1] == (crc >> 8);
}
