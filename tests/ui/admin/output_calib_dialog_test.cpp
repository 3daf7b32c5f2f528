#include "ui/admin/output_calib_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QWheelEvent>

#include <string>
#include <vector>

#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "sim/sim_calibration.h"
#include "support/scaled_timing.h"
#include "ui/admin/calib_dialog_support.h"
#include "ui/admin/input_calib_dialog.h"
#include "ui/framework/up_down_ctrl.h"
#include "ui/ui_test_support.h"

namespace {
using Lines = std::vector<std::string>;
using D = COutputCalibDialog;
// Ticks come only from the tests.
constexpr int kNoTicks = 3600 * 1000;

// Message boxes go to standard error, as once a signal ends the program, for as long as it lives.
class CStandardErrorBoxes {
public:
    CStandardErrorBoxes() { SetMessageBoxesToStandardError(true); }
    ~CStandardErrorBoxes() { SetMessageBoxesToStandardError(false); }
    CStandardErrorBoxes(const CStandardErrorBoxes&) = delete;
    CStandardErrorBoxes& operator=(const CStandardErrorBoxes&) = delete;
};

// A silent device's reply time-out keeps its length; the pause after it is scaled.
class OutputCalibTest : public ScaledTiming {
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

// A failure gives one message, with every Start and Set disabled before it shows (so no tick drives the
// device meanwhile) and the list back at "Select a type". The adjustment is ended after it; when that
// fails too, the message and the state line say that the device may still be adjusting. A store the
// device refuses is a failure, and a line that hangs up is reported as lost.
TEST_F(OutputCalibTest, AFailureIsReportedOnceAndEndsTheAdjustmentOrSaysItMayGoOn) {
    const std::string error = LoadString(kStrCommunicationError) + "\n";
    const std::string notEnded = "\n" + LoadString(kStrAdjustmentNotEnded);
    const struct {
        const char* name;
        int button;       // 0: a tick
        size_t from, to;  // the requests of the action, from 0, that meet the fault
        SimFault fault;
        Lines wire;
        std::string message;
        const char* mode;    // item 1 of group 1 afterwards
        const char* stored;  // the device's 0 % value afterwards
    } cases[] = {
        {"tick, device silent from then on",
         0,
         0,
         CSimDevice::kForever,
         SimFault::Silence(),
         {"DX2000", "G01"},
         error + "Receive command response timeout." + notEnded,
         "1",
         "4.0000"},
        {"point refused",
         D::kSet0,
         2,
         2,
         SimFault::Exception(0),
         {"G99", "I04", "DL4.0012", "G01", "I01", "D0"},
         error + "The device refused the command DL4.0012.",
         "0",
         "4.0000"},
        {"end of the adjustment refused",
         D::kSet0,
         5,
         5,
         SimFault::Exception(0),
         {"G99", "I04", "DL4.0012", "G01", "I01", "D0", "G01", "I01", "D0"},
         error + "The device refused the command D0.",
         "0",
         "4.0012"},
        {"line hung up at the next start",
         D::kStart100,
         0,
         0,
         SimFault::HangUp(),
         {"G01"},
         error + "Communication port SIM was disconnected or stopped working." + notEnded,
         "1",
         "4.0000"},
    };
    for (const auto& c : cases) {
        SimCalibLine line("K9TS");
        COutputCalibDialog dialog(line.ascii, &line.modbus, kNoTicks);
        RunModal(dialog, [&] {
            dialog.SetCurSel(D::kOutputType, 2);
            dialog.DispatchSelChange(D::kOutputType);
            dialog.DispatchCommand(D::kStart0);
            dialog.SetDlgItemText(D::kMeasured0, "4.0012");
            const size_t first = line.Count();
            line.sim.InjectFault(c.fault, first + c.from, c.to == CSimDevice::kForever ? c.to : first + c.to);
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
            EXPECT_EQ(line.LinesSince(first), c.wire) << c.name;
            const size_t after = line.Count();
            dialog.DispatchTimer(D::kTimerId);
            EXPECT_EQ(boxes.texts, Lines{c.message}) << c.name;
            EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONERROR});
            EXPECT_FALSE(enabledWhileShown) << c.name;
            EXPECT_EQ(line.Count(), after) << c.name;
            EXPECT_EQ(dialog.GetCurSel(D::kOutputType), 0);
            EXPECT_EQ(dialog.GetDlgItemText(D::kMeasured0), "4.0012") << c.name;
            const bool unknown = std::string(c.mode) == "1";
            EXPECT_EQ(dialog.GetDlgItemText(D::kDeviceState),
                      unknown ? LoadString(kStrAdjustmentStateUnknown) : "")
                << c.name;
            if (unknown) SaveScreenshot(dialog.GetWindow(), "dialog_138_state_unknown.png");
        });
        EXPECT_EQ(line.sim.GetItem(1, CCommInterface::kItemOperatingMode), c.mode) << c.name;
        EXPECT_EQ(
            line.sim.GetItem(SimCalibration::kGroup, SimCalibration::Field(SimCalibration::kItemOutput, 'l')),
            c.stored)
            << c.name;
    }
}

