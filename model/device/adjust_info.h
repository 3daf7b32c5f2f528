#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/copyable_atomic.h"

// The fine adjustment of a device as the adjustment page shows and edits it: input zero and span of one
// or two channels, output zero and span, and what the page needs to offer them. Copied by value between
// the page and the device threads; only the write-pending flag is touched by two threads at once.
class CAdjustInfo {
public:
    CAdjustInfo() = default;
    CAdjustInfo(const CAdjustInfo&) = default;
    CAdjustInfo& operator=(const CAdjustInfo&) = default;
    virtual ~CAdjustInfo() = default;

    std::string GetInputUnit() const { return inputUnit; }
    std::string GetOutputUnit() const { return outputUnit; }

    // 2 for the two-input thermocouple models, which have a second input zero and span.
    int32_t channelCount = 1;
    // In the model's sensor unit: register / the model's input adjust scale.
    std::array<double, 2> inputZero{0.0, 0.0};
    // Factor, 1.0 nominal: register / 10000.
    std::array<double, 2> inputSpan{1.0, 1.0};
    double inputZeroLow = -15.0;
    double inputZeroHigh = 15.0;
    // Percent of the output span: register / 100.
    double outputZero = 0.0;
    double outputSpan = 1.0;
    std::string inputUnit;
    std::string outputUnit = "%";
    // The potentiometer model teaches its input instead; only the output is adjusted.
    bool inputAdjustUnavailable = false;
    // Set while an adjustment is on its way to the device, so that a poll does not read an older one
    // back over it.
    CCopyableAtomic<bool> writePending{false};
};
