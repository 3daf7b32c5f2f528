#pragma once

#include <string>
#include <vector>

#include "link/com_settings.h"
#include "link/scaled_timing.h"
#include "link/serial_io.h"
#include "sim/sim_ascii_model.h"
#include "sim/sim_device.h"

// A simulated DC-input device on a pseudo-terminal with the protocol pauses scaled down.
class SimTransferTest : public ScaledTiming {
protected:
    CComSettings Settings() const { return CComSettings(m_sim.GetSlavePath(), "SIM"); }
    static void OpenPort(CSerialIO& serial) {
        serial.Open();
        serial.SetReadTimeout(3000);
    }

    // Modbus requests as "W1280x12" / "R2055x9", in the order they arrived.
    std::vector<std::string> Blocks() const {
        std::vector<std::string> blocks;
        for (const SimRequest& r : m_sim.GetRequests()) {
            if (r.kind != ESimRequestKind::Read && r.kind != ESimRequestKind::Write) continue;
            blocks.push_back((r.kind == ESimRequestKind::Read ? "R" : "W") + std::to_string(r.start) + "x" +
                             std::to_string(r.count));
        }
        return blocks;
    }
    // ASCII lines without their carriage return, in the order they arrived.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const SimRequest& r : m_sim.GetRequests())
            if (r.kind == ESimRequestKind::Ascii) lines.push_back(r.line);
        return lines;
    }
    std::string Field(int item, char sub, int index = 0) const {
        return m_sim.GetItem(1, CSimAsciiModel::Field(item, sub, index));
    }
    void SetField(int item, char sub, const std::string& value, int index = 0) {
        m_sim.SetItem(1, CSimAsciiModel::Field(item, sub, index), value);
    }

    CSimDevice m_sim{CSimAsciiModel::CreateDcInput()};
};
