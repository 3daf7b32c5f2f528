#include "ui/main/vort_dlg.h"

#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>

#include <array>
#include <filesystem>

#include "model/device/device_type.h"
#include "platform/admin_mode.h"
#include "platform/profile.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/app/language.h"
#include "ui/app/static_buffer.h"

namespace {
constexpr unsigned kDeviceTabTexts[] = {10503, 10500, 10504, 10505, 10506};
constexpr unsigned kFileTabTexts[] = {10503, 10500, 10501, 10502};
// File tab i shows group kTabGroup[i]; group g is shown on tab kGroupTab[g].
constexpr std::array<int, 4> kTabGroup = {3, 0, 1, 2};
constexpr std::array<int, 4> kGroupTab = {1, 2, 3, 0};

// Online light blue, offline light yellow.
const QColor kOnlineColour(180, 180, 255);
const QColor kOfflineColour(255, 255, 180);
}  // namespace

CVORTDlg::CVORTDlg() : CObserverDialog(102) {
    MapClicked(kLanguage, [this] { OnBnClickedLanguage(); });
    MapSelChange(kFileTab, [this] { OnSelchangeFileTab(); });
}

std::string CVORTDlg::TitleText() { return std::string("Setrova") + " Version " + BRIMLOW_VERSION; }

bool CVORTDlg::OnInitDialog() {
    SetWindowText(TitleText());

    auto* deviceTab = GetDlgItemAs<CTabCtrl>(kDeviceTab);
    for (unsigned id : kDeviceTabTexts) deviceTab->InsertItem(deviceTab->GetItemCount(), LoadString(id));
    deviceTab->SetCurSel(StaticBuffer().deviceTab);

    m_connect = false;
    SetDlgItemText(kConnect, LoadString(kStrConnect));

    m_state = kStateUnknown;
    m_fileSet = StaticBuffer().TakeParameterSet();
    m_fileGroup = StaticBuffer().fileGroup;

    std::error_code error;
    SetAdminMode(std::filesystem::exists(AdminMarkerPath(ProgramPath()), error));

    auto* fileTab = GetDlgItemAs<CTabCtrl>(kFileTab);
    for (unsigned id : kFileTabTexts) fileTab->InsertItem(fileTab->GetItemCount(), LoadString(id));
    if (m_fileGroup >= 0 && m_fileGroup < static_cast<int>(kGroupTab.size())) fileTab->SetCurSel(kGroupTab[m_fileGroup]);
    RefreshFileConfiguration();

    GetDlgItemAs<QProgressBar>(kProgress)->setRange(0, 1000);
    // Initialize is drawn in red: it wipes the device.
    auto* initialize = GetDlgItemAs<QPushButton>(kInitialize);
    QPalette palette = initialize->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    initialize->setPalette(palette);
    CheckDlgButton(kUnlock, false);
    // Without a poll result the device side is offline.
    SetDlgItemText(kStatusText, LoadString(kStrOffline));
    UpdateControls(kStateOffline);
    SetTimer(kTimerId, 500);
    OnTimer(kTimerId);
    return true;
}

void CVORTDlg::UpdateControls(int state) {
    if (state >= 0) m_state = state;
    const bool unlocked = IsDlgButtonChecked(kUnlock);
    const bool online = m_state == kStateOnline;
    const bool busy = m_state == kStateBusy;
    const bool admin = IsAdminMode();

    EnableDlgItem(kUpload, online);
    EnableDlgItem(kDownload, online && unlocked);
    EnableDlgItem(kCompare, online);
    EnableDlgItem(kTrendGraph, online);
    ShowDlgItem(kInputCalib, admin);
    ShowDlgItem(kOutputCalib, admin);
    EnableDlgItem(kInputCalib, online);
    EnableDlgItem(kOutputCalib, online);
    ShowDlgItem(kInitialize, admin);
    // A switch rebuilds the dialog, so only while offline and not asked to connect (the port would
    // still be open otherwise).
    EnableDlgItem(kLanguage, m_state == kStateOffline && !m_connect);
    for (int id : {kOpenFile, kSaveFile, kSettings, kConnect, kSelect, kUnlock}) EnableDlgItem(id, !busy);
    ShowDlgItem(kStatusText, !online);
    ShowDlgItem(kProgress, busy);
}

void CVORTDlg::RefreshFileConfiguration() {
    SetDlgItemText(kModelName, m_fileSet ? CDeviceType::GetModelName(m_fileSet->GetTypeId()) : std::string());
}

void CVORTDlg::UpdateOnlineLabelColour() {
    auto* label = GetDlgItemAs<QLabel>(kOnlineLabel);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, m_connect ? kOnlineColour : kOfflineColour);
    label->setAutoFillBackground(true);
    label->setPalette(palette);
}

void CVORTDlg::OnTimer(int id) {
    if (id != kTimerId) return;
    std::string text = GetDlgItemText(kOnlineLabel);
    if (m_connect) {
        text = text.empty() ? LoadString(kStrOnlineLabel) : std::string();
    } else {
        text = LoadString(kStrOfflineLabel);
    }
    if (text != GetDlgItemText(kOnlineLabel)) SetDlgItemText(kOnlineLabel, text);
    UpdateOnlineLabelColour();
    if (m_state == kStateSearching) ShowDlgItem(kStatusText, !IsDlgItemShown(kStatusText));
}

void CVORTDlg::OnSelchangeFileTab() {
    const int tab = GetCurSel(kFileTab);
    if (tab < 0 || tab >= static_cast<int>(kTabGroup.size())) return;
    m_fileGroup = kTabGroup[tab];
    RefreshFileConfiguration();
}

void CVORTDlg::StoreFileSideType() const {
    if (m_fileSet) WriteProfileInt("Settings", "DeviceId", m_fileSet->GetTypeId());
}

void CVORTDlg::OnClose() {
    EndDialog(0);
    StoreFileSideType();
    m_fileSet.reset();
}

void CVORTDlg::OnBnClickedLanguage() {
    StoreFileSideType();
    StaticBuffer().PutParameterSet(std::move(m_fileSet));
    StaticBuffer().fileGroup = m_fileGroup;
    StaticBuffer().deviceTab = GetCurSel(kDeviceTab);
    // The button names the language after the one shown, also when a module could not be loaded.
    int next = GetShownLanguage() + 1;
    if (GetLanguageName(next).empty()) next = 0;
    SetLanguage(next);
    EndDialog(IDOK);
}
