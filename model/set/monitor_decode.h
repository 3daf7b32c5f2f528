#pragma once

#include <cstdint>

// The live values of the models with an output stage, from the monitor registers: output 2071, output
// hold 2072, device status 2073 and output value at burnout 2059 (current registers count 4e-4 mA).
struct CMonitorDecode {
    uint32_t status;      // the status word with the loop-test, burnout, AD and ROM error bits replaced
    int32_t outputValue;  // 1e-4 mA
    bool forced;          // the loop test or a burnout set the output, not the input
};

CMonitorDecode DecodeMonitor(uint32_t status, uint16_t output, uint16_t hold, uint16_t deviceStatus,
                             uint16_t burnoutOutput);

// in0 + (in100 - in0) x percent / 1000000 (percent in 1e-4 %), truncated toward zero, saturated.
int32_t InputFromPercent(int32_t in0, int32_t in100, int32_t percent);
