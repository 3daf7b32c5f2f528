#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "link/modbus_interface.h"
#include "model/device/device_interface_thread.h"
#include "model/device/device_type.h"
#include "sim/sim_device.h"
#include "support/scaled_timing.h"
#include "support/temp_folder.h"

namespace {
// The main dialog's poll loop: every poll result is recorded and the next poll posted.
class PollLoop : public CObserver {
public:
    explicit PollLoop(CDeviceInterfaceThread& thread) : m_thread(thread) {}

    void Update(CObservable*) override {
        {
            std::lock_guard guard(m_mutex);
            m_valid = m_thread.GetDeviceInterface().IsValid();
        }
        m_changed.notify_all();
        m_thread.PostPoll(CDeviceInterface::kTabAll);
    }

    bool WaitFor(bool valid, std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_valid == valid; });
    }

private:
    CDeviceInterfaceThread& m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_valid = false;
};

class PollReopenTest : public ScaledTiming {};
}  // namespace

TEST_F(PollReopenTest, AfterAHangUpTheDeviceBehindTheSamePathIsFoundWithoutReconnecting) {
    CTempFolder folder;
    const std::string link = folder / "usb-Zenta_K9-if00-port0";
    auto first = std::make_unique<CSimDevice>("K9TS");
    PointLink(link, first->GetSlavePath());
    CModbusInterface modbus(CComSettings(link, "Zenta K9"));
    modbus.Connect(CComSettings(link, "Zenta K9"));

    CDeviceInterfaceThread thread;
    PollLoop loop(thread);
    thread.Attach(&loop);
    thread.GetDeviceInterface().SetModbus(&modbus);
    thread.PostPoll(CDeviceInterface::kTabAll);
    const auto search = WaitMargin(SilentRequestTime());
    ASSERT_TRUE(loop.WaitFor(true, search));

    // The adapter is pulled: its node goes, and a new one comes up behind the same link.
    first->HangUp();
    ASSERT_TRUE(loop.WaitFor(false, search));
    first.reset();
    CSimDevice second("K9RS");
    PointLink(link, second.GetSlavePath());

    EXPECT_TRUE(loop.WaitFor(true, search));
    EXPECT_TRUE(modbus.IsConnected());
    CDeviceType registry;
    EXPECT_EQ(thread.GetDeviceInterface().AccessSet()->GetTypeId(), registry.SetModel("K9RS")->GetTypeId());
    thread.Stop();
}
