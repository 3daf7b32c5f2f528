#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "link/com_settings.h"
#include "link/modbus_interface.h"
#include "link/scaled_timing.h"
#include "sim/sim_device.h"

// A simulated device of one model code and a connected Modbus master on its line.
struct SimLink {
    explicit SimLink(const std::string& code) : sim(code), modbus(CComSettings(sim.GetSlavePath(), "SIM")) {
        modbus.GetSerial().Open();
        modbus.SetConnected(true);
    }

    // Modbus requests from request `first` on, as "R2074x4" / "W2064x4".
    std::vector<std::string> BlocksSince(size_t first) const {
        std::vector<std::string> blocks;
        for (const SimRequest& r : sim.GetRequests()) {
            if (r.index < first || (r.kind != ESimRequestKind::Read && r.kind != ESimRequestKind::Write)) continue;
            blocks.push_back((r.kind == ESimRequestKind::Read ? "R" : "W") + std::to_string(r.start) + "x" +
                             std::to_string(r.count));
        }
        return blocks;
    }
    // The values of the last write to `start`.
    std::vector<uint16_t> LastWrite(uint16_t start) const {
        std::vector<uint16_t> values;
        for (const SimRequest& r : sim.GetRequests())
            if (r.kind == ESimRequestKind::Write && r.start == start) values = r.values;
        return values;
    }

    CSimDevice sim;
    CModbusInterface modbus;
};

inline void SetModelCode(CSimDevice& sim, const std::string& code) {
    sim.WithModel([&](CSimModel& model) { model.SetModelCode(code); });
}
