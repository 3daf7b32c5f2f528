#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// CRC-16/MODBUS (reflected polynomial 0xA001, initial value 0xFFFF). The simulator keeps its own copy
// so that a fault in the program's CRC cannot hide behind the same fault in the device.
uint16_t SimCrc16(const uint8_t* data, size_t length);

// Appends the CRC of `frame`, low byte first, as it travels on the line.
void SimAppendCrc(std::vector<uint8_t>& frame);

// True when the last two bytes of `frame` are the CRC of the bytes before them.
bool SimCheckCrc(const std::vector<uint8_t>& frame);
