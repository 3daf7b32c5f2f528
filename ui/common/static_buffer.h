#pragma once

#include <memory>

#include "model/set/par_base.h"

// Carries the file-side parameter set and two selections from start-up, and across a rebuild of the
// main dialog, into the main dialog's initialisation.
class CStaticBuffer {
public:
    static constexpr int kInitialDeviceTab = 0;
    static constexpr int kInitialFileGroup = 3;

    void PutParameterSet(std::unique_ptr<CParBase> set) { m_parameterSet = std::move(set); }
    // Hands the held set over; the holder is empty afterwards.
    std::unique_ptr<CParBase> TakeParameterSet() { return std::move(m_parameterSet); }
    bool HoldsParameterSet() const { return m_parameterSet != nullptr; }

    int deviceTab = kInitialDeviceTab;
    int fileGroup = kInitialFileGroup;

    // Deletes a set still held and restores the initial selections. The program calls it before the
    // language module and the application object go, so nothing is deleted during static destruction.
    void Clear();

private:
    std::unique_ptr<CParBase> m_parameterSet;
};

// The one process-wide holder.
CStaticBuffer& StaticBuffer();
