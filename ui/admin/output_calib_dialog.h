#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "link/line_lend.h"
#include "res/dialogs/dialog_138_ids.h"
#include "ui/admin/adjustment_mode.h"
#include "ui/framework/dialog.h"

class CCommInterface;
class CModbusInterface;

// The administrator's output calibration: for each point (0 %, 100 %, 50 %) the operator starts the
// adjustment, steps the D/A value until the output measures right (the dialog drives the device with it
// every tick), types the measured output and stores the point. Like the input calibration it talks over
// the Modbus interface's open line with both locks held while it is open.
class COutputCalibDialog : public CDialog, public Dialog138Ids {
public:
    static constexpr int kTimerId = 1;
    static constexpr int kTickMs = 200;
    static constexpr int kDaLow = 100;
    static constexpr int kDaHigh = 16000;

    // `tickMs` is the period of the drive timer (tests give a long one and tick by hand).
    COutputCalibDialog(CCommInterface& ascii, CModbusInterface* modbus, int tickMs = kTickMs);

protected:
    bool OnInitDialog() override;
    // There is no OK button: Enter in a value field must not close the dialog past the Close handling.
    void OnOK() override {}
    void OnCancel() override;
    void OnTimer(int id) override;
    void OnDestroy() override;

private:
    struct Point {
        char letter;  // of the set and read commands
        int start;
        int value;  // the D/A edit
        int spin;
        int measured;
        int set;
    };
    // In the order the timer looks for the point being adjusted.
    static constexpr std::array<Point, 3> kPoints = {{
        {'L', kStart0, kValue0, kSpin0, kMeasured0, kSet0},
        {'H', kStart100, kValue100, kSpin100, kMeasured100, kSet100},
        {'M', kStart50, kValue50, kSpin50, kMeasured50, kSet50},
    }};

    void ResetControls();
    // Runs one exchange sequence; a failure disables every Start and Set first, so the timer drives
    // nothing while the message is up, ends the adjustment mode, and is then reported. Nothing runs
    // while a message is open: ticks and handlers go on meanwhile, and the item selected may be another's.
    void RunReported(const std::function<void()>& sequence);
    void Report(const std::string& text, unsigned type);
    // Says when the device may be adjusting though no point is: its state is not known then.
    void ShowDeviceState();
    // Item 4 of group 99, where the calibration commands go.
    void SelectOutputItem();
    void SelectOutputType();
    void Start(const Point& point);
    void Set(const Point& point);
    void Drive();
    std::string Send(const std::string& command);
    void ShowPoint(const std::string& reply, const Point& point);

    CCommInterface& m_ascii;
    CModbusInterface* m_modbus;
    int m_tickMs;
    std::optional<CLineLend> m_lend;
    CAdjustmentMode m_mode;
    bool m_reporting = false;
};
