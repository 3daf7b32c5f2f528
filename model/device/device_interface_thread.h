#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "link/observer.h"
#include "model/device/adjust_info.h"
#include "model/device/device_interface.h"

// Runs the operations of its own device interface on a worker thread, one command at a time in the order
// posted, and notifies its observers (on the worker thread) when a poll, upload or download has ended.
// Observers are attached before the first command is posted. The object may be destroyed from the
// thread that made it at any time: destruction stops the worker first and waits for it to end.
class CDeviceInterfaceThread : public CObservable {
public:
    enum Command : int32_t {
        kEnd = 0,
        kPoll = 1,
        kWriteAdjust = 2,
        kUpload = 3,
        kDownload = 4,
    };

    // Starts the worker, which waits for commands.
    CDeviceInterfaceThread();
    ~CDeviceInterfaceThread() override;
    CDeviceInterfaceThread(const CDeviceInterfaceThread&) = delete;
    CDeviceInterfaceThread& operator=(const CDeviceInterfaceThread&) = delete;

    // Poll with the device page `tab` (CDeviceInterface::kTabAll for all pages).
    void PostPoll(int32_t tab);
    // Queues an adjustment write. Requests that pile up while an earlier write runs are written once,
    // with the newest record.
    void RequestWriteAdjust(const CAdjustInfo& info);
    void PostUpload();
    // Downloads a copy of `source` taken now, on the calling thread; later edits of `source` do not
    // reach the device.
    void PostDownload(const CParBase& source);
    // Posts a bare command code; codes other than 0 to 4 are recorded as the last command and ignored. A
    // bare download has no set to write and ends as a kept failure.
    void PostCommand(int32_t command);

    // Ends the worker: cancels the exchange in flight and the pauses, drops what is still queued and
    // waits for the thread to end. Safe to call more than once.
    void Stop();

    // The code of the command being or last handled.
    int32_t GetLastCommand() const { return m_lastCommand.load(); }
    // The failure of the last upload or download; null when it succeeded.
    std::exception_ptr GetKeptException() const;
    CDeviceInterface& GetDeviceInterface() { return m_device; }

private:
    struct Request {
        int32_t command = kEnd;
        int32_t tab = CDeviceInterface::kTabAll;
        std::unique_ptr<CParBase> source;
    };

    void Post(Request request);
    Request Take();
    void Run();
    void Handle(Request& request);
    void WriteNewestAdjust();
    void Keep(std::exception_ptr failure);

    CDeviceInterface m_device;

    std::mutex m_queueMutex;
    std::condition_variable m_queued;
    std::deque<Request> m_queue;

    // The newest adjustment request and the sequence numbers of the coalescing rule.
    std::mutex m_adjustMutex;
    CAdjustInfo m_adjustRequest;
    uint64_t m_requestSequence = 0;
    uint64_t m_writtenSequence = 0;

    mutable std::mutex m_keptMutex;
    std::exception_ptr m_kept;

    std::atomic<int32_t> m_lastCommand{kEnd};
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_busy{false};
    std::thread m_thread;
};
