#include <gtest/gtest.h>

#include <chrono>

#include "support/scaled_timing.h"
#include "model/device/device_interface_thread.h"
#include "ui/admin/calib_dialog_support.h"
#include "ui/admin/input_calib_dialog.h"
#include "ui/ui_test_support.h"

using namespace std::chrono_literals;

namespace {
// Posts the next poll after each one, as the main dialog does while online.
class CRepoll : public CObserver {
public:
    void Update(CObservable*) override { thread->PostPoll(CDeviceInterface::kTabAll); }
    // Set before the first poll; the thread ends before this object goes.
    CDeviceInterfaceThread* thread = nullptr;
};

size_t ModbusRequests(const CSimDevice& sim, size_t first, size_t last) {
    size_t count = 0;
    for (const SimRequest& r : sim.GetRequests()) {
        count += r.index >= first && r.index < last && r.kind != ESimRequestKind::Ascii;
    }
    return count;
}

class CalibLineLend : public ScaledTiming {};
}  // namespace

// While a calibration dialog is open the poll waits and the ASCII exchanges have the line to
// themselves; after Close the poll goes on, and nobody saw a failure.
TEST_F(CalibLineLend, ThePollPausesWhileACalibrationDialogIsOpen) {
    SimCalibLine line("K9TS");
    CRepoll repoll;
    CDeviceInterfaceThread poll;
    repoll.thread = &poll;
    poll.Attach(&repoll);
    poll.GetDeviceInterface().SetModbus(&line.modbus);
    poll.PostPoll(CDeviceInterface::kTabAll);
    ASSERT_TRUE(line.sim.WaitForRequests(12, 10s));

    CMessageBoxRecorder boxes;
    CInputCalibDialog dialog(1, line.ascii, &line.modbus);
    size_t opened = 0;
    size_t closed = 0;
    RunModal(
        dialog,
        [&] {
            opened = line.Count();
            dialog.SetCurSel(CInputCalibDialog::kInputType, 2);
            dialog.DispatchSelChange(CInputCalibDialog::kInputType);
            dialog.SetDlgItemText(CInputCalibDialog::kMeasured0, "0.01");
            dialog.DispatchCommand(CInputCalibDialog::kSet0);
            EXPECT_EQ(dialog.GetDlgItemText(CInputCalibDialog::kMeasured0), "0.0100");
            dialog.DispatchCommand(CInputCalibDialog::kClose);
            closed = line.Count();
        },
        true);
    EXPECT_EQ(line.LinesSince(opened).size(), closed - opened) << "only ASCII while open";
    EXPECT_GE(closed - opened, 15u);
    ASSERT_TRUE(line.sim.WaitForRequests(closed + 6, 10s));
    EXPECT_GT(ModbusRequests(line.sim, closed, line.Count()), 0u);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_TRUE(poll.GetDeviceInterface().IsIdentified());
}
