#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

#include "model/device/device_identity.h"

class CModbusInterface;

// The output holds the program sets itself (Fixed Out and Set of the loop test, a download), each with
// the device it was set on. An output-hold register that is not 0 freezes the 4-20 mA loop of a running
// plant, and a hold someone set on purpose must not be undone: so the program releases only its own
// hold, and only on the device it holds. A hold the device had when it was identified, or one the user
// chose to leave, is not the program's; only the user releases it.
//
// While the program holds an output, a signal that ends the process at once says so (ESignalNotice).
//
// Threads: the poll thread reports each identification; the user interface sets, releases and asks.
// Every member may be called from any thread.
class COutputHold {
public:
    static constexpr uint16_t kRegOutputHold = 2072;

    // What the identifications since the last question found, to be told to the user once.
    enum class ENotice { kNone, kReleased, kOtherDevice };
    enum class ERelease { kReleased, kOtherDevice };

    COutputHold() = default;
    ~COutputHold();
    COutputHold(const COutputHold&) = delete;
    COutputHold& operator=(const COutputHold&) = delete;

    // The poll identified `device`; the caller holds the Modbus lock. A hold on another device is
    // forgotten and nothing is written to this one. A failed download's hold on this very device is
    // released when the device still holds its output. A link failure is thrown.
    void Identified(CModbusInterface& modbus, const CDeviceIdentity& device);
    // A failed download's hold waits for its device to answer again: the identification then needs the
    // serial number before anything else is read.
    bool IsReleasePending() const;

    // The program is about to hold the output of the device identified last.
    void Hold();
    // A download failed: its hold is released once its device is identified again.
    void ReleaseWhenIdentified();
    // The device identified last acknowledged a write of 0: the program's hold on it is gone.
    void Released();
    // The user chose to leave the output held: it is the user's from now on.
    void Forget();
    bool IsHeld() const;

    // Releases the program's hold on its own device or, without one, the output of the device identified
    // last (the user asked for it). The device behind the port is identified anew first, and 0 is
    // written only when it is that device; kOtherDevice when another device answers (the program's
    // hold is forgotten: the device it was set on may still hold its output). Takes the line as a
    // user's write does. A link failure is thrown and the hold stays.
    ERelease Release(CModbusInterface& modbus);

    ENotice TakeNotice();

private:
    void Forget(const std::lock_guard<std::mutex>& held);

    mutable std::mutex m_mutex;
    std::optional<CDeviceIdentity> m_current;
    std::optional<CDeviceIdentity> m_held;
    bool m_releasePending = false;
    ENotice m_notice = ENotice::kNone;
};
