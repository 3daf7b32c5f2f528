#include "ui/pages/calib_input_page.h"

#include <gtest/gtest.h>

#include "ui/device_ui_support.h"

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
