#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sim/sim_model.h"
#include "sim/sim_request.h"

// A Zenta device on a pseudo-terminal: a Modbus RTU slave (functions 3 and 16) and the ASCII G/I/D
// line protocol on the same line, served by its own thread. Point the program at GetSlavePath().
// Every member is safe to call from any thread.
class CSimDevice {
public:
    // Called before each read that touches a read-only (live) register, with the number of such
    // reads before this one; it may change any register of the model. It runs on the device's thread
    // under the device's lock, so it must not call the device.
    using Scenario = std::function<void(CSimModel& model, int readIndex)>;
    using RequestHook = std::function<void(const SimRequest& request)>;

    // Throws std::runtime_error for an unknown model code or when no pseudo-terminal can be made.
    explicit CSimDevice(const std::string& modelCode);
    explicit CSimDevice(std::unique_ptr<CSimModel> model);
    ~CSimDevice();
    CSimDevice(const CSimDevice&) = delete;
    CSimDevice& operator=(const CSimDevice&) = delete;

    const std::string& GetSlavePath() const { return m_slavePath; }

    // The slave address answered (1 by default); frames for other addresses are recorded, not answered.
    void SetAddress(uint8_t address);
    // Bytes that have not become a whole frame or line when the line has been quiet this long are
    // dropped as a fragment.
    void SetFrameGap(std::chrono::milliseconds gap);

    uint16_t GetRegister(int address) const;
    std::vector<uint16_t> GetRegisters(int start, int count) const;
    void SetRegister(int address, uint16_t value);
    void SetRegisters(int start, const std::vector<uint16_t>& values);
    std::string GetModelCode() const;
    std::string GetItem(int group, int item) const;
    void SetItem(int group, int item, std::string value);
    // Runs `action` on the model under the device's lock, for what the accessors above do not cover;
    // `action` must not call the device.
    void WithModel(const std::function<void(CSimModel&)>& action);

    void SetScenario(Scenario scenario);
    // A scenario that applies step k (register, value pairs) before the k-th live read; the last step
    // stays in force after the table ends.
    static Scenario Steps(std::vector<std::vector<std::pair<int, uint16_t>>> steps);

    std::vector<SimRequest> GetRequests() const;
    size_t GetRequestCount() const;
    // Waits until at least `count` requests have arrived in all; false when the time-out ran out first.
    // A request is recorded once the device has carried it out and queued its reply.
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;
    // Called on the device's thread for every request once it is recorded.
    void SetRequestHook(RequestHook hook);

    static constexpr size_t kForever = std::numeric_limits<size_t>::max();
    // Faults for the requests with index first..last; where several match, the latest injected wins.
    void InjectFault(const SimFault& fault, size_t first, size_t last);
    void InjectFaultNext(const SimFault& fault);  // the next request to arrive
    void InjectFaultFrom(size_t first, const SimFault& fault) { InjectFault(fault, first, kForever); }
    // A fault for every request that `applies` picks by what it asks (a register, a line), from now on:
    // the line can be silent to one thread's requests and answer another's. `applies` runs on the
    // device's thread under the device's lock, so it must not call the device.
    void InjectFaultWhere(const SimFault& fault, std::function<bool(const SimRequest&)> applies);
    // Requests 0..count-1 are answered, every later one meets silence.
    void StopAnsweringAfter(size_t count) { InjectFaultFrom(count, SimFault::Silence()); }
    void ClearFaults();

    // Sends bytes nobody asked for, at once.
    void SendUnsolicited(std::vector<uint8_t> bytes);
    // Closes the device's side of the line; returns when it is closed.
    void HangUp();
    bool IsHungUp() const;

private:
    struct FaultRule {
        size_t first;
        size_t last;
        SimFault fault;
        std::function<bool(const SimRequest&)> applies;  // none: every request in the range
    };
    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::vector<uint8_t> bytes;
    };
    using Clock = std::chrono::steady_clock;

    void OpenPty();
    void CloseLine();
    void HangUpLocked();
    // At once, or `delay` from now on the serving thread.
    void HangUpAfter(std::chrono::milliseconds delay);
    void Wake() const;
    void Serve();
    int PollTimeout(Clock::time_point now) const;
    void ReadInput();
    void WriteOutput();
    void ParseInput();
    void DropFragment();
    void HandleModbus(std::vector<uint8_t> frame);
    void HandleAscii(std::vector<uint8_t> raw);
    // Numbers the request, carries out `answer` and records the request, all under the lock, so a
    // recorded request has had its effect and its reply is queued.
    void Record(SimRequest& request, const std::function<void()>& answer);
    const SimFault* FindFault(const SimRequest& request) const;
    std::vector<uint8_t> ExecuteModbus(const SimRequest& request);
    std::string ExecuteAscii(const std::string& line);
    void Reply(std::vector<uint8_t> reply, const SimFault* fault, bool modbus);

    std::unique_ptr<CSimModel> m_model;
    std::string m_slavePath;
    int m_master = -1;
    int m_slave = -1;  // held open so the master never sees a hang-up between the program's opens
    int m_wake = -1;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    uint8_t m_address = 1;
    std::chrono::milliseconds m_gap{50};
    Scenario m_scenario;
    int m_liveReads = 0;
    std::vector<SimRequest> m_requests;
    RequestHook m_hook;
    std::vector<FaultRule> m_faults;
    std::vector<Pending> m_pending;
    bool m_hangUpWanted = false;
    std::optional<Clock::time_point> m_hangUpAt;
    bool m_hungUp = false;
    int m_group = 0;
    int m_item = 0;

    // Owned by the serving thread.
    std::vector<uint8_t> m_input;
    Clock::time_point m_lastInput;
    std::vector<uint8_t> m_output;

    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
