// The commands behind the main dialog's buttons.
#include "ui/main/vort_dlg.h"

#include <QProgressBar>
#include <QWidget>

#include <exception>

#include "link/com_settings.h"
#include "link/private_exception.h"
#include "model/device/device_type.h"
#include "platform/profile.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/admin/adjustment_mode.h"
#include "ui/admin/input_calib_dialog.h"
#include "ui/admin/output_calib_dialog.h"
#include "ui/common/language.h"
#include "ui/common/profile_store.h"
#include "ui/common/static_buffer.h"
#include "ui/framework/file_dialog.h"
#include "ui/framework/message_box.h"
#include "ui/framework/popup_menu.h"
#include "ui/main/compare_dialog.h"
#include "ui/main/com_setting_dialog.h"

namespace {
// The models the model menu offers: every type id but the base set's.
constexpr int kFirstTypeId = kTypeThermocouple;
constexpr int kLastTypeId = kTypeTwoTcAverage;
// Item 3 of group 99 resets every setting of the device when "99" is written to it.
constexpr int kInitializeResetItem = 3;
constexpr unsigned kInitializeResetTimeout = 10000;

// Closes the ASCII port on every way out when it was opened for one sequence.
class CPortOpenedHere {
public:
    explicit CPortOpenedHere(CCommInterface& comm) : m_comm(comm) {}
    ~CPortOpenedHere() {
        if (!m_opened) return;
        m_comm.GetSerial().Close();
        m_comm.SetPortOpen(false);
    }
    CPortOpenedHere(const CPortOpenedHere&) = delete;
    CPortOpenedHere& operator=(const CPortOpenedHere&) = delete;

    void Open() {
        // Marked first: a port that opens but cannot be configured is closed again all the same.
        m_opened = true;
        m_comm.SetPortOpen(true);
        m_comm.GetSerial().SetSettings(CComSettings());
        m_comm.GetSerial().Open();
    }

private:
    CCommInterface& m_comm;
    bool m_opened = false;
};
}  // namespace

bool CVORTDlg::IsDownloadCompatible(int fileType, int deviceType) {
    // The universal model's input kinds share one register map.
    if (IsUniversalType(fileType)) return IsUniversalType(deviceType);
    return deviceType == fileType;
}

void CVORTDlg::OnBnClickedConnect() {
    if (m_connect && !MayLeave(CDeviceLeave::EWay::kDisconnect)) return;
    Connect(!m_connect);
    // The next connection identifies the device again.
    if (!m_connect && m_pollThread) m_pollThread->GetDeviceInterface().RequestIdentify();
    UpdateConnectButton();
    // The label follows the request at once; the timer blinks it from there.
    SetDlgItemText(kOnlineLabel, LoadString(m_connect ? kStrOnlineLabel : kStrOfflineLabel));
    UpdateOnlineLabelColour();
    if (m_connect) {
        UpdateControls(kStateUnknown);
        return;
    }
    // Nothing may reach the device once it is let go: its commands leave with the press.
    SetDlgItemText(kStatusText, LoadString(kStrOffline));
    UpdateControls(kStateOffline);
}

void CVORTDlg::Connect(bool on) {
    m_connect = on;
    // Either way the next connection identifies the device, which may replace the poll thread's set.
    DetachDeviceSet();
    if (!on) {
        if (m_comm.IsPortOpen()) {
            m_comm.Close();
            m_comm.SetPortOpen(false);
        }
        m_modbus.Close();
        return;
    }
    // The port may now lead to another device: the next poll identifies it anew.
    if (m_pollThread) m_pollThread->GetDeviceInterface().RequestIdentify();
    try {
        // Cancels an exchange in flight, then reopens under the Modbus lock.
        m_modbus.Connect(CComSettings());
    } catch (const std::exception& failure) {
        m_connect = false;
        AfxMessageBox(failure.what(), MB_ICONERROR);
        m_modbus.Close();
        m_comm.Close();
        m_comm.SetPortOpen(false);
    }
}

void CVORTDlg::UpdateConnectButton() {
    SetDlgItemText(kConnect, LoadString(m_connect ? kStrDisconnect : kStrConnect));
}

