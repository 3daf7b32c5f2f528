#include "ui/pages/ao_test_page.h"

#include <QWidget>

#include <algorithm>
#include <mutex>

#include "link/modbus_interface.h"
#include "model/device/output_hold.h"
#include "model/set/par_base.h"
#include "platform/c_number.h"
#include "ui/framework/wait_cursor.h"

CAOTestPage::CAOTestPage() : CDialog(139) {
    MapClicked(kFixedOut, [this] { OnBnClickedFixedOut(); });
    MapClicked(kNormalOut, [this] { OnBnClickedNormalOut(); });
    MapClicked(kSet, [this] { OnBnClickedSet(); });
}

uint16_t CAOTestPage::ToRegister(double milliampere) {
    // A typed 4.0036 mA is 10009 counts, not the 10008 a plain truncation of 10008.99999... gives.
    return static_cast<uint16_t>(SnapTrunc((milliampere - 4.0) * 40000.0 * 0.0625 + 10000.0));
}

double CAOTestPage::ToCurrent(uint16_t value) { return (value - 10000.0) * 16.0 / 40000.0 + 4.0; }

void CAOTestPage::UpdateFromDevice(const CParBase& model) {
    const uint32_t status = model.GetStatus();
    m_loopTest = (status & kStatusLooptest) != 0;
    m_burnout = (status & kStatusBurnout) != 0;
    const bool enabled = GetWindow() != nullptr && GetWindow()->isEnabled();
    EnableDlgItem(kFixedOut, !m_loopTest && enabled);
    for (int id : {kSet, kNormalOut, kValue, kUnit}) EnableDlgItem(id, m_loopTest && enabled);
    SetDlgItemText(kUnit, model.GetOutputUnit());
}

void CAOTestPage::ShowBuffer() { SetDlgItemText(kValue, FormatC("%.3lf", ToCurrent(m_buffer))); }

void CAOTestPage::OnBnClickedFixedOut() {
    if (m_modbus == nullptr) return;
    const CWaitCursor wait;
    const auto lock = m_modbus->LockCuttingIn();
    m_modbus->ReadHoldingRegister(m_burnout ? kRegBurnoutOutput : kRegPresentOutput, 1, &m_buffer);
    WriteHold();
    ShowBuffer();
}

void CAOTestPage::WriteHold() {
    if (m_hold != nullptr && m_buffer != 0) m_hold->Hold();
    m_modbus->WriteMultipleRegisters(kRegOutputHold, 1, &m_buffer);
    if (m_hold != nullptr && m_buffer == 0) m_hold->Released();
}

void CAOTestPage::OnBnClickedNormalOut() {
    if (m_modbus == nullptr) return;
    const CWaitCursor wait;
    const auto lock = m_modbus->LockCuttingIn();
    m_buffer = 0;
    WriteHold();
    // Released, as the device acknowledged; the buttons follow with the next poll.
    m_loopTest = false;
}

void CAOTestPage::OnBnClickedSet() {
    // "nan" and "inf" are no number: nothing may reach the live output.
    const std::optional<double> typed = ParseDouble(GetDlgItemText(kValue));
    if (!typed || m_modbus == nullptr) return;
    const double value = std::clamp(*typed, kMinCurrent, kMaxCurrent);
    const CWaitCursor wait;
    const auto lock = m_modbus->LockCuttingIn();
    m_buffer = ToRegister(value);
    WriteHold();
    m_modbus->ReadHoldingRegister(kRegOutputHold, 1, &m_buffer);
    ShowBuffer();
}
