#pragma once

#include <cstdint>

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
