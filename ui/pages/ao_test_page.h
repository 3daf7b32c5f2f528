#pragma once

#include <cstdint>

#include "res/dialogs/dialog_139_ids.h"
#include "ui/framework/dialog.h"

class CModbusInterface;
class COutputHold;
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
    // The record of the program's own holds, not owned: Fixed Out and Set enter the device they hold
    // there, Normal Out takes it out again.
    void SetOutputHold(COutputHold* hold) { m_hold = hold; }
    // After every valid poll with the device-side set; when not online with an empty DC-input set.
    void UpdateFromDevice(const CParBase& model);
    // Whether the device held its output at the last poll (the loop test is on).
    bool ShowsHeld() const { return m_loopTest; }

    // Register value <-> current in mA: 10000 is 4 mA, 2500 counts per mA.
    static uint16_t ToRegister(double milliampere);
    static double ToCurrent(uint16_t value);

private:
    void OnBnClickedFixedOut();
    void OnBnClickedNormalOut();
    void OnBnClickedSet();
    void ShowBuffer();
    // Writes the buffer to the output-hold register; a hold is entered in the record before it is sent,
    // since a write whose answer is lost may still have held the output.
    void WriteHold();

    CModbusInterface* m_modbus = nullptr;
    COutputHold* m_hold = nullptr;
    bool m_loopTest = false;
    bool m_burnout = false;
    uint16_t m_buffer = 0;
};