// When the end of the adjustment does not reach the device at Close, the user is told that the device
// may still be adjusting: in a message box, or on standard error when a signal closes the window. The
// output is no longer driven by then, and a tick or a choice while the box is open sends nothing: item 1
// of group 1, selected now, would take it.
TEST_F(OutputCalibTest, CloseSaysWhenTheAdjustmentMayGoOn) {
    const std::string notEnded = LoadString(kStrAdjustmentNotEnded);
    const struct {
        const char* name;
        bool signal;
        size_t at;  // the request of Close's G01 I01 D0 that meets the fault
        SimFault fault;
        Lines wire;
        std::string reason;
    } cases[] = {
        {"close button, device silent",
         false,
         0,
         SimFault::Silence(),
         {"G01"},
         "Receive command response timeout."},
        {"close button, end refused",
         false,
         2,
         SimFault::Exception(0),
         {"G01", "I01", "D0"},
         "The device refused the command D0."},
        {"signal, end refused",
         true,
         2,
         SimFault::Exception(0),
         {"G01", "I01", "D0"},
         "The device refused the command D0."},
    };
    for (const auto& c : cases) {
        SimCalibLine line("K9TS");
        COutputCalibDialog dialog(line.ascii, &line.modbus, kNoTicks);
        bool drivingWhileShown = false;
        CMessageBoxRecorder boxes([&](const std::string&) {
            drivingWhileShown = dialog.IsDlgItemEnabled(D::kSet0);
            dialog.DispatchTimer(D::kTimerId);
            dialog.SetCurSel(D::kOutputType, 1);
            dialog.DispatchSelChange(D::kOutputType);
            return IDOK;
        });
        Lines closing;
        std::string standardError;
        const int result = RunModal(
            dialog,
            [&] {
                dialog.SetCurSel(D::kOutputType, 1);
                dialog.DispatchSelChange(D::kOutputType);
                dialog.DispatchCommand(D::kStart0);
                const size_t first = line.Count();
                line.sim.InjectFault(c.fault, first + c.at, first + c.at);
                if (c.signal) {
                    CStandardErrorBoxes toStandardError;
                    testing::internal::CaptureStderr();
                    dialog.GetWindow()->close();
                    standardError = testing::internal::GetCapturedStderr();
                } else {
                    dialog.DispatchCommand(D::kClose);
                }
                closing = line.LinesSince(first);
            },
            true);
        EXPECT_EQ(result, IDCANCEL) << c.name;
        EXPECT_EQ(closing, c.wire) << c.name;
        EXPECT_EQ(line.sim.GetItem(1, CCommInterface::kItemOperatingMode), "1") << c.name;
        if (c.signal) {
            EXPECT_EQ(standardError, "brimlow: " + c.reason + " " + notEnded + "\n");
            EXPECT_TRUE(boxes.texts.empty());
        } else {
            EXPECT_EQ(boxes.texts, Lines{c.reason + "\n" + notEnded});
            EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONWARNING});
            EXPECT_FALSE(drivingWhileShown) << c.name;
        }
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

// A list of either calibration dialog changes only by a deliberate choice: wheel notches over the closed
// list, focused or not, choose nothing and send nothing.
TEST(CalibDialogs, WheelNotchesOverAClosedListSendNothing) {
    SimCalibLine line("K9TS");
    CInputCalibDialog input(1, line.ascii, &line.modbus);
    COutputCalibDialog output(line.ascii, &line.modbus, kNoTicks);
    const struct {
        CDialog* dialog;
        int list;
    } cases[] = {{&input, CInputCalibDialog::kInputType}, {&output, D::kOutputType}};
    for (const auto& c : cases) {
        RunModal(*c.dialog, [&] {
            auto* list = c.dialog->GetDlgItemAs<QComboBox>(c.list);
            const size_t first = line.Count();
            for (bool focus : {false, true}) {
                if (focus) list->setFocus();
                QWheelEvent notch(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(list, &notch);
            }
            EXPECT_EQ(c.dialog->GetCurSel(c.list), 0);
            EXPECT_EQ(line.LinesSince(first), Lines{});
        });
    }
}
