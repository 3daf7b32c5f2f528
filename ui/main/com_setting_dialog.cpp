#include "ui/main/com_setting_dialog.h"

#include <QComboBox>

#include <string>

#include "ui/common/profile_store.h"

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
    // A choice that could not be stored would be lost at the next connection: the dialog stays open, so
    // the user may try again or cancel.
    if (!StoreProfileString("ComSettings", "COMPortName", m_settings.m_portPath) ||
        !StoreProfileString("ComSettings", "COMPortDisplayName", m_settings.m_displayName)) {
        return;
    }
    CDialog::OnOK();
}
