#include "ui/main/vort_dlg.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <utility>

#include "model/device/device_type.h"
#include "model/set/par_type_v.h"
#include "model/thermocouple/par_type_u4.h"
#include "platform/admin_mode.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "res/icons/program_icon.h"
#include "res/string_ids.h"
#include "ui/common/profile_store.h"
#include "ui/common/static_buffer.h"
#include "ui/framework/message_box.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/framework/tab_ctrl.h"

namespace {
constexpr unsigned kDeviceTabTexts[] = {kStrTabDeviceInfo, kStrTabBasic, kStrTabCalib, kStrTabAdjust,
                                        kStrTabLoopTest};
constexpr unsigned kFileTabTexts[] = {kStrTabDeviceInfo, kStrTabBasic, kStrTabOption, kStrTabLinearizer};
// File tab i shows group kTabGroup[i]; group g is shown on tab kGroupTab[g].
constexpr std::array<int, 4> kTabGroup = {3, 0, 1, 2};
constexpr std::array<int, 4> kGroupTab = {1, 2, 3, 0};

// Online light blue, offline light yellow.
const QColor kOnlineColour(180, 180, 255);
const QColor kOfflineColour(255, 255, 180);

// Device tab items.
constexpr int kTabInfo = 0;
constexpr int kTabBasic = 1;
constexpr int kTabCalib = 2;
constexpr int kTabAdjust = 3;
constexpr int kTabLoopTest = CDeviceInterface::kTabLoopTest;
// Output range values are stored in ten-thousandths of the unit.
constexpr double kValueScale = 10000.0;

// Whether `focus` is `list` or lies inside it (its in-place editor, its viewport).
bool HasFocusIn(const CParameterListCtrl& list, const QWidget* focus) {
    const QWidget* widget = list.GetList();
    return widget && focus && (focus == widget || widget->isAncestorOf(focus));
}

// These two stay in English in either language, as the title does: they have never been in the string
// tables, and support recognises them by their wording.
const char* const kCommunicationFailed = "Communication is Failed,Please retry.";
const char* const kPleaseWait = "Please wait...";

std::string TextOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return std::string();
    }
}

// The program's icon in its three sizes: the window's big and small icon.
QIcon ProgramIcon() {
    QIcon icon;
    for (const char* const* xpm : {kProgramIcon16, kProgramIcon32, kProgramIcon48})
        icon.addPixmap(QPixmap(xpm));
    return icon;
}

// Places `page` over the display area of `tab` and returns how much larger than its template it became.
QSize PlaceGrown(const CTabCtrl& tab, CDialog& page) {
    const QSize before = page.GetWindow()->size();
    tab.PlacePage(page.GetWindow());
    return page.GetWindow()->size() - before;
}
}  // namespace

CVORTDlg::CVORTDlg() : CObserverDialog(102) {
    MapClicked(kConnect, [this] { OnBnClickedConnect(); });
    MapClicked(kSettings, [this] { OnBnClickedSettings(); });
    MapClicked(kUnlock, [this] { UpdateControls(kStateUnknown); });
    MapClicked(kUpload, [this] { StartUpload(false); });
    MapClicked(kDownload, [this] { OnBnClickedDownload(); });
    MapClicked(kCompare, [this] { OnBnClickedCompare(); });
    MapClicked(kOpenFile, [this] { OnBnClickedOpenFile(); });
    MapClicked(kSaveFile, [this] { OnBnClickedSaveFile(); });
    MapClicked(kSelect, [this] { OnBnClickedSelect(); });
    MapClicked(kInitialize, [this] { OnBnClickedInitialize(); });
    MapClicked(kLanguage, [this] { OnBnClickedLanguage(); });
    MapSelChange(kFileTab, [this] { OnSelchangeFileTab(); });
    MapSelChange(kDeviceTab, [this] { ShowDevicePage(); });
    MapClicked(kTrendGraph, [this] { OnBnClickedTrendGraph(); });
    MapClicked(kInputCalib, [this] { OnBnClickedInputCalib(); });
    MapClicked(kOutputCalib, [this] { OnBnClickedOutputCalib(); });
    m_graphPage.Attach(this);
}

