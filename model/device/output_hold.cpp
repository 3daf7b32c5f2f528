#include "model/device/output_hold.h"

#include "link/modbus_interface.h"
#include "platform/signal_notice.h"

namespace {
void WriteZero(CModbusInterface& modbus) {
    const uint16_t released = 0;
    modbus.WriteMultipleRegisters(COutputHold::kRegOutputHold, 1, &released);
}
}  // namespace

COutputHold::~COutputHold() { RaiseSignalNotice(ESignalNotice::kOutputHeld, false); }

void COutputHold::Identified(CModbusInterface& modbus, const CDeviceIdentity& device) {
    {
        std::lock_guard guard(m_mutex);
        m_current = device;
        if (!m_held) return;
        if (*m_held != device) {
            // The cable went to the next conditioner: the one held is out of reach now.
            Forget(guard);
            m_notice = ENotice::kOtherDevice;
            return;
        }
        if (!m_releasePending) return;
    }
    // The line is written outside the record's lock, so that asking never waits on the device.
    uint16_t hold = 0;
    modbus.ReadHoldingRegister(kRegOutputHold, 1, &hold);
    if (hold != 0) WriteZero(modbus);
    std::lock_guard guard(m_mutex);
    if (m_held != device || !m_releasePending) return;
    Forget(guard);
    if (hold != 0) m_notice = ENotice::kReleased;
}

bool COutputHold::IsReleasePending() const {
    std::lock_guard guard(m_mutex);
    return m_held && m_releasePending;
}

void COutputHold::Hold() {
    std::lock_guard guard(m_mutex);
    if (!m_current) return;
    m_held = m_current;
    m_releasePending = false;
    // A second signal that ends the process before the hold is released says so.
    RaiseSignalNotice(ESignalNotice::kOutputHeld, true);
}

void COutputHold::ReleaseWhenIdentified() {
    std::lock_guard guard(m_mutex);
    if (m_held) m_releasePending = true;
}

void COutputHold::Released() {
    std::lock_guard guard(m_mutex);
    if (m_held == m_current) Forget(guard);
}

void COutputHold::Forget() {
    std::lock_guard guard(m_mutex);
    Forget(guard);
}

void COutputHold::Forget(const std::lock_guard<std::mutex>&) {
    m_held.reset();
    m_releasePending = false;
    RaiseSignalNotice(ESignalNotice::kOutputHeld, false);
}

bool COutputHold::IsHeld() const {
    std::lock_guard guard(m_mutex);
    return m_held.has_value();
}

COutputHold::ERelease COutputHold::Release(CModbusInterface& modbus) {
    const auto line = modbus.LockCuttingIn();
    std::optional<CDeviceIdentity> target;
    {
        std::lock_guard guard(m_mutex);
        target = m_held ? m_held : m_current;
    }
    if (!target) return ERelease::kOtherDevice;
    const bool same = ReadDeviceIdentity(modbus) == *target;
    if (same) WriteZero(modbus);
    std::lock_guard guard(m_mutex);
    if (m_held == target) Forget(guard);
    return same ? ERelease::kReleased : ERelease::kOtherDevice;
}

COutputHold::ENotice COutputHold::TakeNotice() {
    std::lock_guard guard(m_mutex);
    const ENotice notice = m_notice;
    m_notice = ENotice::kNone;
    return notice;
}
