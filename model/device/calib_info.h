#pragma once

#include <cstdint>
#include <string>

#include "platform/copyable_atomic.h"

// The teach-in state of the potentiometer model: what the last poll read, and the two requests of the
// calibration page to take the present position as the 0 % or 100 % input, which the next poll carries
// out. The requests are the only fields two threads touch at once.
class CCalibInfo {
public:
    CCalibInfo() = default;
    CCalibInfo(const CCalibInfo&) = default;
    CCalibInfo& operator=(const CCalibInfo&) = default;
    virtual ~CCalibInfo() = default;

    std::string GetZeroValue() const { return zeroValue; }
    std::string GetFullValue() const { return fullValue; }

    // The model's status bits as of the last poll; 0 after a failed one.
    int32_t status = 0;
    // True while the connected device is the potentiometer model.
    bool available = false;
    std::string presentValue;
    CCopyableAtomic<bool> zeroRequest{false};
    CCopyableAtomic<bool> fullRequest{false};
    std::string zeroValue;
    std::string fullValue;
};
