#pragma once

#include "res/dialogs/dialog_129_ids.h"
#include "ui/controls/parameter_list_ctrl.h"
#include "ui/framework/dialog.h"

// A device-side page with one parameter list ("Device Info." and "Basic"). Its owner sets what the list
// shows and whether it may be edited.
class CDeviceSummaryPage : public CDialog, public Dialog129Ids {
public:
    CDeviceSummaryPage() : CDialog(129) {}

    CParameterListCtrl& GetList() { return m_list; }

protected:
    bool OnInitDialog() override;
    // Enter starts an edit through the main dialog, which knows the focused list.
    void OnOK() override {}
    // Abandons an open edit; the page stays.
    void OnCancel() override { m_list.CancelEdit(); }
    // A page hidden by a tab change abandons its edit.
    void OnShowWindow(bool show) override;

private:
    CParameterListCtrl m_list;
};
