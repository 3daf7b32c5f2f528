#include "ui/main/com_setting_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/message_format.h"
#include "res/string_ids.h"
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
    // A long name or path is cut in the box: its tooltip holds it whole.
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, &QWidget::setToolTip);
    int selection = -1;
    for (int i = 0; i < m_ports.GetCount(); ++i) {
        combo->addItem(QString::fromStdString(m_ports.GetName(i)));
        // The stored path must match exactly; a later entry of the same path wins.
        if (m_settings.m_portPath == m_ports.GetPath(i)) selection = i;
    }
    // A stored port the list does not hold (a pseudo-terminal, a by-id link, an adapter that is
    // unplugged) is offered as it stands, so that OK does not move the connection to another port.
    m_storedEntry = -1;
    if (selection < 0 && !m_settings.m_portPath.empty()) {
        m_storedEntry = combo->count();
        combo->addItem(StoredPortText());
        selection = m_storedEntry;
        // The opened list shows a long path whole.
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0));
    }
    if (combo->count() > 0) SetCurSel(kPortCombo, std::max(selection, 0));
    return true;
}

QString CComSettingDialog::StoredPortText() const {
    const std::string& path = m_settings.m_portPath;
    std::error_code error;
    if (std::filesystem::exists(path, error)) return QString::fromStdString(path);
    return QString::fromStdString(FormatMessageId(kStrPortNotPresent, {path}));
}

void CComSettingDialog::OnOK() {
    const int selection = GetCurSel(kPortCombo);
    // The stored entry keeps the stored path and name as they were.
    if (selection < 0 || selection != m_storedEntry) {
        m_settings.m_portPath = m_ports.GetPath(selection);
        m_settings.m_displayName = m_ports.GetName(selection);
    }
    // A choice that could not be stored would be lost at the next connection: the dialog stays open, so
    // the user may try again or cancel.
    if (!StoreProfileString("ComSettings", "COMPortName", m_settings.m_portPath) ||
        !StoreProfileString("ComSettings", "COMPortDisplayName", m_settings.m_displayName)) {
        return;
    }
    CDialog::OnOK();
}