CVORTDlg::~CVORTDlg() {
    // The threads talk through the interfaces; they end first, whatever ended the dialog.
    StopWorkThread();
    StopPollThread();
}

std::string CVORTDlg::TitleText() { return std::string("Setrova") + " Version " + BRIMLOW_VERSION; }

bool CVORTDlg::OnInitDialog() {
    GetWindow()->setWindowIcon(ProgramIcon());
    SetWindowText(TitleText());

    auto* deviceTab = GetDlgItemAs<CTabCtrl>(kDeviceTab);
    for (unsigned id : kDeviceTabTexts) deviceTab->InsertItem(deviceTab->GetItemCount(), LoadString(id));
    deviceTab->SetCurSel(StaticBuffer().deviceTab);

    m_connect = false;
    m_closingBy.reset();
    m_deferredPoll = false;
    // The window's own loop runs once this returns.
    m_loopLevel = QThread::currentThread()->loopLevel() + 1;
    CDeviceLeave::PrepareSignalNotices();
    SetDlgItemText(kConnect, LoadString(kStrConnect));

    m_state = kStateUnknown;
    m_fileSet = StaticBuffer().TakeParameterSet();
    m_fileGroup = StaticBuffer().fileGroup;

    std::error_code error;
    SetAdminMode(std::filesystem::exists(AdminMarkerPath(ProgramPath()), error));

    auto* fileTab = GetDlgItemAs<CTabCtrl>(kFileTab);
    for (unsigned id : kFileTabTexts) fileTab->InsertItem(fileTab->GetItemCount(), LoadString(id));
    if (m_fileGroup >= 0 && m_fileGroup < static_cast<int>(kGroupTab.size()))
        fileTab->SetCurSel(kGroupTab[m_fileGroup]);
    CreatePages();
    RefreshFileConfiguration();
    m_filePage.ShowWindow(true);

    m_pollThread = std::make_unique<CDeviceInterfaceThread>();
    m_pollThread->Attach(this);
    m_pollThread->GetDeviceInterface().SetModbus(&m_modbus);
    m_pollThread->GetDeviceInterface().SetOutputHold(&m_outputHold);
    PostPoll();

    GetDlgItemAs<QProgressBar>(kProgress)->setRange(0, 1000);
    // Initialize is drawn in red: it wipes the device.
    auto* initialize = GetDlgItemAs<QPushButton>(kInitialize);
    QPalette palette = initialize->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    initialize->setPalette(palette);
    CheckDlgButton(kUnlock, false);
    UpdateControls(kStateUnknown);
    SetTimer(kTimerId, 500);
    OnTimer(kTimerId);
    return true;
}

void CVORTDlg::CreatePages() {
    const QRect meters = GetDlgItem(kMeterPlace)->geometry();
    CMeterPage* meterPages[] = {&m_inputMeter, &m_outputMeter};
    const unsigned titles[] = {kStrMeterInput, kStrMeterOutput};
    for (int i = 0; i < 2; ++i) {
        meterPages[i]->Create(this);
        QWidget* window = meterPages[i]->GetWindow();
        window->move(meters.left() + i * window->width(), meters.top());
        meterPages[i]->GetMeter()->SetTitle(LoadString(titles[i]));
    }

    const auto* deviceTab = GetDlgItemAs<CTabCtrl>(kDeviceTab);
    for (CDeviceSummaryPage* page : {&m_infoPage, &m_basicPage}) {
        page->Create(this);
        deviceTab->PlacePage(page->GetWindow());
        // The list keeps its left and top margins all round and fills the page.
        QWidget* list = page->GetDlgItem(CDeviceSummaryPage::kParameterList);
        list->resize(page->GetWindow()->size() - 2 * QSize(list->x(), list->y()));
        page->GetList().SetModbusInterface(&m_modbus);
        page->GetList().SetParameterSet(nullptr, page == &m_infoPage ? kGroupDeviceInfo : kGroupBasic);
    }
    // Input type and ranges are set on the file side and downloaded, never edited in the Basic list.
    m_basicPage.GetList().SetProtectedKinds(false);
    for (CDialog* page : std::initializer_list<CDialog*>{&m_calibPage, &m_adjustPage, &m_loopTestPage}) {
        page->Create(this);
        deviceTab->PlacePage(page->GetWindow());
    }
    m_loopTestPage.SetModbus(&m_modbus);
    m_loopTestPage.SetOutputHold(&m_outputHold);

    m_filePage.Create(this);
    // The list grows with the page; the table buttons keep their place at its lower right corner.
    const QSize grown = PlaceGrown(*GetDlgItemAs<CTabCtrl>(kFileTab), m_filePage);
    QWidget* fileList = m_filePage.GetDlgItem(CInputSettingPage::kParameterList);
    fileList->resize(fileList->size() + grown);
    for (int id : {CInputSettingPage::kTableButton1, CInputSettingPage::kTableButton2}) {
        QWidget* button = m_filePage.GetDlgItem(id);
        button->move(button->pos() + QPoint(grown.width(), grown.height()));
    }
    m_filePage.GetList().SetReadOnly(false);
    m_filePage.GetList().SetRefreshAll(true);
}

