#include "ui/pages/adjust_input_page.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QSlider>

#include <functional>
#include <memory>
#include <string>

#include "ui/device_ui_support.h"
#include "ui/ui_test_support.h"

namespace {
constexpr uint16_t kRegAdjust = 2064;

class AdjustPageTest : public ScaledTiming {
protected:
    // `preset` runs on the device before the page sees it.
    void Open(const std::string& code, const std::function<void(CSimDevice&)>& preset = nullptr) {
        m_device = std::make_unique<SimPolledDevice>(code);
        if (preset) preset(m_device->link.sim);
        m_device->Connect();
        m_page.Create(static_cast<QWidget*>(nullptr));
        Update();
    }
    void Update() { m_page.UpdateFromDevice(m_device->devif.GetAdjustInfo(), &m_device->devif); }
    QSlider* Slider(int id) const { return m_page.GetDlgItemAs<QSlider>(id); }
    std::vector<uint16_t> Registers() const { return m_device->link.sim.GetRegisters(kRegAdjust, 4); }
    size_t Writes() const { return m_device->Writes(kRegAdjust); }
    bool OutputGroupRaised() const {
        return m_page.GetDlgItem(CAdjustInputPage::kOutputGroup)->y() ==
               m_page.GetDlgItem(CAdjustInputPage::kInputGroup)->y();
    }

    std::unique_ptr<SimPolledDevice> m_device;
    CAdjustInputPage m_page;
};

void Tap(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}
}  // namespace

// Counts are snapped both ways: an output zero of 29 shows +0.29 % and a span of 10010 shows 1.0010, and
// moving one slider writes the others back unchanged rather than a count lower.
TEST_F(AdjustPageTest, PositionsAndRegisterCountsConvertWithoutLosingACount) {
    Open("K9TS", [](CSimDevice& sim) { sim.SetRegisters(kRegAdjust, {150, 10010, 29, 9990}); });
    EXPECT_EQ(Slider(CAdjustInputPage::kOutputZero)->value(), 29);
    EXPECT_EQ(m_page.GetDlgItemText(CAdjustInputPage::kOutputZeroValue), "+0.29%");
    EXPECT_EQ(Slider(CAdjustInputPage::kInputSpan)->value(), 10010);
    EXPECT_EQ(m_page.GetDlgItemText(CAdjustInputPage::kInputSpanValue), "1.0010");

    Tap(Slider(CAdjustInputPage::kOutputSpan), Qt::Key_Right);
    EXPECT_EQ(Registers(), (std::vector<uint16_t>{150, 10010, 29, 9991}));
    EXPECT_FALSE(m_device->devif.IsAdjustWritePending());
    for (int id : {CAdjustInputPage::kResetInput, CAdjustInputPage::kOutputZero}) {
        EXPECT_FALSE(m_page.IsDlgItemEnabled(id)) << "disabled until the next update";
    }
    Update();
    EXPECT_TRUE(m_page.IsDlgItemEnabled(CAdjustInputPage::kOutputZero));
    EXPECT_EQ(m_page.GetDlgItemText(CAdjustInputPage::kOutputSpanValue), "0.9991");
}

// A write goes out once per finished move that changed something, or after a drag.
TEST_F(AdjustPageTest, AMoveSendsOnceAtItsEndAndOnlyWhenItChangedOrDragged) {
    Open("K9TS");
    const struct {
        const char* name;
        std::function<void(QSlider*)> move;
        size_t writes;
    } cases[] = {
        {"page key", [](QSlider* s) { Tap(s, Qt::Key_PageUp); }, 1},
        {"end of scroll alone",
         [this](QSlider* s) {
             m_page.DispatchScroll(CAdjustInputPage::kOutputZero, TB_ENDTRACK, s->value());
         },
         0},
        {"drag back to the old place",
         [](QSlider* s) {
             const int old = s->value();
             s->setSliderDown(true);
             s->setSliderPosition(old + 7);
             s->setSliderPosition(old);
             s->setSliderDown(false);
         },
         1},
    };
    for (const auto& c : cases) {
        const size_t before = Writes();
        c.move(Slider(CAdjustInputPage::kOutputZero));
        EXPECT_EQ(Writes() - before, c.writes) << c.name;
        Update();
    }
}

