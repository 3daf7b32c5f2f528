#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "link/scaled_timing.h"
#include "link/sim_connection.h"
#include "sim/sim_device.h"

// A parameter set's transfers against the simulated device on a pseudo-terminal, Modbus and ASCII
// over the same line.
class SimSetTransferTest : public ScaledTiming {
protected:
    explicit SimSetTransferTest(std::unique_ptr<CSimModel> model)
        : m_sim(std::move(model)), m_modbus(SimSettings(m_sim)), m_ascii(SimSettings(m_sim)) {}

    void SetUp() override {
        ScaledTiming::SetUp();
        OpenPort(m_modbus.GetSerial());
        m_modbus.SetConnected(true);
    }
    void OpenAscii() {
        m_modbus.GetSerial().Close();
        OpenPort(m_ascii.GetSerial());
        m_ascii.SetPortOpen(true);
    }

    // Modbus requests as "R start x count" / "W start x count", in order, from request `from` on.
    std::vector<std::string> Blocks(size_t from = 0) const {
        std::vector<std::string> blocks;
        for (const SimRequest& r : m_sim.GetRequests()) {
            if (r.index < from) continue;
            if (r.kind == ESimRequestKind::Read) blocks.push_back("R" + std::to_string(r.start) + "x" + std::to_string(r.count));
            if (r.kind == ESimRequestKind::Write)
                blocks.push_back("W" + std::to_string(r.start) + "x" + std::to_string(r.count));
        }
        return blocks;
    }
    std::vector<SimRequest> Writes() const {
        std::vector<SimRequest> writes;
        for (const SimRequest& r : m_sim.GetRequests())
            if (r.kind == ESimRequestKind::Write) writes.push_back(r);
        return writes;
    }
    std::vector<std::string> AsciiLines() const {
        std::vector<std::string> lines;
        for (const SimRequest& r : m_sim.GetRequests())
            if (r.kind == ESimRequestKind::Ascii) lines.push_back(r.line);
        return lines;
    }

    CSimDevice m_sim;
    CModbusInterface m_modbus;
    CCommInterface m_ascii;
};
