#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/device/device_interface_thread.h"
#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "model/device/device_type.h"
#include "model/hooks/notifier.h"
#include "platform/exception.h"
#include "sim/sim_model.h"

namespace {

using namespace std::chrono_literals;

// The identity a device keeps to itself: model text, serial number, hardware and firmware version.
constexpr int32_t kModel = 62002;
constexpr int32_t kHardware = 62004;
constexpr int32_t kFirmware = 62005;

// Counts notifications; can hold the worker inside one so that commands pile up behind it.
class Waiter : public CObserver {
public:
    void Update(CObservable*) override {
        std::unique_lock lock(m_mutex);
        ++m_count;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_hold; });
    }
    // By default as long as a command that ends in one failed request may take, with its margin.
    bool WaitFor(int count) { return WaitFor(count, WaitMargin(SilentRequestTime())); }
    bool WaitFor(int count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_count >= count; });
    }
    int Count() {
        std::lock_guard guard(m_mutex);
        return m_count;
    }
    void Hold() {
        std::lock_guard guard(m_mutex);
        m_hold = true;
    }
    void Release() {
        {
            std::lock_guard guard(m_mutex);
            m_hold = false;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
    bool m_hold = false;
};

class DeviceThreadTest : public ScaledTiming {
protected:
    // A work thread's single command, as the main dialog runs it; returns the thread after its
    // notification.
    std::unique_ptr<CDeviceInterfaceThread> RunOnce(SimLink& link, const CParBase* download) {
        auto thread = std::make_unique<CDeviceInterfaceThread>();
        Waiter waiter;
        thread->Attach(&waiter);
        thread->GetDeviceInterface().SetModbus(&link.modbus);
        thread->GetDeviceInterface().ResetProgress();
        if (download != nullptr) {
            thread->PostDownload(*download);
        } else {
            thread->PostUpload();
        }
        EXPECT_TRUE(waiter.WaitFor(1));
        thread->Stop();
        EXPECT_EQ(waiter.Count(), 1);
        return thread;
    }

    // A fresh simulated device holds zeros, which not every model accepts; give it the model's defaults.
    void LoadDefaults(SimLink& link, const std::string& code) {
        CDeviceType registry;
        const auto thread = RunOnce(link, registry.SetModel(code));
        ASSERT_FALSE(thread->GetKeptException());
    }
};

TEST_F(DeviceThreadTest, PollWithoutConnectionNotifiesInvalid) {
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    thread.PostPoll(CDeviceInterface::kTabAll);
    ASSERT_TRUE(waiter.WaitFor(1));
    EXPECT_FALSE(thread.GetDeviceInterface().IsValid());
    EXPECT_EQ(thread.GetLastCommand(), CDeviceInterfaceThread::kPoll);
}

TEST_F(DeviceThreadTest, FailedTransferKeepsItsFailureAndNotifiesOnce) {
    CDeviceType registry;
    const CParBase* const transfers[] = {nullptr, registry.SetModel("K9TS")};
    for (const CParBase* download : transfers) {
        SCOPED_TRACE(download ? "download" : "upload");
        SimLink link("K9TS");
        // Refused requests fail as surely as unanswered ones, without waiting out a time-out.
        link.sim.InjectFaultFrom(0, SimFault::Exception(4));
        const auto thread = RunOnce(link, download);
        const std::exception_ptr kept = thread->GetKeptException();
        ASSERT_TRUE(kept);
        EXPECT_THROW(std::rethrow_exception(kept), CException);
    }
}

TEST_F(DeviceThreadTest, FailedPollIsNotKeptAndTheStateIsReset) {
    SimLink link("K9TS");
    link.sim.InjectFaultFrom(1, SimFault::Exception(4));
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    thread.GetDeviceInterface().SetModbus(&link.modbus);
    thread.PostPoll(0);
    ASSERT_TRUE(waiter.WaitFor(1));
    EXPECT_FALSE(thread.GetKeptException());
    EXPECT_FALSE(thread.GetDeviceInterface().IsIdentified());
    EXPECT_FALSE(thread.GetDeviceInterface().IsValid());
}

TEST_F(DeviceThreadTest, OtherCommandCodesDoNothing) {
    SimLink link("K9RS");
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    for (int32_t code : {5, 7, -1}) thread.PostCommand(code);
    thread.GetDeviceInterface().SetModbus(&link.modbus);
    thread.PostPoll(0);
    ASSERT_TRUE(waiter.WaitFor(1));
    EXPECT_EQ(waiter.Count(), 1);
    EXPECT_EQ(ModbusBlocks(link.sim, 0).front(), "R2074x4");
}

TEST_F(DeviceThreadTest, DownloadWithoutASetFailsAndTouchesNothing) {
    SimLink link("K9RS");
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    thread.GetDeviceInterface().SetModbus(&link.modbus);
    thread.PostCommand(CDeviceInterfaceThread::kDownload);
    ASSERT_TRUE(waiter.WaitFor(1));
    EXPECT_TRUE(thread.GetKeptException());
    EXPECT_EQ(link.sim.GetRequestCount(), 0u);
}

TEST_F(DeviceThreadTest, QueuedAdjustmentRequestsGiveOneWriteWithTheNewestRecord) {
    SimLink link("K9RS");
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    thread.GetDeviceInterface().SetModbus(&link.modbus);
    waiter.Hold();
    thread.PostPoll(0);
    ASSERT_TRUE(waiter.WaitFor(1));

    CAdjustInfo first;
    first.outputZero = 0.5;
    CAdjustInfo second;
    second.outputZero = 0.29;
    thread.RequestWriteAdjust(first);
    thread.RequestWriteAdjust(second);
    thread.PostPoll(0);
    waiter.Release();
    ASSERT_TRUE(waiter.WaitFor(2));

    int writes = 0;
    for (const std::string& block : ModbusBlocks(link.sim, 0)) writes += block == "W2064x4" ? 1 : 0;
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(LastWrite(link.sim, 2064), (std::vector<uint16_t>{0, 10000, 29, 10000}));

    // A request made after that write is written again.
    thread.RequestWriteAdjust(first);
    thread.PostPoll(0);
    ASSERT_TRUE(waiter.WaitFor(3));
    EXPECT_EQ(LastWrite(link.sim, 2064), (std::vector<uint16_t>{0, 10000, 50, 10000}));
}

class DeviceThreadRealTimeTest : public ScaledTiming {
protected:
    DeviceThreadRealTimeTest() : ScaledTiming(1) {}
};

TEST_F(DeviceThreadRealTimeTest, StoppingDuringASilentRequestEndsPromptly) {
    for (bool destroy : {false, true}) {
        SCOPED_TRACE(destroy);
        SimLink link("K9RS");
        link.sim.StopAnsweringAfter(0);
        auto thread = std::make_unique<CDeviceInterfaceThread>();
        Waiter waiter;
        thread->Attach(&waiter);
        thread->GetDeviceInterface().SetModbus(&link.modbus);
        thread->PostPoll(0);
        ASSERT_TRUE(link.sim.WaitForRequests(1, 5s));
        const Stopwatch watch;
        if (destroy) {
            thread.reset();
        } else {
            thread->Stop();
        }
        EXPECT_LT(watch.Ms(), 500);
        EXPECT_LE(waiter.Count(), 1);
        // The line is usable again for whoever talks over it next.
        link.sim.ClearFaults();
        uint16_t value = 0;
        EXPECT_TRUE(link.modbus.ReadHoldingRegister(1064, 1, &value));
        EXPECT_EQ(value, 1);
    }
}

TEST_F(DeviceThreadTest, ProgressIsReadableFromAnotherThreadWhileAnUploadRuns) {
    SimLink link("K9TS");
    LoadDefaults(link, "K9TS");
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    thread.GetDeviceInterface().SetModbus(&link.modbus);
    std::vector<int32_t> seen;
    thread.PostUpload();
    while (!waiter.WaitFor(1, 1ms)) seen.push_back(thread.GetDeviceInterface().GetProgress());
    ASSERT_FALSE(thread.GetKeptException());
    ASSERT_FALSE(seen.empty());
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
    EXPECT_GT(thread.GetDeviceInterface().GetProgress(), 0);
    EXPECT_EQ(thread.GetDeviceInterface().GetProgress(),
              thread.GetDeviceInterface().AccessSet()->GetProgress());
}

TEST_F(DeviceThreadTest, DownloadWritesTheSetAsItWasWhenPosted) {
    SimLink link("K9RS");
    CDeviceType registry;
    CParBase& source = *registry.SetModel("K9RS");
    source.SetValue(51, 20000, false);
    CDeviceInterfaceThread thread;
    Waiter waiter;
    thread.Attach(&waiter);
    thread.GetDeviceInterface().SetModbus(&link.modbus);
    waiter.Hold();
    thread.PostPoll(0);
    ASSERT_TRUE(waiter.WaitFor(1));
    thread.PostDownload(source);
    source.SetValue(51, 30000, false);
    waiter.Release();
    ASSERT_TRUE(waiter.WaitFor(2));
    ASSERT_FALSE(thread.GetKeptException());
    EXPECT_EQ(link.sim.GetRegister(1286), 20);
}

// The user interface reads the poll thread's set under the Modbus lock while identification swaps it
// for another model's.
TEST_F(DeviceThreadTest, SetIsSafeToReadWhileIdentificationReplacesIt) {
    SimLink link("K9RS");
    LoadDefaults(link, "K9RS");
    CDeviceInterfaceThread poller;
    Waiter polls;
    poller.Attach(&polls);
    poller.GetDeviceInterface().SetModbus(&link.modbus);
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (!done.load()) {
            if (poller.GetDeviceInterface().AccessSet()->GetTypeId() > 0) ++reads;
            std::this_thread::yield();
        }
    });
    const struct {
        const char* code;
        int32_t typeId;
    } steps[] = {{"K9TS", 1}, {"K9U0", 4}, {"K9U1", 5}, {"K9RS", 2}};
    int polled = 0;
    for (const auto& step : steps) {
        SetModelCode(link.sim, step.code);
        poller.GetDeviceInterface().RequestIdentify();
        poller.PostPoll(0);
        if (!polls.WaitFor(++polled)) break;
        EXPECT_EQ(poller.GetDeviceInterface().AccessSet()->GetTypeId(), step.typeId) << step.code;
    }
    done.store(true);
    reader.join();
    EXPECT_EQ(polls.Count(), 4);
    EXPECT_GT(reads.load(), 0);
}

