#pragma once

#include <cstdint>

#include "res/dialogs/dialog_139_ids.h"
#include "ui/framework/dialog.h"

class CModbusInterface;
class CParBase;

// The device tab "Loop Test": holds the analogue output at its present value (Fixed Out) or at a current
// the user types (Set), or lets it follow the input again (Normal Out), through the output-hold register.
// Each action talks Modbus on the user-interface thread under the Modbus lock. Which buttons are usable
// follows the device's loop-test state as the next poll reads it, not the click.
class CAOTestPage : public CDialog, public Dialog139Ids {
public:
    static constexpr uint16_t kRegBurnoutOutput = 2059;
    static constexpr uint16_t kRegPresentOutput = 2071;
    static constexpr uint16_t kRegOutputHold = 2072;
    static constexpr double kMinCurrent = 3.75;
    static constexpr double kMaxCurrent = 23.0;

    CAOTestPage();

    // The main dialog's Modbus interface, not owned; nothing is sent without one.
    void SetModbus(CModbusInterface* modbus) { m_modbus = modbus; }
    // After every valid poll with the device-side set; when not online with an empty DC-input set.
    void UpdateFromDevice(const CParBase& model);
    // Whether the output is held: the device said so at the last poll, or Fixed Out or Set held it since
    // and Normal Out has not let it go.
    bool HoldsOutput() const { return m_loopTest || m_held; }
    // Lets the output follow the input again (what Normal Out does); a link failure is thrown.
    void ReleaseOutput();

    // Register value <-> current in mA: 10000 is 4 mA, 2500 counts per mA.
    static uint16_t ToRegister(double milliampere);
    static double ToCurrent(uint16_t value);

private:
    void OnBnClickedFixedOut();
    void OnBnClickedNormalOut();
    void OnBnClickedSet();
    void ShowBuffer();

    CModbusInterface* m_modbus = nullptr;
    bool m_loopTest = false;
    bool m_burnout = false;
    bool m_held = false;
    uint16_t m_buffer = 0;
};