void CVORTDlg::OnBnClickedSettings() {
    // The profile names the port the window is on until the device behind it may be left.
    const std::string portName = GetProfileString("ComSettings", "COMPortName", "");
    const std::string displayName = GetProfileString("ComSettings", "COMPortDisplayName", "");
    CComSettingDialog dialog;
    if (dialog.DoModal() != IDOK) return;
    // Another port leads to another device: a held output is settled first, as at Disconnect.
    const bool otherPort = CComSettings().GetPortName() != m_modbus.GetSerial().GetSettings().GetPortName();
    if (m_connect && otherPort && !MayLeave(CDeviceLeave::EWay::kOtherPort)) {
        StoreProfileString("ComSettings", "COMPortName", portName);
        StoreProfileString("ComSettings", "COMPortDisplayName", displayName);
        return;
    }
    if (m_connect) Connect(true);
    UpdateConnectButton();
    UpdateControls(kStateUnknown);
}

void CVORTDlg::StartWorkThread(unsigned statusText) {
    m_workThread = std::make_unique<CDeviceInterfaceThread>();
    m_workThread->Attach(this);
    m_workThread->GetDeviceInterface().SetModbus(&m_modbus);
    m_workThread->GetDeviceInterface().ResetProgress();
    GetDlgItemAs<QProgressBar>(kProgress)->setValue(0);
    SetDlgItemText(kStatusText, LoadString(statusText));
    m_transferFocus.Hold(GetWindow(), [this] { UpdateControls(kStateBusy); });
}

void CVORTDlg::StartUpload(bool compare) {
    if (m_workThread) return;
    StartWorkThread(kStrUploading);
    m_compare = compare;
    m_downloading = false;
    m_workThread->PostUpload();
}

void CVORTDlg::OnBnClickedDownload() {
    if (m_workThread || !m_fileSet) return;
    if (!IsDownloadCompatible(m_fileSet->GetTypeId(), m_deviceTypeId)) {
        AfxMessageBox(LoadString(kStrCannotDownload), MB_ICONERROR);
        return;
    }
    // A file may hold a value the user could not type (files load unchecked): say which, before anything
    // is sent, instead of the worker's general failure message.
    try {
        m_fileSet->CheckValues();
    } catch (const std::exception& refused) {
        AfxMessageBox(refused.what(), MB_ICONERROR);
        return;
    }
    StartWorkThread(kStrDownloading);
    m_compare = false;
    m_downloading = true;
    // The download holds the device's output while it writes.
    m_outputHold.Hold();
    m_leave.DownloadRunning(true);
    // The thread writes a copy taken now: the file side stays the user's while the download runs.
    m_workThread->PostDownload(*m_fileSet);
    // The device's values change; the next poll identifies and reads it anew.
    m_pollThread->GetDeviceInterface().RequestIdentify();
}

void CVORTDlg::OnBnClickedCompare() {
    if (m_workThread || !m_fileSet) return;
    if (m_fileSet->GetTypeId() != m_deviceTypeId) {
        AfxMessageBox(LoadString(kStrCannotCompare), MB_ICONERROR);
        return;
    }
    StartUpload(true);
}

void CVORTDlg::ShowComparison() {
    std::unique_ptr<CParBase> device;
    {
        CDeviceInterface::CSetAccess uploaded = m_workThread->GetDeviceInterface().AccessSet();
        device = uploaded->Clone();
    }
    // The device may have been swapped for another model while the upload ran.
    if (!m_fileSet || device->GetTypeId() != m_fileSet->GetTypeId()) {
        AfxMessageBox(LoadString(kStrCannotCompare), MB_ICONERROR);
        return;
    }
    CCompareDialog dialog(*device, *m_fileSet);
    dialog.DoModal();
}