void CVORTDlg::ShowDevicePage() {
    const int tab = IsGraphOpen() ? -1 : GetCurSel(kDeviceTab);
    m_infoPage.ShowWindow(tab == kTabInfo);
    m_basicPage.ShowWindow(tab == kTabBasic);
    m_calibPage.ShowWindow(tab == kTabCalib);
    m_adjustPage.ShowWindow(tab == kTabAdjust);
    m_loopTestPage.ShowWindow(tab == kTabLoopTest);
}

void CVORTDlg::ShowDeviceValues() {
    // The poll thread is idle until the next poll is posted, so the lock is free now. The lists show and
    // edit the poll thread's own set: it alone carries the status and the monitor values. Its set is
    // replaced only by an identification, which never runs while the lists hold it (DetachDeviceSet).
    CDeviceInterface::CSetAccess polled = m_pollThread->GetDeviceInterface().AccessSet();
    CParBase& m = *polled;
    // Download and Compare judge by this type instead of waiting on a poll stuck with a silent device.
    m_deviceTypeId = m.GetTypeId();
    m_infoPage.GetList().SetParameterSet(&m, kGroupDeviceInfo);
    m_basicPage.GetList().SetParameterSet(&m, kGroupBasic);
    // The two-thermocouple difference model scales its Input meter by the difference range.
    if (m.GetTypeId() == kTypeTwoTcDifference) {
        m_inputMeter.SetRangeText(m.GetValueText(CParTypeU4::kDiff0), m.GetValueText(CParTypeU4::kDiff100));
    } else {
        m_inputMeter.SetRangeText(m.GetValueText(CParTypeV::kInput0), m.GetValueText(CParTypeV::kInput100));
    }
    m_inputMeter.SetValue(m.GetValueText(CParTypeV::kInputLive));
    m_outputMeter.SetRange(m.GetValue(CParTypeV::kOutput0) / kValueScale,
                           m.GetValue(CParTypeV::kOutput100) / kValueScale);
    m_outputMeter.SetValue(m.GetValueText(CParTypeV::kOutputLive));
    m_infoPage.GetList().Refresh();
    m_basicPage.GetList().Refresh();
    CDeviceInterface& devif = m_pollThread->GetDeviceInterface();
    m_calibPage.UpdateFromDevice(devif.GetCalibInfo(), &devif);
    m_adjustPage.UpdateFromDevice(devif.GetAdjustInfo(), &devif);
    m_loopTestPage.UpdateFromDevice(m);
    if (IsGraphOpen()) m_graphPage.AddValue(m);
}

void CVORTDlg::DetachDeviceSet() {
    m_infoPage.GetList().SetParameterSet(nullptr, kGroupDeviceInfo);
    m_basicPage.GetList().SetParameterSet(nullptr, kGroupBasic);
}

