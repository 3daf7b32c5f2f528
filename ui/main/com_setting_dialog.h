#pragma once

#include <QString>

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
    QString StoredPortText() const;

    CComSettings m_settings;
    CComPortList m_ports;
    // The combo entry of a stored port that the list does not hold; -1 when there is none.
    int m_storedEntry = -1;
};
