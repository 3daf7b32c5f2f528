// The writes the user waits on, on the user-interface thread, while a poll on another thread holds the
// line: each takes it as a user's write must (CModbusInterface::LockCuttingIn).
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "model/set/par_type_v.h"
#include "support/thrown_message.h"
#include "ui/controls/list_fixture.h"
#include "ui/device_ui_support.h"
#include "ui/pages/adjust_input_page.h"
#include "ui/pages/ao_test_page.h"

namespace {
// Late replies still come well within the reply time-out, and an identification of late replies
// outlasts the longest reply time-out.
constexpr unsigned kAllowance = 450;
constexpr std::chrono::milliseconds kLateReply{kAllowance / 3};

class UserWriteTest : public ScaledTiming {
protected:
    void SetUp() override {
        ScaledTiming::SetUp();
        Modbus().SetDeviceAllowance(kAllowance);
        m_device.Connect();
        m_list.set.SetOnline(true);
        m_list.List().SetModbusInterface(&Modbus());
        m_list.List().Refresh();
        m_adjust.Create(static_cast<QWidget*>(nullptr));
        m_adjust.UpdateFromDevice(m_device.devif.GetAdjustInfo(), &m_device.devif);
        m_loop.SetModbus(&Modbus());
        m_loop.Create(static_cast<QWidget*>(nullptr));
    }
    CModbusInterface& Modbus() { return m_device.link.modbus; }
    CSimDevice& Sim() { return m_device.link.sim; }
    size_t ModelCodeReads(size_t first) const {
        size_t count = 0;
        for (const SimRequest& r : m_device.link.sim.GetRequests()) {
            count += r.index >= first && r.kind == ESimRequestKind::Read && r.start == kRegModelCode;
        }
        return count;
    }

    SimPolledDevice m_device{"K9RS"};
    ListFixture m_list;
    CAdjustInputPage m_adjust;
    CAOTestPage m_loop;
};
}  // namespace

// While the poll identifies a device that does not answer, each write cuts it short after its first
// unanswered attempt: the window waits about one attempt, not the poll's whole retry, and the write
// reaches the device. A device that answers, however slowly, keeps the line for its whole
// identification: the write waits for it, and the device stays identified.
TEST_F(UserWriteTest, AWriteCutsThePollShortOnlyAtASilentDevice) {
    const struct {
        const char* write;
        std::function<void()> act;
        uint16_t written;
        bool silent;
    } cases[] = {
        {"edit",
         [&] {
             m_list.ClickValue(CParTypeV::kDamping);
             m_list.Type("12", Qt::Key_Return);
         },
         1286, true},
        {"fine adjustment", [&] { m_adjust.DispatchCommand(CAdjustInputPage::kResetOutput); },
         CDeviceInterface::kRegAdjust, true},
        {"Fixed Out", [&] { m_loop.DispatchCommand(CAOTestPage::kFixedOut); }, CAOTestPage::kRegOutputHold,
         true},
        {"Set",
         [&] {
             m_loop.SetDlgItemText(CAOTestPage::kValue, "12");
             m_loop.DispatchCommand(CAOTestPage::kSet);
         },
         CAOTestPage::kRegOutputHold, true},
        {"Normal Out", [&] { m_loop.DispatchCommand(CAOTestPage::kNormalOut); }, CAOTestPage::kRegOutputHold,
         true},
        {"edit at a device that answers",
         [&] {
             m_list.ClickValue(CParTypeV::kDamping);
             m_list.Type("12", Qt::Key_Return);
         },
         1286, false},
    };
    const auto attempt = SilentAttemptTime(CComSettings::BaudRate(kFastestBaudIndex), kAllowance);
    for (const auto& c : cases) {
        CMessageBoxRecorder boxes;
        Sim().ClearFaults();
        if (c.silent) {
            Sim().InjectFaultWhere(SimFault::Silence(), [](const SimRequest& r) {
                return r.kind == ESimRequestKind::Read && r.start == kRegModelCode;
            });
        } else {
            Sim().InjectFaultFrom(0, SimFault::Late(kLateReply));
        }
        const size_t before = Sim().GetRequestCount();
        const size_t writes = m_device.Writes(c.written);
        m_device.devif.RequestIdentify();
        bool pollFailed = false;
        std::jthread poll([&] {
            pollFailed = ThrownMessage([&] { m_device.devif.Poll(CDeviceInterface::kTabAll); }) != kNoThrow;
        });
        // From its second request on the identification holds the line to its end.
        ASSERT_TRUE(Sim().WaitForRequests(before + (c.silent ? 1 : 2), WaitMargin(attempt))) << c.write;
        const Stopwatch wait;
        c.act();
        const long long waitedMs = wait.Ms();
        poll.join();
        EXPECT_EQ(pollFailed, c.silent) << c.write;
        EXPECT_EQ(m_device.devif.IsIdentified(), !c.silent) << c.write;
        EXPECT_GT(m_device.Writes(c.written), writes) << c.write;
        EXPECT_TRUE(boxes.texts.empty()) << c.write;
        if (c.silent) {
            EXPECT_LE(waitedMs, WaitMargin(attempt).count()) << c.write;
            EXPECT_LT(ModelCodeReads(before), static_cast<size_t>(CModbusInterface::kAttempts)) << c.write;
        }
    }
}
