#pragma once

#include <string>

#include "link/com_settings.h"
#include "link/serial_io.h"
#include "sim/sim_device.h"

// Settings that point a protocol object at the simulated device.
inline CComSettings SimSettings(const CSimDevice& sim, const std::string& display = "SIM") {
    return CComSettings(sim.GetSlavePath(), display);
}

// Opens a protocol object's port as the connect path does.
inline void OpenPort(CSerialIO& serial, unsigned readTimeout = 3000) {
    serial.Open();
    serial.SetReadTimeout(readTimeout);
}
