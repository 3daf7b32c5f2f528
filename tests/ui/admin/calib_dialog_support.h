#pragma once

#include <string>
#include <vector>

#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "sim/sim_device.h"
#include "support/request_list.h"
#include "support/sim_connection.h"

// A simulated device connected over Modbus, as the main dialog is while online, and the main dialog's
// ASCII interface with its own port closed: the calibration dialogs borrow the Modbus line.
struct SimCalibLine {
    explicit SimCalibLine(const std::string& code) : sim(code), modbus(Settings()), ascii(Settings()) {
        modbus.Connect(Settings());
    }
    CComSettings Settings() const { return SimSettings(sim); }

    // The ASCII lines the device received from request `first` on.
    std::vector<std::string> LinesSince(size_t first) const { return AsciiLines(sim, first); }
    size_t Count() const { return sim.GetRequestCount(); }

    CSimDevice sim;
    CModbusInterface modbus;
    CCommInterface ascii;
};
