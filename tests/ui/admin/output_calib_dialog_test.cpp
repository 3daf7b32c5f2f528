#include "ui/admin/output_calib_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/admin/calib_dialog_support.h"
#include "ui/framework/up_down_ctrl.h"
#include "ui/ui_test_support.h"

namespace {
using Lines = std::vector<std::string>;
using D = COutputCalibDialog;
// Ticks come only from the tests.
constexpr int kNoTicks = 3600 * 1000;

class OutputCalibTest : public testing::Test {
protected:
    void ChooseType(int sel) {
        m_dialog.SetCurSel(D::kOutputType, sel);
        m_dialog.DispatchSelChange(D::kOutputType);
    }
    Lines Wire(const std::function<void()>& act) {
        const size_t first = m_line.Count();
        act();
        return m_line.LinesSince(first);
    }
    bool AnyStartOrSetEnabled() const {
        for (int id : {D::kStart0, D::kStart100, D::kStart50, D::kSet0, D::kSet100, D::kSet50}) {
            if (m_dialog.IsDlgItemEnabled(id)) return true;
        }
        return false;
    }

    SimCalibLine m_line{"K9TS"};
    COutputCalibDialog m_dialog{m_line.ascii, &m_line.modbus, kNoTicks};
};
}  // namespace

// A whole 0 % calibration: start, ticks driving the up-down's D/A value, set; then the ticks stop.
TEST_F(OutputCalibTest, AZeroPercentCalibrationOnTheWire) {
    RunModal(
        m_dialog,
        [&] {
            EXPECT_EQ(Wire([&] { ChooseType(1); }), (Lines{"G01", "I01", "D1", "I11", "D0", "I01", "D0",
                                                           "G99", "I04", "DLR", "DHR", "DMR"}));
            EXPECT_EQ(m_dialog.GetDlgItemText(D::kValue50), "8000");
            EXPECT_EQ(m_dialog.GetDlgItemText(D::kMeasured100), "20.0000");
            EXPECT_EQ(Wire([&] { m_dialog.DispatchTimer(D::kTimerId); }), Lines{}) << "nothing to drive yet";
            EXPECT_EQ(Wire([&] { m_dialog.DispatchCommand(D::kStart0); }),
                      (Lines{"G01", "I01", "D1", "G99", "I04"}));
            auto* spin = m_dialog.GetDlgItemAs<CUpDownCtrl>(D::kSpin0);
            Lines ticks = Wire([&] {
                m_dialog.DispatchTimer(D::kTimerId);
                spin->Step(1);
                m_dialog.DispatchTimer(D::kTimerId);
            });
            EXPECT_EQ(ticks, (Lines{"DX2000", "DX2001"}));
            m_dialog.SetDlgItemText(D::kMeasured0, "4.0012");
            EXPECT_EQ(Wire([&] { m_dialog.DispatchCommand(D::kSet0); }),
                      (Lines{"G99", "I04", "DL4.0012", "G01", "I01", "D0"}));
            EXPECT_EQ(m_dialog.GetDlgItemText(D::kValue0), "2001");
            EXPECT_EQ(Wire([&] { m_dialog.DispatchTimer(D::kTimerId); }), Lines{});
            EXPECT_EQ(Wire([&] {
                          m_dialog.DispatchCommand(D::kStart0);
                          m_dialog.DispatchCommand(D::kStart100);
                          m_dialog.DispatchTimer(D::kTimerId);
                      }).back(),
                      "DX14000");
            EXPECT_EQ(Wire([&] { ChooseType(0); }), Lines{});
            EXPECT_FALSE(AnyStartOrSetEnabled());
            EXPECT_EQ(Wire([&] { m_dialog.DispatchCommand(D::kClose); }), (Lines{"G01", "I01", "D0"}));
        },
        true);
}

// A silent device gives one message; every Start and Set is disabled before it shows, so no tick drives
// the device meanwhile, and the list is back at "Select a type".
TEST_F(OutputCalibTest, ASilentDeviceGivesOneMessageAndResetsTheControls) {
    const struct {
        const char* name;
        int button;
    } cases[] = {{"tick", 0}, {"set", D::kSet0}, {"start", D::kStart100}};
    for (const auto& c : cases) {
        COutputCalibDialog dialog(m_line.ascii, &m_line.modbus, kNoTicks);
        RunModal(dialog, [&] {
            dialog.SetCurSel(D::kOutputType, 2);
            dialog.DispatchSelChange(D::kOutputType);
            dialog.DispatchCommand(D::kStart0);
            m_line.sim.StopAnsweringAfter(m_line.Count());
            bool enabledWhileShown = true;
            CMessageBoxRecorder boxes;
            SetMessageBoxHook([&](const std::string& text, unsigned type) {
                boxes.texts.push_back(text);
                boxes.types.push_back(type);
                enabledWhileShown = dialog.IsDlgItemEnabled(D::kSet0) || dialog.IsDlgItemEnabled(D::kStart0);
                return IDOK;
            });
            if (c.button == 0) {
                dialog.DispatchTimer(D::kTimerId);
            } else {
                dialog.DispatchCommand(c.button);
            }
            const size_t after = m_line.Count();
            dialog.DispatchTimer(D::kTimerId);
            EXPECT_EQ(boxes.texts, std::vector<std::string>{"Communication error occurred."}) << c.name;
            EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONERROR});
            EXPECT_FALSE(enabledWhileShown) << c.name;
            EXPECT_EQ(m_line.Count(), after) << c.name;
            EXPECT_EQ(dialog.GetCurSel(D::kOutputType), 0);
            m_line.sim.ClearFaults();
        });
    }
}

TEST_F(OutputCalibTest, TheUpDownKeepsTheDaValueWithin100To16000) {
    RunModal(m_dialog, [&] {
        auto* spin = m_dialog.GetDlgItemAs<CUpDownCtrl>(D::kSpin100);
        const struct {
            const char* start;
            int step;
            const char* shown;
        } cases[] = {{"15999", 1, "16000"}, {"16000", 1, "16000"}, {"100", -1, "100"}, {"50", 1, "101"}};
        for (const auto& c : cases) {
            m_dialog.SetDlgItemText(D::kValue100, c.start);
            spin->Step(c.step);
            EXPECT_EQ(m_dialog.GetDlgItemText(D::kValue100), c.shown) << c.start;
        }
    });
}
