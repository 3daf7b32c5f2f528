#pragma once

#include <cstdint>
#include <span>

class CModbusInterface;
class CParTypeV;

// The output stage of the models with burnout detection: the output value at burnout and the output
// limits, in 1e-4 mA, travel as output registers of 4e-4 mA per count with 4 mA at 10000.

// The output value at burnout must lie in 3.75 to 3.8 mA or in 21.5 to 23 mA; otherwise throws message
// 228 naming both windows.
void CheckBurnoutValue(const CParTypeV& set, int32_t code, int32_t value);

// 10000 + (value - 40000) / 4, truncated toward zero; the low 16 bits go to the register.
uint16_t OutputToRegister(int32_t value);
// (register - 10000) x 4 + 40000.
int32_t RegisterToOutput(uint16_t reg);

// Status bits of the device status register: burnout, A/D error, ROM error.
uint32_t DeviceStatusBits(uint16_t deviceStatus);

// Before a full download the device's output is held at its present value (or the burnout value
// while the sensor is broken) in register 2072, so that the output does not jump while the settings
// change. Returns whether the device reported burnout. The hold stays when the download fails.
bool HoldOutput(CParTypeV& set, CModbusInterface& modbus);
// Releases the hold: the output follows the input again.
void ReleaseOutput(CParTypeV& set, CModbusInterface& modbus);

// Signed 32-bit values over two registers, low 16 bits in the lower register.
int32_t GetLowFirst(std::span<const uint16_t> regs, std::size_t index);
void SetLowFirst(std::span<uint16_t> regs, std::size_t index, int32_t value);

// Output percent of an output value (1e-4 mA): ((value - 4 mA) / 16, truncated) x 100, in 1e-4 %.
int32_t OutputPercent(int32_t outputValue);