void CVORTDlg::ClearDeviceValues() {
    DetachDeviceSet();
    for (CDeviceSummaryPage* page : {&m_infoPage, &m_basicPage}) {
        if (page->GetList().GetList() && page->GetList().GetList()->GetItemCount() > 0) {
            page->GetList().DeleteAllItems();
        }
    }
    m_calibPage.UpdateFromDevice(CCalibInfo(), nullptr);
    m_adjustPage.UpdateFromDevice(CAdjustInfo(), nullptr);
    m_loopTestPage.UpdateFromDevice(CParTypeV());
}

void CVORTDlg::UpdateControls(int state) {
    // The trend graph covers the dialog: everything else is hidden while it is open.
    const bool graph = IsGraphOpen();
    for (int id : kAll) {
        if (id != kMeterPlace) ShowDlgItem(id, !graph);
    }
    if (state >= 0) m_state = state;
    const bool unlocked = IsDlgButtonChecked(kUnlock);
    const bool online = m_state == kStateOnline;
    const bool busy = m_state == kStateBusy;
    const bool admin = IsAdminMode();

    EnableDlgItem(kUpload, online);
    EnableDlgItem(kDownload, online && unlocked);
    EnableDlgItem(kCompare, online);
    EnableDlgItem(kTrendGraph, online);
    ShowDlgItem(kInputCalib, admin && !graph);
    ShowDlgItem(kOutputCalib, admin && !graph);
    EnableDlgItem(kInputCalib, online);
    EnableDlgItem(kOutputCalib, online);
    ShowDlgItem(kInitialize, admin && !graph);
    // A switch rebuilds the dialog, so only while offline and not asked to connect (the port would
    // still be open otherwise).
    EnableDlgItem(kLanguage, m_state == kStateOffline && !m_connect);
    // While a transfer runs, nothing may replace or edit the file side: an upload replaces it at its end.
    for (int id : {kOpenFile, kSaveFile, kSettings, kConnect, kSelect, kUnlock}) EnableDlgItem(id, !busy);
    ShowDlgItem(kStatusText, !graph && !online);
    // Closing during a transfer says "Please wait..." where the progress stood.
    ShowDlgItem(kProgress, !graph && busy && !m_closingBy);
    m_inputMeter.ShowWindow(!graph && online);
    m_outputMeter.ShowWindow(!graph && online);
    // The file side stays readable, every group of it, while a transfer keeps it from being edited.
    m_filePage.ShowWindow(!graph);
    m_filePage.SetReadOnly(busy);
    // The colours follow at once; the texts come with the next poll result, which rewrites every cell.
    for (CDeviceSummaryPage* page : {&m_infoPage, &m_basicPage}) {
        page->GetList().SetReadOnly(!(unlocked && online));
        page->GetList().SetRefreshAll(true);
        page->GetList().Repaint();
    }
    // Calibration and adjustment change the device: they need the Unlock box, the loop test only a device.
    for (CDialog* page : std::initializer_list<CDialog*>{&m_calibPage, &m_adjustPage, &m_loopTestPage}) {
        if (page->GetWindow()) page->GetWindow()->setEnabled(online && (unlocked || page == &m_loopTestPage));
    }
    if (!online) ClearDeviceValues();
    ShowDevicePage();
    RestoreTransferFocus();
}

// A device command comes back with the device; until then the focus waits where it is.
void CVORTDlg::RestoreTransferFocus() {
    if (m_state != kStateBusy) m_transferFocus.Restore(GetWindow());
}

void CVORTDlg::RefreshFileConfiguration() {
    SetDlgItemText(kModelName, m_fileSet ? CDeviceType::GetModelName(m_fileSet->GetTypeId()) : std::string());
    m_filePage.ShowParameters(m_fileSet.get(), m_fileGroup);
}

void CVORTDlg::ReplaceFileSet(std::unique_ptr<CParBase> set) {
    std::unique_ptr<CParBase> old = std::move(m_fileSet);
    m_fileSet = std::move(set);
    RefreshFileConfiguration();
}