// While a write is pending the page ignores the poll; a failed write does not leave it locked.
TEST_F(AdjustPageTest, PendingWritesHoldThePageAndAFailedWriteReleasesIt) {
    Open("K9TS");
    CAdjustInfo other = m_device->devif.GetAdjustInfo();
    other.outputZero = 4.0;
    m_device->devif.SetAdjustWritePending(true);
    m_page.UpdateFromDevice(other, &m_device->devif);
    EXPECT_EQ(Slider(CAdjustInputPage::kOutputZero)->value(), 0);
    m_device->devif.SetAdjustWritePending(false);
    m_page.UpdateFromDevice(other, &m_device->devif);
    EXPECT_EQ(Slider(CAdjustInputPage::kOutputZero)->value(), 400);

    m_device->link.sim.InjectFaultFrom(m_device->link.sim.GetRequestCount(), SimFault::Exception(4));
    CMessageBoxRecorder boxes;
    m_page.DispatchCommand(CAdjustInputPage::kResetOutput);
    EXPECT_EQ(boxes.texts.size(), 1u);
    EXPECT_FALSE(m_device->devif.IsAdjustWritePending());
    m_device->link.sim.ClearFaults();
    Update();
    EXPECT_TRUE(m_page.IsDlgItemEnabled(CAdjustInputPage::kResetOutput));
}

TEST_F(AdjustPageTest, TheLayoutFollowsTheModel) {
    const struct {
        const char* code;
        bool input;
        bool channels;
    } cases[] = {{"K9TS", true, false}, {"K9U4", true, true}, {"K9PM", false, false}};
    for (const auto& c : cases) {
        Open(c.code);
        Update();  // the input labels follow the record of the update before
        for (int id : {CAdjustInputPage::kInputZero, CAdjustInputPage::kInputZeroLabel,
                       CAdjustInputPage::kResetInput, CAdjustInputPage::kInputGroup}) {
            EXPECT_EQ(m_page.IsDlgItemShown(id), c.input) << c.code << " " << id;
        }
        EXPECT_TRUE(m_page.IsDlgItemShown(CAdjustInputPage::kOutputZero));
        EXPECT_EQ(m_page.IsDlgItemShown(CAdjustInputPage::kChannel2), c.channels) << c.code;
        // Without the input group the output group takes its place at the top.
        EXPECT_EQ(OutputGroupRaised(), !c.input) << c.code;
    }
    // And goes back to its own place once the input group shows again.
    m_page.UpdateFromDevice(CAdjustInfo(), nullptr);
    m_page.UpdateFromDevice(CAdjustInfo(), nullptr);
    EXPECT_FALSE(OutputGroupRaised());
}

