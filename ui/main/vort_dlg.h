#pragma once

#include <memory>
#include <string>

#include "model/set/par_base.h"
#include "ui/app/observer_dialog.h"

// The main dialog: the device side on the left, the file side on the right. It owns the file-side
// parameter set and the connection state, and rebuilds itself in the other language on request.
class CVORTDlg : public CObserverDialog {
public:
    enum ControlId : int {
        kDeviceTab = 1005,
        kFileTab = 1006,
        kStatusText = 1013,
        kOpenFile = 1042,
        kSaveFile = 1043,
        kCompare = 1044,
        kUpload = 1045,
        kDownload = 1046,
        kSettings = 1047,
        kConnect = 1048,
        kInputCalib = 1049,
        kUnlock = 1050,
        kProgress = 1051,
        kOutputCalib = 1052,
        kInitialize = 1053,
        kTrendGraph = 1054,
        kLanguage = 1055,
        kOnlineLabel = 1059,
        kModelName = 1060,
        kSelect = 1061,
        kDeviceGroup = 1069,
        kFileGroup = 1070,
        kModelLabel = 1071,
        kMeterPlace = 1073,
    };
    enum State : int { kStateUnknown = -1, kStateOffline = 0, kStateSearching = 1, kStateOnline = 2, kStateBusy = 3 };
    static constexpr int kTimerId = 1;

    CVORTDlg();

    // "Setrova Version <version>", the title the program gives the dialog.
    static std::string TitleText();

    int GetState() const { return m_state; }
    int GetFileGroup() const { return m_fileGroup; }
    const CParBase* GetFileSideSet() const { return m_fileSet.get(); }

protected:
    bool OnInitDialog() override;
    // Enter and Esc never end the main dialog.
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    void OnTimer(int id) override;
    void OnUpdateObserver(CObservable*) override {}

private:
    void UpdateControls(int state);
    void RefreshFileConfiguration();
    void UpdateOnlineLabelColour();
    void OnSelchangeFileTab();
    void OnBnClickedLanguage();
    // The device type id the program starts with next time.
    void StoreFileSideType() const;

    std::unique_ptr<CParBase> m_fileSet;
    int m_fileGroup = 3;
    int m_state = kStateUnknown;
    bool m_connect = false;
};
