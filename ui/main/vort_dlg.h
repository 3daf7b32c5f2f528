#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "model/device/device_interface_thread.h"
#include "model/device/output_hold.h"
#include "model/set/par_base.h"
#include "res/dialogs/dialog_102_ids.h"
#include "ui/common/observer_dialog.h"
#include "ui/framework/focus_return.h"
#include "ui/main/device_leave.h"
#include "ui/pages/adjust_input_page.h"
#include "ui/pages/ao_test_page.h"
#include "ui/pages/calib_input_page.h"
#include "ui/pages/device_summary_page.h"
#include "ui/pages/graph_page.h"
#include "ui/pages/input_setting_page.h"
#include "ui/pages/meter_page.h"

// The main dialog: the device side on the left, the file side on the right. It owns both protocol
// interfaces, the file-side parameter set, the poll thread and the work thread of a transfer, runs the
// connection state machine and rebuilds itself in the other language on request.
class CVORTDlg : public CObserverDialog, public Dialog102Ids {
public:
    enum State : int {
        kStateUnknown = -1,
        kStateOffline = 0,
        kStateSearching = 1,
        kStateOnline = 2,
        kStateBusy = 3
    };
    static constexpr int kTimerId = 1;
    // Command of the Select menu's entry for type id n: kSelectCommand + n.
    static constexpr int kSelectCommand = 0x9000;

    CVORTDlg();
    ~CVORTDlg() override;

    // "Setrova Version <version>", the title the program gives the dialog.
    static std::string TitleText();
    // Whether a file-side set of type `fileType` may go to a device of type `deviceType`: the universal
    // model's kinds (4 to 9) take each other's files, every other type only its own.
    static bool IsDownloadCompatible(int fileType, int deviceType);

    int GetState() const { return m_state; }
    int GetFileGroup() const { return m_fileGroup; }
    const CParBase* GetFileSideSet() const { return m_fileSet.get(); }
    bool HasWorkThread() const { return m_workThread != nullptr; }
    bool IsClosePending() const { return m_closingBy.has_value(); }
    CModbusInterface& GetModbus() { return m_modbus; }
    const COutputHold& GetOutputHold() const { return m_outputHold; }
    CCommInterface& GetComm() { return m_comm; }
    CDeviceSummaryPage& GetInfoPage() { return m_infoPage; }
    CDeviceSummaryPage& GetBasicPage() { return m_basicPage; }
    CInputSettingPage& GetFilePage() { return m_filePage; }
    CCalibInputPage& GetCalibPage() { return m_calibPage; }
    CAdjustInputPage& GetAdjustPage() { return m_adjustPage; }
    CAOTestPage& GetLoopTestPage() { return m_loopTestPage; }
    CMeterPage& GetInputMeter() { return m_inputMeter; }
    CMeterPage& GetOutputMeter() { return m_outputMeter; }
    CGraphPage& GetGraphPage() { return m_graphPage; }
    // The trend graph's window covers the dialog.
    bool IsGraphOpen() const { return m_graphPage.IsWindow(); }
    // A termination signal closes the program as the user's close does, but nobody is asked and nothing
    // waits on a message box (they go to standard error): windows and menus over this one close first (a
    // calibration ends on the device), a download runs to its end, an upload is cancelled, and an output
    // that the program itself held is released on the device it holds.
    void CloseOnSignal();

protected:
    bool OnInitDialog() override;
    // Enter starts an edit in the focused parameter list; it never ends the main dialog.
    void OnOK() override;
    // Nor does Esc.
    void OnCancel() override {}
    void OnClose() override;
    void OnTimer(int id) override;
    bool OnCommand(int id) override;
    void OnUpdateObserver(CObservable* source) override;

private:
    // The state machine and what it shows (vort_dlg.cpp).
    void UpdateControls(int state);
    void RefreshFileConfiguration();
    // Puts `set` in place of the file-side set; the page lets go of the old one before it is deleted.
    void ReplaceFileSet(std::unique_ptr<CParBase> set);
    void CreatePages();
    void ShowDevicePage();
    // What the poll read, in the meters, the device lists and the device pages.
    void ShowDeviceValues();
    void ClearDeviceValues();
    // The device lists let go of the poll thread's set, which its next identification may replace.
    void DetachDeviceSet();
    void UpdateOnlineLabelColour();
    // Gives the focus back to the widget that had it when the transfer began, once it can take it again.
    void RestoreTransferFocus();
    void OnSelchangeFileTab();
    void OnPollResult();
    void OnWorkThreadEnd();
    void PostPoll();
    void StopPollThread();
    void StopWorkThread();
    // The transfer is over, or given up: the worker is stopped (the cancellable way while it still runs),
    // the dialog searches until the next poll, which a poll result held back meanwhile is posted for.
    void EndTransfer();
    // Tells the user what the last identifications found about the program's output hold.
    void ReportHoldNotice();
    // Whether the device may be left by `way` now (CDeviceLeave); a download is waited for first.
    bool MayLeave(CDeviceLeave::EWay way);
    // Closes the window by `way` once the device may be left; an upload or a comparison is given up.
    void CloseBy(CDeviceLeave::EWay way);
    void CloseWindowsOver();
    // The signal's close, posted until the windows over this one have gone.
    void CloseAfterWindowsOver();
    // Ends the dialog: the poll thread joined, the file-side type stored for the next start.
    void CloseNow();
    // The device type id the program starts with next time; a failed write is reported.
    void StoreFileSideType() const;

