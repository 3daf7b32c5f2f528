#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/MODBUS (initial value 0xFFFF, reflected polynomial 0xA001) over `size` bytes. The frame
// carries it low byte first.
uint16_t ModbusCrc16(const uint8_t* data, std::size_t size);
