#pragma once

#include <string>

#include "link/com_settings.h"
#include "link/modbus_interface.h"
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

// A simulated device of one model code and a connected Modbus master on its line, for tests that make
// devices as they go.
struct SimLink {
    explicit SimLink(const std::string& code) : sim(code), modbus(SimSettings(sim)) {
        modbus.GetSerial().Open();
        modbus.SetConnected(true);
    }

    CSimDevice sim;
    CModbusInterface modbus;
};

inline void SetModelCode(CSimDevice& sim, const std::string& code) {
    sim.WithModel([&](CSimModel& model) { model.SetModelCode(code); });
}