void CVORTDlg::OnBnClickedOpenFile() {
    CFileDialog dialog(true, "cfg", {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       LoadString(kStrConfigFileFilter));
    if (dialog.DoModal() != IDOK) return;
    const std::string path = dialog.GetPathName();
    try {
        // A file that cannot be opened says so; one without a model code matches no model.
        const std::string modelCode = CParBase::ReadFileModelCode(path);
        CDeviceType registry;
        const CParBase* prototype = registry.SetModel(modelCode);
        if (!prototype) throw CPrivateException(static_cast<unsigned>(kStrFileModelMismatch));
        std::unique_ptr<CParBase> set = prototype->Clone();
        set->LoadFromFile(path);
        ReplaceFileSet(std::move(set));
    } catch (const std::exception& failure) {
        AfxMessageBox(failure.what());
        AfxMessageBox(LoadString(kStrLoadFileFailed), MB_ICONERROR);
    }
}

void CVORTDlg::OnBnClickedSaveFile() {
    if (!m_fileSet) return;
    CFileDialog dialog(false, "cfg", {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       LoadString(kStrConfigFileFilter));
    if (dialog.DoModal() != IDOK) return;
    m_fileSet->SaveToFile(dialog.GetPathName());
}

void CVORTDlg::OnBnClickedSelect() {
    const int current = m_fileSet ? m_fileSet->GetTypeId() : 0;
    CPopupMenu menu;
    for (int id = kFirstTypeId; id <= kLastTypeId; ++id) {
        menu.AppendItem(CDeviceType::GetModelName(id), kSelectCommand + id, id == current);
    }
    const QWidget* button = GetDlgItem(kSelect);
    // The menu's right edge at the button's right edge, its top at the button's top.
    const int command = menu.Track(button->mapToGlobal(QPoint(button->width(), 0)), true);
    if (command != 0) DispatchCommand(command);
}

bool CVORTDlg::OnCommand(int id) {
    const int typeId = id - kSelectCommand;
    if (typeId >= kFirstTypeId && typeId <= kLastTypeId && (!m_fileSet || typeId != m_fileSet->GetTypeId())) {
        CDeviceType registry;
        const CParBase* prototype = registry.SetTypeId(typeId);
        std::unique_ptr<CParBase> set = prototype->Clone();
        ReplaceFileSet(std::move(set));
        return true;
    }
    return CObserverDialog::OnCommand(id);
}

void CVORTDlg::OnBnClickedInitialize() {
    if (AfxMessageBox(LoadString(kStrInitializeQuestion), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    {
        std::unique_lock lock(m_comm.GetMutex());
        CPortOpenedHere port(m_comm);
        if (!m_comm.IsPortOpen()) port.Open();
        CAdjustmentMode mode(m_comm);
        try {
            mode.Enter();
            m_comm.SelectGroup(CCommInterface::kGroupFactory);
            m_comm.SelectItem(kInitializeResetItem);
            m_comm.SendAccepted("D99\r", kInitializeResetTimeout);
        } catch (const std::exception& failure) {
            // Not reset: the device must not be left adjusting, or in silence when it may be.
            throw CPrivateException(mode.EndAfterFailure(failure.what()));
        }
    }
    // The line is free while it is shown. The reset starts the device afresh, and the user is asked to turn
    // it off and on.
    AfxMessageBox(LoadString(kStrInitializeDone));
}

void CVORTDlg::OnBnClickedTrendGraph() {
    m_graphPage.Create(this);
    // The page covers the whole dialog while it is open.
    m_graphPage.Resize(GetWindow()->size());
    m_graphPage.GetWindow()->raise();
    UpdateControls(kStateUnknown);
    m_graphPage.ShowWindow(true);
}

void CVORTDlg::OnBnClickedInputCalib() {
    // The dialog borrows the Modbus line with both locks for as long as it is open.
    CInputCalibDialog dialog(m_deviceTypeId, m_comm, &m_modbus);
    dialog.DoModal();
}

void CVORTDlg::OnBnClickedOutputCalib() {
    COutputCalibDialog dialog(m_comm, &m_modbus);
    dialog.DoModal();
}

void CVORTDlg::OnBnClickedLanguage() {
    StopPollThread();
    StoreFileSideType();
    m_filePage.ShowParameters(nullptr, m_fileGroup);
    StaticBuffer().PutParameterSet(std::move(m_fileSet));
    StaticBuffer().fileGroup = m_fileGroup;
    StaticBuffer().deviceTab = GetCurSel(kDeviceTab);
    // The button names the language after the one shown, also when a module could not be loaded.
    int next = GetShownLanguage() + 1;
    if (GetLanguageName(next).empty()) next = 0;
    SetLanguage(next);
    EndDialog(IDOK);
}
