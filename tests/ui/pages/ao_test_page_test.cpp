#include "ui/pages/ao_test_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ui/device_ui_support.h"

namespace {
class LoopTestPageTest : public ScaledTiming {
protected:
    void SetUp() override {
        ScaledTiming::SetUp();
        m_device.Connect();
        m_page.SetModbus(&m_device.link.modbus);
        m_page.Create(static_cast<QWidget*>(nullptr));
        Update();
    }
    void PollAndUpdate() {
        m_device.devif.Poll(CDeviceInterface::kTabLoopTest);
        Update();
    }
    void Update() { m_page.UpdateFromDevice(*m_device.devif.AccessSet()); }
    size_t HoldWrites() const { return m_device.Writes(CAOTestPage::kRegOutputHold); }
    CSimDevice& Sim() { return m_device.link.sim; }

    SimPolledDevice m_device{"K9TS"};
    CAOTestPage m_page;
};
}  // namespace

// Typed currents are clamped to 3.75..23 mA and converted with the snapped rule; what is no number, "nan"
// included, writes nothing. The field shows what the device holds afterwards.
TEST_F(LoopTestPageTest, SetWritesTheTypedCurrentOrNothing) {
    const struct {
        const char* typed;
        std::optional<uint16_t> written;
        const char* shown;
    } cases[] = {
        {"12", 30000, "12.000"},        {"25", 57500, "23.000"},      {"1", 9375, "3.750"},
        {"4.0036", 10009, "4.004"},     {"abc", std::nullopt, "abc"}, {"nan", std::nullopt, "nan"},
        {"-inf", std::nullopt, "-inf"},
    };
    for (const auto& c : cases) {
        m_page.SetDlgItemText(CAOTestPage::kValue, c.typed);
        const size_t before = HoldWrites();
        m_page.DispatchCommand(CAOTestPage::kSet);
        EXPECT_EQ(HoldWrites() - before, c.written ? 1u : 0u) << c.typed;
        if (c.written) {
            EXPECT_EQ(Sim().GetRegister(CAOTestPage::kRegOutputHold), *c.written) << c.typed;
        }
        EXPECT_EQ(m_page.GetDlgItemText(CAOTestPage::kValue), c.shown) << c.typed;
    }
}

// Fixed Out holds the present output, or the burnout output while the device is in burnout.
TEST_F(LoopTestPageTest, FixedOutHoldsThePresentOrTheBurnoutOutput) {
    Sim().SetRegister(CAOTestPage::kRegPresentOutput, 30000);
    Sim().SetRegister(CAOTestPage::kRegBurnoutOutput, 57500);
    const struct {
        uint16_t status;
        uint16_t held;
        const char* shown;
    } cases[] = {{0, 30000, "12.000"}, {1, 57500, "23.000"}};
    for (const auto& c : cases) {
        Sim().SetRegister(2073, c.status);
        PollAndUpdate();
        m_page.DispatchCommand(CAOTestPage::kFixedOut);
        EXPECT_EQ(Sim().GetRegister(CAOTestPage::kRegOutputHold), c.held);
        EXPECT_EQ(m_page.GetDlgItemText(CAOTestPage::kValue), c.shown);
        m_page.DispatchCommand(CAOTestPage::kNormalOut);
        EXPECT_EQ(Sim().GetRegister(CAOTestPage::kRegOutputHold), 0);
        PollAndUpdate();
    }
}

// Which buttons are usable follows the loop-test state the next poll reads, not the click.
TEST_F(LoopTestPageTest, EnableStatesFollowTheNextPoll) {
    auto enabled = [this] {
        return std::make_pair(m_page.IsDlgItemEnabled(CAOTestPage::kFixedOut),
                              m_page.IsDlgItemEnabled(CAOTestPage::kSet));
    };
    PollAndUpdate();
    EXPECT_EQ(enabled(), std::make_pair(true, false));
    m_page.DispatchCommand(CAOTestPage::kFixedOut);
    EXPECT_EQ(enabled(), std::make_pair(true, false));
    PollAndUpdate();
    EXPECT_EQ(enabled(), std::make_pair(false, true));
    EXPECT_TRUE(m_page.IsDlgItemEnabled(CAOTestPage::kNormalOut));
    m_page.DispatchCommand(CAOTestPage::kNormalOut);
    EXPECT_EQ(enabled(), std::make_pair(false, true));
    PollAndUpdate();
    EXPECT_EQ(enabled(), std::make_pair(true, false));
    EXPECT_EQ(m_page.GetDlgItemText(CAOTestPage::kUnit), m_device.devif.AccessSet()->GetOutputUnit());
}
