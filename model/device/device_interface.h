#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "model/device/adjust_info.h"
#include "model/device/calib_info.h"
#include "model/device/device_type.h"
#include "model/device/output_hold.h"
#include "model/set/par_base.h"
#include "model/set/transfer_progress.h"

class CModbusInterface;

// The device side of the Modbus exchange: identifies the connected device from its model code, keeps a
// parameter set of that model filled from the device, polls live values, writes the fine adjustment and
// transfers whole sets.
//
// Threads: one thread runs Poll, Upload and Download; the user interface may call WriteAdjust and the
// flag setters at the same time. The current set is only ever replaced under the Modbus lock, so a user
// that holds the lock (AccessSet) can use it safely. The records are read as copies; the progress of a
// transfer is kept here, outside the set.
class CDeviceInterface {
public:
    static constexpr uint16_t kRegAdjust = 2064;
    static constexpr uint16_t kRegAdjust2 = 2053;
    static constexpr int32_t kTabLoopTest = 4;
    static constexpr int32_t kTabAll = -1;
    static constexpr unsigned kPauseNotConnected = 100;
    static constexpr unsigned kPauseAfterFailure = 200;

    // The current set with the Modbus lock held (when there is a Modbus interface) for as long as this
    // object lives.
    class CSetAccess {
    public:
        CParBase& operator*() const { return *m_set; }
        CParBase* operator->() const { return m_set; }

    private:
        friend class CDeviceInterface;
        CSetAccess(std::unique_lock<std::recursive_mutex> lock, CParBase* set)
            : m_lock(std::move(lock)), m_set(set) {}
        std::unique_lock<std::recursive_mutex> m_lock;
        CParBase* m_set;
    };

    CDeviceInterface();
    virtual ~CDeviceInterface();
    CDeviceInterface(const CDeviceInterface&) = delete;
    CDeviceInterface& operator=(const CDeviceInterface&) = delete;

    // Set by the owner before the first operation; not owned.
    void SetModbus(CModbusInterface* modbus) { m_modbus.store(modbus); }
    CModbusInterface* GetModbus() const { return m_modbus.load(); }
    // The record of the program's own output holds, told of every identification; not owned.
    void SetOutputHold(COutputHold* hold) { m_outputHold.store(hold); }

    // `tab` is the device page the user has selected, kTabAll for all of them. The first poll of a
    // connection identifies the device, the next ones read live values. Returns quietly when not
    // connected; a link failure resets the state and is rethrown. After a failure, each search opens
    // the port again first, so a device that was unplugged and came back is found.
    void Poll(int32_t tab);
    // Writes the fine adjustment of `info` and reads it back; when not connected it only drops the
    // write-pending mark. A link failure is thrown, with the mark still set.
    void WriteAdjust(CAdjustInfo info);
    // Identifies the model and reads every part of the set.
    void Upload();
    // Makes the current set a copy of `source` and writes every part of it. The connected model is not
    // compared with the source here. A value of `source` that a typed entry could not give (a file or a
    // device may hold one) is reported with its range message before anything is sent.
    void Download(const CParBase& source);

    CSetAccess AccessSet();

    // True when the last poll read live values of an identified device.
    bool IsValid() const { return m_valid.load(); }
    // True while the device is identified; the next poll identifies again once this is false.
    bool IsIdentified() const { return m_identified.load(); }
    // Makes the next poll identify again (after a disconnect, after a download).
    void RequestIdentify() { m_reidentify.store(true); }

    CAdjustInfo GetAdjustInfo() const;
    CCalibInfo GetCalibInfo() const;
    // Set by the adjustment page while a write of its values is on its way.
    void SetAdjustWritePending(bool pending) { m_adjust.writePending = pending; }
    bool IsAdjustWritePending() const { return m_adjust.writePending; }
    // Asks the next live poll of the potentiometer model to take the present position as 0 % (or 100 %).
    void RequestTeachZero() { m_calib.zeroRequest = true; }
    void RequestTeachFull() { m_calib.fullRequest = true; }
    // Forgets the teach requests that wait: the page that made them is disabled or the device they were
    // meant for is gone. Losing the identification, and identifying anew, do it as well.
    void DropTeachRequests() {
        m_calib.zeroRequest = false;
        m_calib.fullRequest = false;
    }
    // True while a teach request waits for the poll.
    bool IsTeachPending() const { return m_calib.zeroRequest || m_calib.fullRequest; }

    // Progress of the running upload or download in thousandths, from any thread.
    int32_t GetProgress() const { return m_progress.GetProgress(); }
    void ResetProgress() { m_progress.SetSteps(0); }

    // Ends the pauses of Poll at once, now and for good (the owner is stopping); any thread may call it.
    void InterruptPauses();

private:
    CModbusInterface& RequireModbus() const;
    void Pause(unsigned milliseconds) const;
    // Replaces the current set by a copy of `source`; the caller holds the Modbus lock.
    void ReplaceSet(const CParBase& source);
    void Identify(CModbusInterface& modbus, std::unique_lock<std::recursive_mutex>& lock);
    void PollLive(CModbusInterface& modbus, std::unique_lock<std::recursive_mutex>& lock, int32_t tab);
    void Teach(CModbusInterface& modbus, CCopyableAtomic<bool>& request, int32_t code,
               const std::string& value);
    void ReadBackAdjust(CModbusInterface& modbus, int32_t channelCount);
    void SetIdentified(bool identified);
    void ResetAfterFailure();

    mutable std::mutex m_recordMutex;  // the records' plain fields
    CCalibInfo m_calib;
    std::unique_ptr<CParBase> m_par;
    CAdjustInfo m_adjust;
    std::atomic<bool> m_valid{false};
    CDeviceType m_registry;
    std::atomic<CModbusInterface*> m_modbus{nullptr};
    std::atomic<COutputHold*> m_outputHold{nullptr};

    std::atomic<bool> m_identified{false};
    std::atomic<bool> m_reidentify{false};
    std::atomic<bool> m_reopenPort{false};
    CTransferProgress m_progress;
    int m_wakeFd = -1;
};
