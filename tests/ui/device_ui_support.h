#pragma once

#include <string>

#include "model/device/device_interface.h"
#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "ui/ui_test_support.h"

// A simulated device of one model with a connected Modbus master on its line and the device interface of
// a poll thread, polled by hand: what the device pages are handed after each poll.
struct SimPolledDevice {
    explicit SimPolledDevice(const std::string& code) : link(code) {
        devif.SetModbus(&link.modbus);
        devif.RequestIdentify();
    }
    // Identifies the device, then reads live values once.
    void Connect() {
        devif.Poll(CDeviceInterface::kTabAll);
        devif.Poll(CDeviceInterface::kTabAll);
    }
    size_t Writes(uint16_t start) const {
        size_t count = 0;
        for (const SimRequest& r : ModbusWrites(link.sim)) count += r.start == start;
        return count;
    }

    SimLink link;
    CDeviceInterface devif;
};