    // The commands behind the buttons (vort_dlg_commands.cpp).
    void OnBnClickedConnect();
    void Connect(bool on);
    void UpdateConnectButton();
    void OnBnClickedSettings();
    // Starts a transfer: the worker made, `statusText` shown, the dialog busy.
    void StartWorkThread(unsigned statusText);
    void StartUpload(bool compare);
    void OnBnClickedDownload();
    void OnBnClickedCompare();
    void OnBnClickedOpenFile();
    void OnBnClickedSaveFile();
    void OnBnClickedSelect();
    void OnBnClickedInitialize();
    void OnBnClickedLanguage();
    void OnBnClickedTrendGraph();
    void OnBnClickedInputCalib();
    void OnBnClickedOutputCalib();
    void ShowComparison();

    CCommInterface m_comm;
    CModbusInterface m_modbus;
    COutputHold m_outputHold;
    CDeviceLeave m_leave{m_outputHold, m_modbus};
    std::unique_ptr<CParBase> m_fileSet;
    CDeviceSummaryPage m_infoPage;
    CDeviceSummaryPage m_basicPage;
    CCalibInputPage m_calibPage;
    CAdjustInputPage m_adjustPage;
    CAOTestPage m_loopTestPage;
    CInputSettingPage m_filePage;
    CMeterPage m_inputMeter;
    CMeterPage m_outputMeter;
    CGraphPage m_graphPage;
    // Declared after the interfaces they use, so they end before those go.
    std::unique_ptr<CDeviceInterfaceThread> m_pollThread;
    std::unique_ptr<CDeviceInterfaceThread> m_workThread;
    int m_fileGroup = 3;
    int m_state = kStateUnknown;
    // The type id of the device the last valid poll read.
    int m_deviceTypeId = 0;
    bool m_compare = false;
    bool m_downloading = false;
    bool m_connect = false;
    // A poll result came while busy; the next poll is posted when the work thread ends.
    bool m_deferredPoll = false;
    // The window was closed during a download, and how; it closes when the download has ended.
    std::optional<CDeviceLeave::EWay> m_closingBy;
    // How many event loops run on this thread while the window's own loop is the innermost.
    int m_loopLevel = 0;
    // Disabling the focused command moves the focus on (to the Model field, often); it goes back after
    // the transfer unless the user moved it meanwhile.
    CFocusReturn m_transferFocus;
};
