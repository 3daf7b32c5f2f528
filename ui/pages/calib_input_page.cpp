#include "ui/pages/calib_input_page.h"

#include <QWidget>

#include "model/device/device_interface.h"

CCalibInputPage::CCalibInputPage() : CDialog(131) {
    MapClicked(kCalib0, [this] { OnBnClickedCalib(false); });
    MapClicked(kCalib100, [this] { OnBnClickedCalib(true); });
}

void CCalibInputPage::OnBnClickedCalib(bool full) {
    (full ? m_request100 : m_request0) = true;
    EnableDlgItem(kCalib0, false);
    EnableDlgItem(kCalib100, false);
}

void CCalibInputPage::UpdateFromDevice(const CCalibInfo& info, CDeviceInterface* devif) {
    const bool can = info.available && devif != nullptr && GetWindow() != nullptr && GetWindow()->isEnabled();
    // The interface's own flags as well: the record may have been copied before a request was handed on.
    const bool pending = m_request0 || m_request100 || info.zeroRequest || info.fullRequest ||
                         (devif != nullptr && devif->IsTeachPending());
    EnableDlgItem(kCalib0, !pending && can);
    EnableDlgItem(kCalib100, !pending && can);
    if (!can) {
        // A request outlives neither the page's being usable nor the device.
        m_request0 = false;
        m_request100 = false;
        if (devif != nullptr) devif->DropTeachRequests();
        SetDlgItemText(kValue0, "");
        SetDlgItemText(kValue100, "");
        return;
    }
    if (m_request0) devif->RequestTeachZero();
    if (m_request100) devif->RequestTeachFull();
    m_request0 = false;
    m_request100 = false;
    SetDlgItemText(kValue0, info.GetZeroValue());
    SetDlgItemText(kValue100, info.GetFullValue());
}
