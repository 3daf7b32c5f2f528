#include "ui/pages/calib_input_page.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "model/device/device_interface_thread.h"
#include "ui/device_ui_support.h"
#include "ui/hooks/ui_notifier.h"
#include "ui/ui_test_support.h"

namespace {
class CalibPageTest : public ScaledTiming {
protected:
    void Open(const std::string& code) {
        m_device = std::make_unique<SimPolledDevice>(code);
        m_device->Connect();
        m_page.Create(static_cast<QWidget*>(nullptr));
        Update();
    }
    void Update() { m_page.UpdateFromDevice(m_device->devif.GetCalibInfo(), &m_device->devif); }
    bool Enabled() const {
        const bool zero = m_page.IsDlgItemEnabled(CCalibInputPage::kCalib0);
        EXPECT_EQ(zero, m_page.IsDlgItemEnabled(CCalibInputPage::kCalib100));
        return zero;
    }

    std::unique_ptr<SimPolledDevice> m_device;
    CCalibInputPage m_page;
};

// Counts the poll thread's notifications; a test waits for the next one.
class CPollDone : public CObserver {
public:
    void Update(CObservable*) override {
        std::lock_guard lock(m_mutex);
        ++polls;
        m_done.notify_all();
    }
    bool WaitBeyond(int count) {
        std::unique_lock lock(m_mutex);
        return m_done.wait_for(lock, std::chrono::seconds(10), [&] { return polls.load() > count; });
    }
    std::atomic<int> polls{0};

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
};
}  // namespace

// A click disables both buttons until the poll has carried the request out, for either point.
TEST_F(CalibPageTest, ButtonsWaitForThePollToCarryTheRequestOut) {
    Open("K9PM");
    EXPECT_TRUE(Enabled());
    EXPECT_EQ(m_page.GetDlgItemText(CCalibInputPage::kValue0), m_device->devif.GetCalibInfo().GetZeroValue());
    EXPECT_FALSE(m_page.GetDlgItemText(CCalibInputPage::kValue100).empty());
    for (int button : {CCalibInputPage::kCalib0, CCalibInputPage::kCalib100}) {
        m_page.DispatchCommand(button);
        EXPECT_FALSE(Enabled());
        Update();  // hands the request on; the poll has not run yet
        EXPECT_FALSE(Enabled());
        EXPECT_TRUE(m_device->devif.IsTeachPending());
        const size_t writes = m_device->link.sim.GetRequestCount();
        m_device->devif.Poll(CDeviceInterface::kTabAll);
        EXPECT_FALSE(m_device->devif.IsTeachPending());
        EXPECT_GT(m_device->link.sim.GetRequestCount(), writes);
        Update();
        EXPECT_TRUE(Enabled());
    }
}

TEST_F(CalibPageTest, OtherModelsAndOfflineLeaveTheButtonsDisabledAndTheFieldsEmpty) {
    Open("K9PM");
    m_page.UpdateFromDevice(CCalibInfo(), nullptr);
    EXPECT_FALSE(Enabled());
    EXPECT_EQ(m_page.GetDlgItemText(CCalibInputPage::kValue0), "");
    Open("K9TS");
    EXPECT_FALSE(Enabled());
    EXPECT_EQ(m_page.GetDlgItemText(CCalibInputPage::kValue100), "");
}

// A refused teach request (a present position below the 0 % input cannot be the 100 % input) is reported
// by the poll thread through the notifier and shown on the user-interface thread.
TEST_F(CalibPageTest, ARefusedTeachIsShownOnTheUserInterfaceThread) {
    SimLink link("K9PM");
    link.sim.SetRegisters(1288, {0x0001, 0x86A0, 0x000D, 0xBBA0});  // 10 % and 90 %
    CPollDone done;
    CDeviceInterfaceThread poll;
    poll.Attach(&done);
    poll.GetDeviceInterface().SetModbus(&link.modbus);
    auto pollOnce = [&] {
        const int before = done.polls.load();
        poll.PostPoll(CDeviceInterface::kTabAll);
        ASSERT_TRUE(done.WaitBeyond(before));
    };
    pollOnce();
    pollOnce();
    m_page.Create(static_cast<QWidget*>(nullptr));
    CDeviceInterface& devif = poll.GetDeviceInterface();
    m_page.UpdateFromDevice(devif.GetCalibInfo(), &devif);
    ASSERT_TRUE(Enabled());

    std::vector<std::thread::id> shownOn;
    SetMessageBoxHook([&shownOn](const std::string&, unsigned) {
        shownOn.push_back(std::this_thread::get_id());
        return IDOK;
    });
    const CUiNotifier notifier(m_page.Poster());
    m_page.DispatchCommand(CCalibInputPage::kCalib100);
    m_page.UpdateFromDevice(devif.GetCalibInfo(), &devif);
    pollOnce();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (shownOn.empty() && std::chrono::steady_clock::now() < deadline) QApplication::processEvents();
    SetMessageBoxHook(nullptr);
    ASSERT_EQ(shownOn.size(), 1u);
    EXPECT_EQ(shownOn[0], std::this_thread::get_id());
    m_page.UpdateFromDevice(devif.GetCalibInfo(), &devif);
    EXPECT_TRUE(Enabled());
}

// A teach request waits for the next poll of the device it was made for, and no longer: a disabled
// page, a lost connection or another device identified drop it.
TEST_F(CalibPageTest, ATeachRequestDoesNotOutliveThePageOrTheDevice) {
    enum { kPageDisabled, kConnectionLost, kIdentifiedAnew };
    for (int what : {kPageDisabled, kConnectionLost, kIdentifiedAnew}) {
        SCOPED_TRACE(what);
        Open("K9PM");
        m_page.GetWindow()->setEnabled(true);
        m_device->devif.RequestTeachZero();
        auto& sim = m_device->link.sim;
        if (what == kPageDisabled) {
            m_page.GetWindow()->setEnabled(false);
            Update();
        } else if (what == kConnectionLost) {
            m_device->link.modbus.SetConnected(false);
            m_device->devif.Poll(CDeviceInterface::kTabAll);
            m_device->link.modbus.SetConnected(true);
        } else {
            m_device->devif.RequestIdentify();
        }
        EXPECT_EQ(m_device->devif.IsTeachPending(), what == kIdentifiedAnew);
        const size_t writes = ModbusWrites(sim).size();
        m_device->devif.Poll(CDeviceInterface::kTabAll);
        m_device->devif.Poll(CDeviceInterface::kTabAll);
        EXPECT_FALSE(m_device->devif.IsTeachPending());
        EXPECT_EQ(ModbusWrites(sim).size(), writes);
    }
}