// The input sliders show the chosen channel at once, so a write before the next poll keeps each channel's
// own values.
TEST_F(AdjustPageTest, TheInputSlidersFollowTheChosenChannel) {
    Open("K9U4", [](CSimDevice& sim) {
        sim.SetRegisters(2053, {1230, 10100});
        sim.SetRegisters(kRegAdjust, {0xFF38, 9900, 0, 10000});
    });
    const int channel1Zero = Slider(CAdjustInputPage::kInputZero)->value();
    EXPECT_EQ(Slider(CAdjustInputPage::kInputSpan)->value(), 9900);
    // The channel buttons are push-like radio buttons of one exclusive group.
    EXPECT_TRUE(m_page.IsDlgButtonChecked(CAdjustInputPage::kChannel1));
    m_page.GetDlgItemAs<QAbstractButton>(CAdjustInputPage::kChannel2)->click();
    EXPECT_FALSE(m_page.IsDlgButtonChecked(CAdjustInputPage::kChannel1));
    EXPECT_TRUE(m_page.IsDlgButtonChecked(CAdjustInputPage::kChannel2));
    EXPECT_EQ(m_page.GetChannel(), 1);
    EXPECT_EQ(Slider(CAdjustInputPage::kInputSpan)->value(), 10100);
    EXPECT_NE(Slider(CAdjustInputPage::kInputZero)->value(), channel1Zero);
    Tap(Slider(CAdjustInputPage::kOutputZero), Qt::Key_Right);
    EXPECT_EQ(m_device->link.sim.GetRegisters(2053, 2), (std::vector<uint16_t>{1230, 10100}));
    EXPECT_EQ(m_device->link.sim.GetRegisters(kRegAdjust, 2), (std::vector<uint16_t>{0xFF38, 9900}));
}

TEST_F(AdjustPageTest, AnEmptyRecordCentresTheSliders) {
    Open("K9TS", [](CSimDevice& sim) { sim.SetRegisters(kRegAdjust, {100, 10100, 100, 10100}); });
    m_page.UpdateFromDevice(CAdjustInfo(), nullptr);
    auto* zero = Slider(CAdjustInputPage::kInputZero);
    EXPECT_EQ(zero->minimum(), -1500);
    EXPECT_EQ(zero->maximum(), 1500);
    EXPECT_EQ(zero->value(), 0);
    EXPECT_EQ(Slider(CAdjustInputPage::kInputSpan)->value(), 10000);
    EXPECT_EQ(Slider(CAdjustInputPage::kOutputSpan)->value(), 10000);
    EXPECT_EQ(m_page.GetDlgItemText(CAdjustInputPage::kOutputZeroValue), "+0.00%");
}

// Moving an output slider writes every input value back exactly as the device held it: on the
// potentiometer model, whose input sliders are hidden, and on the models that count the input zero in
// thousandths, which a slider position cannot hold.
TEST_F(AdjustPageTest, AnInputValueNobodyMovedIsWrittenBackAsTheDeviceHeldIt) {
    const struct {
        const char* code;
        uint16_t zeroRegister;
        bool secondChannel;
    } cases[] = {{"K9PM", kRegAdjust, false}, {"K9TS", kRegAdjust, false}, {"K9U4", 2053, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Open(c.code, [&](CSimDevice& sim) {
            sim.SetRegisters(kRegAdjust, {155, 10013, 0, 10000});
            sim.SetRegisters(2053, {155, 9987});
        });
        if (c.secondChannel) m_page.GetDlgItemAs<QAbstractButton>(CAdjustInputPage::kChannel2)->click();
        const std::vector<uint16_t> input = m_device->link.sim.GetRegisters(c.zeroRegister, 2);
        Tap(Slider(CAdjustInputPage::kOutputSpan), Qt::Key_Right);
        EXPECT_EQ(m_device->link.sim.GetRegister(kRegAdjust + 3), 10001);
        EXPECT_EQ(m_device->link.sim.GetRegisters(c.zeroRegister, 2), input);
        EXPECT_EQ(m_device->link.sim.GetRegisters(kRegAdjust, 2), (std::vector<uint16_t>{155, 10013}));
    }
}

TEST_F(AdjustPageTest, AOneChannelDeviceShowsTheFirstChannel) {
    Open("K9U4");
    m_page.GetDlgItemAs<QAbstractButton>(CAdjustInputPage::kChannel2)->click();
    ASSERT_EQ(m_page.GetChannel(), 1);
    m_device = std::make_unique<SimPolledDevice>("K9TS");
    m_device->Connect();
    Update();
    EXPECT_EQ(m_page.GetChannel(), 0);
    EXPECT_TRUE(m_page.IsDlgButtonChecked(CAdjustInputPage::kChannel1));
}