// Hands messages to the "user interface" (the test's thread) as the real one does, without waiting.
class PostingNotifier : public CNotifier {
public:
    PostingNotifier() { InstallNotifier(this); }
    ~PostingNotifier() override { InstallNotifier(nullptr); }
    void ShowMessage(const std::string& text, unsigned) override {
        {
            std::lock_guard guard(m_mutex);
            m_messages.push_back(text);
        }
        m_posted.notify_all();
    }
    std::vector<std::string> WaitForMessage() {
        std::unique_lock lock(m_mutex);
        m_posted.wait_for(lock, WaitMargin(SilentRequestTime()), [this] { return !m_messages.empty(); });
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::vector<std::string> m_messages;
};

TEST_F(DeviceThreadTest, RefusedTeachRequestReachesTheUserAndThePollGoesOn) {
    PostingNotifier notifier;
    SimLink link("K9PM");
    LoadDefaults(link, "K9PM");
    link.sim.SetRegisters(1288, {0x0001, 0x86A0, 0x000D, 0xBBA0});  // 10 % and 90 %
    CDeviceInterfaceThread poller;
    Waiter polls;
    poller.Attach(&polls);
    CDeviceInterface& device = poller.GetDeviceInterface();
    device.SetModbus(&link.modbus);
    poller.PostPoll(0);
    poller.PostPoll(0);
    ASSERT_TRUE(polls.WaitFor(2));
    ASSERT_TRUE(device.IsValid());

    // The present position lies below 10 %, out of range for the 100 % input.
    device.RequestTeachFull();
    const size_t first = link.sim.GetRequestCount();
    poller.PostPoll(0);
    const std::vector<std::string> messages = notifier.WaitForMessage();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("should be a from"), std::string::npos);
    // Showing the message the user interface takes the Modbus lock; the poll does not wait for it.
    EXPECT_EQ(device.AccessSet()->GetTypeId(), 3);
    ASSERT_TRUE(polls.WaitFor(3));
    EXPECT_TRUE(device.IsValid());
    EXPECT_FALSE(device.GetCalibInfo().fullRequest.Load());
    EXPECT_EQ(link.sim.GetRegisters(1290, 2), (std::vector<uint16_t>{0x000D, 0xBBA0}));
    int writes = 0;
    for (const std::string& block : ModbusBlocks(link.sim, first)) writes += block == "W1290x2" ? 1 : 0;
    EXPECT_EQ(writes, 1);
}

