#pragma once

#include <functional>

#include "link/com_port_list.h"
#include "link/com_settings.h"
#include "res/dialogs/dialog_135_ids.h"
#include "ui/framework/dialog.h"

// Lets the user choose the COM port; OK stores it in the profile, Cancel leaves the profile as it was.
class CComSettingDialog : public CDialog, public Dialog135Ids {
public:
    // The ports the system offers now.
    CComSettingDialog();
    explicit CComSettingDialog(CComPortList ports);

    // Where the ports of a dialog made without a list come from; tests name ports of their own. An
    // empty source restores the system's ports.
    using PortListSource = std::function<CComPortList()>;
    static void SetPortListSource(PortListSource source);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CComSettings m_settings;
    CComPortList m_ports;
};