void CVORTDlg::OnOK() {
    const QWidget* focus = QApplication::focusWidget();
    // By the focused widget itself: ids repeat between the dialog and its pages.
    for (CParameterListCtrl* list : {&m_infoPage.GetList(), &m_basicPage.GetList(), &m_filePage.GetList()}) {
        if (HasFocusIn(*list, focus)) {
            list->BeginEdit(-1);
            return;
        }
    }
    if (focus && focus == m_loopTestPage.GetDlgItem(CAOTestPage::kValue)) {
        m_loopTestPage.DispatchCommand(CAOTestPage::kSet);
    }
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
    if (m_state == kStateSearching) ShowDlgItem(kStatusText, !IsGraphOpen() && !IsDlgItemShown(kStatusText));
    // The counters live in the device interface: the worker replaces its set while it runs.
    if (m_state == kStateBusy && m_workThread) {
        GetDlgItemAs<QProgressBar>(kProgress)->setValue(m_workThread->GetDeviceInterface().GetProgress());
    }
}

void CVORTDlg::OnSelchangeFileTab() {
    const int tab = GetCurSel(kFileTab);
    if (tab < 0 || tab >= static_cast<int>(kTabGroup.size())) return;
    m_fileGroup = kTabGroup[tab];
    RefreshFileConfiguration();
}

void CVORTDlg::OnUpdateObserver(CObservable* source) {
    if (m_pollThread && source == m_pollThread.get()) {
        OnPollResult();
    } else if (m_workThread && source == m_workThread.get()) {
        OnWorkThreadEnd();
    } else if (source == static_cast<CObservable*>(&m_graphPage)) {
        m_graphPage.DestroyWindow();
        UpdateControls(kStateUnknown);
    }
}

void CVORTDlg::OnPollResult() {
    if (m_state == kStateBusy) {
        // No poll while a transfer runs; the work thread's end posts the next one.
        m_deferredPoll = true;
        return;
    }
    // A poll that ended before Disconnect may still find the device valid: it is not shown.
    if (!m_connect || !m_pollThread->GetDeviceInterface().IsValid()) {
        if (m_connect && m_state != kStateSearching) {
            SetDlgItemText(kStatusText, LoadString(kStrSearching));
            UpdateControls(kStateSearching);
        } else if (m_connect && GetDlgItemText(kStatusText) != LoadString(kStrSearching)) {
            // A transfer ended with "Please wait..." but the device is gone: say that it is searched for.
            SetDlgItemText(kStatusText, LoadString(kStrSearching));
        } else if (!m_connect && m_state != kStateOffline) {
            SetDlgItemText(kStatusText, LoadString(kStrOffline));
            UpdateControls(kStateOffline);
        }
    } else {
        if (m_state != kStateOnline) UpdateControls(kStateOnline);
        ShowDeviceValues();
    }
    m_deferredPoll = false;
    PostPoll();
    ReportHoldNotice();
}

void CVORTDlg::ReportHoldNotice() {
    switch (m_outputHold.TakeNotice()) {
        case COutputHold::ENotice::kReleased:
            AfxMessageBox(LoadString(kStrOutputHoldReleased), MB_ICONINFORMATION);
            break;
        case COutputHold::ENotice::kOtherDevice:
            AfxMessageBox(LoadString(kStrOtherDeviceMayHold), MB_ICONWARNING);
            break;
        case COutputHold::ENotice::kNone: break;
    }
}

void CVORTDlg::OnWorkThreadEnd() {
    if (const std::exception_ptr failure = m_workThread->GetKeptException()) {
        if (m_downloading && m_pollThread) {
            // The download may have left the output held: its device, once it answers again, is
            // released before it is polled; another device behind the port is left alone.
            m_outputHold.ReleaseWhenIdentified();
            m_pollThread->GetDeviceInterface().RequestIdentify();
        }
        AfxMessageBox(std::string(kCommunicationFailed) + "\n\n" + TextOf(failure));
    } else if (m_downloading) {
        // The download released the output itself, and the device acknowledged it.
        m_outputHold.Released();
    } else if (m_workThread->GetLastCommand() == CDeviceInterfaceThread::kUpload) {
        if (m_compare) {
            ShowComparison();
        } else {
            // The worker is idle now; the copy is taken under the Modbus lock all the same.
            std::unique_ptr<CParBase> copy;
            {
                CDeviceInterface::CSetAccess uploaded = m_workThread->GetDeviceInterface().AccessSet();
                copy = uploaded->Clone();
            }
            ReplaceFileSet(std::move(copy));
        }
    }
    EndTransfer();
    // The poll goes on meanwhile: the user may still choose to stay.
    if (const std::optional<CDeviceLeave::EWay> way = std::exchange(m_closingBy, std::nullopt)) CloseBy(*way);
}

