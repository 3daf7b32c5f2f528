#pragma once

#include "model/device/calib_info.h"
#include "res/dialogs/dialog_131_ids.h"
#include "ui/framework/dialog.h"

class CDeviceInterface;

// The device tab "Calib.": the potentiometer model's teach-in. A click only raises a request; the next
// update hands it to the poll's device interface, whose poll takes the present position as the 0 % or
// 100 % input. Both buttons stay disabled until the poll has carried the request out.
class CCalibInputPage : public CDialog, public Dialog131Ids {
public:
    CCalibInputPage();

    // After every valid poll with the poll's device interface and its record; when not online with an
    // empty record and no device interface.
    void UpdateFromDevice(const CCalibInfo& info, CDeviceInterface* devif);

private:
    void OnBnClickedCalib(bool full);

    bool m_request0 = false;
    bool m_request100 = false;
};