class DeviceThreadEndToEndTest : public DeviceThreadTest {};

// Every model code: load the defaults, identify, poll live values, upload the defaults back, download a
// changed set and upload it again.
TEST_F(DeviceThreadEndToEndTest, EveryModelWorksEndToEnd) {
    const struct {
        const char* code;
        int32_t typeId;
    } models[] = {{"K9TS", 1}, {"K9RS", 2}, {"K9PM", 3}, {"K9U0", 4}, {"K9U1", 5},
                  {"K9U2", 6}, {"K9U3", 7}, {"K9U4", 8}, {"K9U5", 9}};
    for (const auto& model : models) {
        const std::string code = model.code;
        SCOPED_TRACE(code);
        SimLink link(code);
        CDeviceType registry;
        const CParBase& defaults = *registry.SetModel(code);
        ASSERT_EQ(defaults.GetTypeId(), model.typeId);
        LoadDefaults(link, code);

        CDeviceInterfaceThread poller;
        Waiter polls;
        poller.Attach(&polls);
        poller.GetDeviceInterface().SetModbus(&link.modbus);
        poller.PostPoll(CDeviceInterface::kTabAll);
        ASSERT_TRUE(polls.WaitFor(1));
        EXPECT_TRUE(poller.GetDeviceInterface().IsIdentified());
        EXPECT_FALSE(poller.GetDeviceInterface().IsValid());
        EXPECT_EQ(poller.GetDeviceInterface().AccessSet()->GetTypeId(), model.typeId);
        // The loop-test hold shows in the status of the next, live poll.
        link.sim.SetRegister(2072, 1);
        poller.PostPoll(CDeviceInterface::kTabAll);
        ASSERT_TRUE(polls.WaitFor(2));
        EXPECT_TRUE(poller.GetDeviceInterface().IsValid());
        EXPECT_NE(poller.GetDeviceInterface().GetCalibInfo().status & kStatusLooptest, 0);
        poller.Stop();
        link.sim.SetRegister(2072, 0);

        const auto upload = RunOnce(link, nullptr);
        ASSERT_FALSE(upload->GetKeptException());
        std::unique_ptr<CParBase> changed;
        {
            // The access holds the Modbus lock; the copy is made and the lock let go before the download.
            auto uploaded = upload->GetDeviceInterface().AccessSet();
            EXPECT_EQ(uploaded->GetTypeId(), model.typeId);
            EXPECT_EQ(uploaded->GetValue(51), link.sim.GetRegister(1286) * 1000);
            // What the device holds is the defaults loaded into it, except the identity it keeps itself.
            EXPECT_EQ(uploaded->GetValue(kHardware), link.sim.GetRegister(1064));
            for (int32_t walkCode : defaults.GetWalkCodes()) {
                if (walkCode >= kModel && walkCode <= kFirmware) continue;
                EXPECT_EQ(uploaded->GetValueString(walkCode), defaults.GetValueString(walkCode)) << walkCode;
            }
            changed = uploaded->Clone();
        }
        changed->SetValue(51, 30000, false);
        changed->SetValue(10003, -123, false);
        changed->SetValueFromString(62000, "E2E", false);
        const auto download = RunOnce(link, changed.get());
        ASSERT_FALSE(download->GetKeptException());
        EXPECT_EQ(link.sim.GetRegister(1286), 30);

        const auto again = RunOnce(link, nullptr);
        ASSERT_FALSE(again->GetKeptException());
        auto reread = again->GetDeviceInterface().AccessSet();
        for (int32_t walkCode : changed->GetWalkCodes()) {
            EXPECT_EQ(reread->GetValueString(walkCode), changed->GetValueString(walkCode)) << walkCode;
        }
    }
}

}  // namespace