void CVORTDlg::EndTransfer() {
    StopWorkThread();
    m_downloading = false;
    m_leave.DownloadRunning(false);
    SetDlgItemText(kStatusText, kPleaseWait);
    UpdateControls(kStateSearching);
    if (m_deferredPoll) {
        m_deferredPoll = false;
        PostPoll();
    }
}

void CVORTDlg::PostPoll() {
    if (m_pollThread) m_pollThread->PostPoll(GetCurSel(kDeviceTab));
}

void CVORTDlg::StopPollThread() {
    if (!m_pollThread) return;
    m_pollThread->Stop();
    m_pollThread.reset();
}

void CVORTDlg::StopWorkThread() {
    if (!m_workThread) return;
    m_workThread->Stop();
    m_workThread.reset();
}

void CVORTDlg::OnClose() { CloseBy(CDeviceLeave::EWay::kClose); }

bool CVORTDlg::MayLeave(CDeviceLeave::EWay way) {
    const bool shownHeld = m_state == kStateOnline && m_loopTestPage.ShowsHeld();
    switch (m_leave.Leave(way, shownHeld)) {
        case CDeviceLeave::EStep::kLeave: return true;
        case CDeviceLeave::EStep::kStay: return false;
        case CDeviceLeave::EStep::kWaitForDownload:
            // The window closes once the download has ended; the file side and the port are its own till
            // then.
            m_closingBy = way;
            SetDlgItemText(kStatusText, kPleaseWait);
            ShowDlgItem(kProgress, false);
            ShowDlgItem(kStatusText, true);
            return false;
    }
    return false;
}

void CVORTDlg::CloseBy(CDeviceLeave::EWay way) {
    if (!MayLeave(way)) return;
    // An upload or a comparison only reads: it is given up once the window goes.
    StopWorkThread();
    CloseNow();
}

void CVORTDlg::CloseWindowsOver() {
    // Menus first, then every modal window; each closes as its own close box closes it, so a
    // calibration ends on the device, and its loop returns.
    constexpr int kMostPopups = 16;
    for (int i = 0; i < kMostPopups && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != GetWindow() && window->isVisible() && window->isModal()) window->close();
    }
}

void CVORTDlg::CloseOnSignal() {
    CDeviceLeave::Signalled();
    CloseWindowsOver();
    CloseAfterWindowsOver();
}

void CVORTDlg::CloseAfterWindowsOver() {
    // Once their loops have returned: a window over this one may hold the line (a calibration holds
    // both locks) until it is gone. One that was still on its way when the signal came (a calibration
    // that told a failure before it showed) is closed now.
    PostCall([this] {
        if (!IsWindow()) return;
        if (QThread::currentThread()->loopLevel() > m_loopLevel) {
            CloseWindowsOver();
            return CloseAfterWindowsOver();
        }
        SetDlgItemText(kStatusText, kPleaseWait);
        ShowDlgItem(kProgress, false);
        ShowDlgItem(kStatusText, true);
        CloseBy(CDeviceLeave::EWay::kSignal);
    });
}

void CVORTDlg::CloseNow() {
    m_closingBy.reset();
    EndDialog(0);
    StopPollThread();
    StoreFileSideType();
    m_filePage.ShowParameters(nullptr, m_fileGroup);
    m_fileSet.reset();
}

void CVORTDlg::StoreFileSideType() const {
    if (m_fileSet) StoreProfileInt("Settings", "DeviceId", m_fileSet->GetTypeId());
}
