#pragma once

#include <string>

#include "link/com_settings.h"
#include "link/modbus_interface.h"
#include "link/serial_io.h"
#include "sim/sim_device.h"

// The settings' index of 38400 bit/s, the fastest line speed they know.
inline constexpr int32_t kFastestBaudIndex = 5;

// Settings that point a protocol object at the simulated device, at the fastest line speed: a pseudo-terminal
// has no speed, so only the reply time-outs follow it, and a silent device costs the least time. A test
// of the time-outs at other speeds sets the speed itself.
inline CComSettings SimSettings(const CSimDevice& sim, const std::string& display = "SIM") {
    CComSettings settings(sim.GetSlavePath(), display);
    settings.m_baudIndex = kFastestBaudIndex;
    return settings;
}

// The program's own line settings (1200 bit/s) on the simulated device, for tests of its pauses and
// time-outs.
inline CComSettings ProgramLineSettings(const CSimDevice& sim) {
    return CComSettings(sim.GetSlavePath(), "SIM");
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
