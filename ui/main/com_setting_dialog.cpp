#include "ui/main/com_setting_dialog.h"

#include <QComboBox>

#include <string>

#include "platform/message_format.h"
#include "platform/profile.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"

namespace {
CComSettingDialog::PortListSource& Source() {
    static CComSettingDialog::PortListSource source;
    return source;
}
}  // namespace

void CComSettingDialog::SetPortListSource(PortListSource source) { Source() = std::move(source); }

CComSettingDialog::CComSettingDialog() : CComSettingDialog(Source() ? Source()() : CComPortList()) {}

CComSettingDialog::CComSettingDialog(CComPortList ports) : CDialog(135), m_ports(std::move(ports)) {}

bool CComSettingDialog::OnInitDialog() {
    m_settings.LoadFromProfile();
    auto* combo = GetDlgItemAs<QComboBox>(kPortCombo);
    int selection = 0;
    for (int i = 0; i < m_ports.GetCount(); ++i) {
        combo->addItem(QString::fromStdString(m_ports.GetName(i)));
        // The stored path must match exactly; a later entry of the same path wins.
        if (m_settings.m_portPath == m_ports.GetPath(i)) selection = i;
    }
    if (m_ports.GetCount() > 0) SetCurSel(kPortCombo, selection);
    return true;
}

void CComSettingDialog::OnOK() {
    const int selection = GetCurSel(kPortCombo);
    m_settings.m_portPath = m_ports.GetPath(selection);
    m_settings.m_displayName = m_ports.GetName(selection);
    const bool written = WriteProfileString("ComSettings", "COMPortName", m_settings.m_portPath) &&
                         WriteProfileString("ComSettings", "COMPortDisplayName", m_settings.m_displayName);
    if (!written) {
        // The choice would be lost at the next connection; the user may pick again or cancel.
        AfxMessageBox(FormatMessageId(kStrProfileNotSaved, {ProfilePath()}), MB_ICONERROR);
        return;
    }
    CDialog::OnOK();
}
