#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/device_interface_thread.h"
#include "model/device_sim.h"
#include "model/device_type.h"
#include "platform/exception.h"
#include "sim/sim_model.h"

namespace {

using namespace std::chrono_literals;

// Counts notifications; can hold the worker inside one so that commands pile up behind it.
class Waiter : public CObserver {
public:
    void Update(CObservable*) override {
        std::unique_lock lock(m_mutex);
        ++m_count;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_hold; });
    }
    bool WaitFor(int count, std::chrono::milliseconds timeout = 20s) {
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

TEST_F(DeviceThreadTest, FailedUploadKeepsItsFailureAndNotifiesOnce) {
    SimLink link("K9TS");
    link.sim.StopAnsweringAfter(0);
    const auto thread = RunOnce(link, nullptr);
    const std::exception_ptr kept = thread->GetKeptException();
    ASSERT_TRUE(kept);
    EXPECT_THROW(std::rethrow_exception(kept), CException);
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
    EXPECT_EQ(link.BlocksSince(0).front(), "R2074x4");
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
    for (const std::string& block : link.BlocksSince(0)) writes += block == "W2064x4" ? 1 : 0;
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(link.LastWrite(2064), (std::vector<uint16_t>{0, 10000, 29, 10000}));

    // A request made after that write is written again.
    thread.RequestWriteAdjust(first);
    thread.PostPoll(0);
    ASSERT_TRUE(waiter.WaitFor(3));
    EXPECT_EQ(link.LastWrite(2064), (std::vector<uint16_t>{0, 10000, 50, 10000}));
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
    EXPECT_EQ(thread.GetDeviceInterface().GetProgress(), thread.GetDeviceInterface().AccessSet()->GetProgress());
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

// Every model code the registry has a class for: load the defaults, identify, poll live values, upload,
// download a changed set and upload it again.
TEST_F(DeviceThreadTest, EveryModelWorksEndToEnd) {
    for (const std::string& code : CSimModel::KnownCodes()) {
        if (!CDeviceType::IsKnownTypeId(CDeviceType::TypeIdOfModel(code))) continue;
        SCOPED_TRACE(code);
        SimLink link(code);
        LoadDefaults(link, code);

        CDeviceInterfaceThread poller;
        Waiter polls;
        poller.Attach(&polls);
        poller.GetDeviceInterface().SetModbus(&link.modbus);
        poller.PostPoll(CDeviceInterface::kTabAll);
        ASSERT_TRUE(polls.WaitFor(1));
        EXPECT_TRUE(poller.GetDeviceInterface().IsIdentified());
        EXPECT_FALSE(poller.GetDeviceInterface().IsValid());
        poller.PostPoll(CDeviceInterface::kTabAll);
        ASSERT_TRUE(polls.WaitFor(2));
        EXPECT_TRUE(poller.GetDeviceInterface().IsValid());
        poller.Stop();

        const auto upload = RunOnce(link, nullptr);
        ASSERT_FALSE(upload->GetKeptException());
        std::unique_ptr<CParBase> changed;
        {
            // The access holds the Modbus lock; the copy is made and the lock let go before the download.
            auto uploaded = upload->GetDeviceInterface().AccessSet();
            EXPECT_EQ(uploaded->GetTypeId(), CDeviceType::TypeIdOfModel(code));
            EXPECT_EQ(uploaded->GetValue(51), link.sim.GetRegister(1286) * 1000);
            changed = uploaded->CreateInstance();
            changed->CopyFrom(*uploaded);
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
