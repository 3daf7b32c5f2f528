#pragma once

#include <functional>
#include <string>

#include "model/set/par_type_v.h"
#include "support/thrown_message.h"

// A DC-input set that lets the tests set what only uploads set, and reach the progress counters.
class CParProbe : public CParTypeV {
public:
    using CParTypeV::AddProgress;
    using CParTypeV::SetProgressTotal;
    using CParTypeV::SetStatus;

    void SetLive(int32_t inValue, int32_t inPercent, int32_t outValue, int32_t outPercent) {
        m_inputValue = inValue;
        m_inputPercent = inPercent;
        m_outputValue = outValue;
        m_outputPercent = outPercent;
    }
    void SetDate(int32_t date) { m_date = date; }
    void SetFirmware(int32_t firmware) { m_firmware = firmware; }
};
