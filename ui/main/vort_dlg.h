#pragma once

#include <memory>
#include <string>

#include "model/set/par_base.h"
#include "res/dialogs/dialog_102_ids.h"
#include "ui/app/observer_dialog.h"

// The main dialog: the device side on the left, the file side on the right. It owns the file-side
// parameter set and the connection state, and rebuilds itself in the other language on request.
class CVORTDlg : public CObserverDialog, public Dialog102Ids {
public:
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
