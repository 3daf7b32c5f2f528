#pragma once

#include <functional>
#include <optional>
#include <string>

#include "link/line_lend.h"
#include "model/set/device_type_id.h"
#include "res/dialogs/dialog_137_ids.h"
#include "ui/admin/adjustment_mode.h"
#include "ui/framework/dialog.h"

class CCommInterface;
class CModbusInterface;

// The administrator's input calibration: the device's input A/D is calibrated at 0 % and 100 % over the
// ASCII protocol, and for the thermocouple and RTD models (the gain models) the input range is a gain and
// the hardware's reference voltage and resistance are set here too. While the dialog is open it talks
// over the Modbus interface's open line with both locks held (CLineLend), so the poll waits; without a
// Modbus interface it uses the ASCII interface's port as it finds it.
class CInputCalibDialog : public CDialog, public Dialog137Ids {
public:
    // `typeId` is the connected model's device type id.
    CInputCalibDialog(int typeId, CCommInterface& ascii, CModbusInterface* modbus);

protected:
    bool OnInitDialog() override;
    // There is no OK button: Enter in a value field must not close the dialog past the Close handling.
    void OnOK() override {}
    void OnCancel() override;
    void OnDestroy() override;

private:
    bool IsGainModel() const { return m_typeId == kTypeThermocouple || m_typeId == kTypeRtd; }
    void OnCbnSelchangeInputType();
    void EnableSetButtons(bool enable);
    // Writes the gain of list index `sel` to the device and sets its calibration to it, leaving item 5
    // of group 99 selected.
    void SetGain(int sel);
    // After a failed gain change: the list shows the gain in force, or none where it is not known, and
    // the Set buttons go with it. `before` is the gain that was in force before the change.
    void ShowGainInForce(int before);
    // Runs a sequence that may enter the adjustment mode; a failure ends the mode before it is reported.
    void RunEndingAdjustment(const std::function<void()>& sequence);
    // Item 5 of group 99, where the calibration commands go.
    void SelectInputItem();
    // Sends "D<letter><typed text>" to item 5 of group 99 and shows the point answered.
    void OnBnClickedSetPoint(char letter, int measured, int count);
    void OnBnClickedSetReference(char letter, int edit);
    std::string Send(const std::string& command);
    void ShowPoint(const std::string& reply, int measured, int count);

    int m_typeId;
    CCommInterface& m_ascii;
    CModbusInterface* m_modbus;
    std::optional<CLineLend> m_lend;
    CAdjustmentMode m_mode;
    // The device has item 5 of group 99 selected, so "DG" on closing reaches the gain setting.
    bool m_atInputItem = false;
    // The list index of the gain in force, both the device's and its calibration's; 0 while not known.
    int m_gainInForce = 0;
};
