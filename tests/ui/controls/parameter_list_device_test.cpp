// Device-side editing against the simulated device on a pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "support/transfer_probe.h"
#include "ui/controls/list_fixture.h"

namespace {
class DeviceListTest : public ScaledTiming {
protected:
    void SetUp() override {
        ScaledTiming::SetUp();
        f.set.SetOnline(true);
        f.List().SetModbusInterface(&link.modbus);
        f.List().Refresh();
    }
    SimLink link{"K9RS"};
    ListFixture f;
};
}  // namespace

TEST_F(DeviceListTest, ACommitWritesTheValuesRegistersAndReadsThemBack) {
    const size_t before = link.sim.GetRequestCount();
    f.ClickValue(CParTypeV::kDamping);
    f.Type("12", Qt::Key_Return);
    const std::vector<std::string> requests = ModbusBlocks(link.sim, before);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front(), "W1286x1");
    // The read-back comes last, over the basic block that holds the value.
    EXPECT_EQ(requests.back().rfind("R1280x", 0), 0u) << requests.back();
    EXPECT_EQ(link.sim.GetRegister(1286), 120);
    EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), 120000);
    EXPECT_EQ(f.ValueCell(CParTypeV::kDamping), f.set.FormatValue(CParTypeV::kDamping, 120000, true));
}

// Administrator mode: what the identity registers cannot hold is refused and nothing is written.
TEST_F(DeviceListTest, IdentityValuesTheRegistersCannotHoldAreRefusedUnwritten) {
    const AdminModeScope admin(true);
    f.List().SetParameterSet(&f.set, kGroupDeviceInfo);
    f.List().Refresh();
    const std::string range = "Hardware should be a from 0 to 65535. ";
    const std::string ascii =
        " can hold only ASCII letters, digits, spaces and signs; Japanese and accented "
        "letters cannot be stored in the device.";
    const struct {
        int32_t code;
        const char* typed;
        std::string refusal;  // empty: accepted, and `reg` holds `written`
        int reg;
        uint16_t written;
    } cases[] = {
        {62004, "99999999", range, 1064, 0},        {62004, "-1", range, 1064, 0},
        {62004, "65535", "", 1064, 65535},          {62002, "日本", "Model" + ascii, 1042, 0},
        {62003, "Café", "Serial" + ascii, 1056, 0},
    };
    for (const auto& c : cases) {
        const bool refused = !c.refusal.empty();
        const std::string shown = refused ? f.ValueCell(c.code) : c.typed;
        const uint16_t held = refused ? link.sim.GetRegister(c.reg) : c.written;
        f.ClickValue(c.code);
        const size_t before = link.sim.GetRequestCount();
        CMessageBoxRecorder boxes;
        // As an input method commits it: key clicks carry ASCII only.
        f.Text().setText(QString::fromUtf8(c.typed));
        QTest::keyClick(&f.Text(), Qt::Key_Return);
        EXPECT_EQ(boxes.texts, refused ? std::vector{c.refusal} : std::vector<std::string>{}) << c.typed;
        EXPECT_EQ(f.ValueCell(c.code), shown) << c.typed;
        EXPECT_EQ(link.sim.GetRegister(c.reg), held) << c.typed;
        for (const std::string& block : ModbusBlocks(link.sim, before))
            EXPECT_TRUE(!refused || block[0] != 'W') << c.typed << " " << block;
    }
}

TEST_F(DeviceListTest, AWriteTheDeviceRefusesIsReportedAndTheOldValueIsShown) {
    f.set.SetValue(CParTypeV::kDamping, 30000, false);
    f.List().Refresh();
    const std::string shown = f.ValueCell(CParTypeV::kDamping);
    CMessageBoxRecorder boxes;
    link.sim.InjectFaultFrom(link.sim.GetRequestCount(), SimFault::Exception(2));
    f.ClickValue(CParTypeV::kDamping);
    f.Type("12", Qt::Key_Return);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_FALSE(boxes.texts[0].empty());
    EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), 30000);
    EXPECT_EQ(f.ValueCell(CParTypeV::kDamping), shown);
    EXPECT_NE(link.sim.GetRegister(1286), 120);
}

TEST_F(DeviceListTest, AnEditorOpenWhenTheOwnerChangesTheStateClosesWithoutWriting) {
    CParTypeR replacement;
    const struct {
        const char* label;
        std::function<void(CParameterListCtrl&)> change;
    } cases[] = {
        {"read-only", [](CParameterListCtrl& list) { list.SetReadOnly(true); }},
        {"emptied", [](CParameterListCtrl& list) { list.DeleteAllItems(); }},
        {"another set", [&](CParameterListCtrl& list) { list.SetParameterSet(&replacement, kGroupBasic); }},
    };
    for (const auto& c : cases) {
        f.List().SetReadOnly(false);
        f.List().SetParameterSet(&f.set, kGroupBasic);
        f.List().Refresh();
        const int32_t before = f.set.GetValue(CParTypeV::kDamping);
        f.ClickValue(CParTypeV::kDamping);
        ASSERT_TRUE(f.Text().isVisible()) << c.label;
        QTest::keyClicks(&f.Text(), "12");
        const size_t requests = link.sim.GetRequestCount();
        c.change(f.List());
        EXPECT_FALSE(f.Editing()) << c.label;
        // Enter reaching the closed editor writes nothing either.
        QTest::keyClick(&f.Text(), Qt::Key_Return);
        EXPECT_EQ(link.sim.GetRequestCount(), requests) << c.label;
        EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), before) << c.label;
        EXPECT_EQ(replacement.GetValue(CParTypeV::kDamping), before) << c.label;
    }
}

// The editor opens from what the list shows while another thread holds the line (a poll on a device that
// has stopped answering holds it through all its attempts): the window does not wait for it.
TEST_F(DeviceListTest, TheEditorOpensWhileAPollHoldsTheLine) {
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false;
    bool release = false;
    bool releasedByDeadline = false;
    std::thread poll([&] {
        std::unique_lock line(link.modbus.GetMutex());
        std::unique_lock state(mutex);
        holding = true;
        changed.notify_all();
        // The deadline only keeps a broken build from hanging: the test fails when it passes.
        releasedByDeadline = !changed.wait_for(state, std::chrono::seconds(10), [&] { return release; });
    });
    {
        std::unique_lock state(mutex);
        changed.wait(state, [&] { return holding; });
    }
    f.ClickValue(CParTypeV::kDamping);
    const bool editing = f.Text().isVisible();
    {
        std::lock_guard state(mutex);
        release = true;
    }
    changed.notify_all();
    poll.join();
    EXPECT_TRUE(editing);
    EXPECT_FALSE(releasedByDeadline);
}
