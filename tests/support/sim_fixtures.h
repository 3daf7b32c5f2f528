#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/com_settings.h"
#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "sim/sim_ascii_model.h"
#include "sim/sim_device.h"
#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"

// A simulated device on a pseudo-terminal (the DC-input model unless given) with scaled protocol pauses:
// the simulated device answers at once; the test opens what talks to it.
class SimTransferTest : public ScaledTiming {
protected:
    explicit SimTransferTest(std::unique_ptr<CSimModel> model = CSimAsciiModel::CreateDcInput())
        : m_sim(std::move(model)) {}

    CComSettings Settings() const { return SimSettings(m_sim); }

    std::vector<std::string> Blocks(std::size_t from = 0) const { return ModbusBlocks(m_sim, from); }
    std::vector<SimRequest> Writes() const { return ModbusWrites(m_sim); }
    std::vector<std::string> AsciiLines(std::size_t from = 0) const { return ::AsciiLines(m_sim, from); }

    std::string Field(int item, char sub, int index = 0) const {
        return m_sim.GetItem(1, CSimAsciiModel::Field(item, sub, index));
    }
    void SetField(int item, char sub, const std::string& value, int index = 0) {
        m_sim.SetItem(1, CSimAsciiModel::Field(item, sub, index), value);
    }

    CSimDevice m_sim;
};

// A parameter set's transfers against the simulated device, Modbus and ASCII over the same line: the
// Modbus master is connected at the start, OpenAscii hands the line to the ASCII side.
class SimSetTransferTest : public SimTransferTest {
protected:
    explicit SimSetTransferTest(std::unique_ptr<CSimModel> model)
        : SimTransferTest(std::move(model)), m_modbus(Settings()), m_ascii(Settings()) {}

    void SetUp() override {
        SimTransferTest::SetUp();
        OpenPort(m_modbus.GetSerial());
        m_modbus.SetConnected(true);
    }
    void OpenAscii() {
        m_modbus.GetSerial().Close();
        OpenPort(m_ascii.GetSerial());
        m_ascii.SetPortOpen(true);
    }

    CModbusInterface m_modbus;
    CCommInterface m_ascii;
};
