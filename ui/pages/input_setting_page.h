#pragma once

#include "res/dialogs/dialog_132_ids.h"
#include "ui/controls/parameter_list_ctrl.h"
#include "ui/framework/dialog.h"

class CParBase;

// The file-side page: one group of the file-side parameter set in an editable list, and up to two
// buttons beneath it that open the group's table editors.
class CInputSettingPage : public CDialog, public Dialog132Ids {
public:
    CInputSettingPage();

    // Shows `group` of `set`, with the buttons of that set's tables for the group; a group other than the
    // one shown until now starts with its first row selected.
    void ShowParameters(CParBase* set, int group);
    // Read-only, the rows stay readable but take no edit, and the table editors do not open.
    void SetReadOnly(bool readOnly);
    CParameterListCtrl& GetList() { return m_list; }
    int GetGroup() const { return m_group; }

protected:
    // A new window starts from the template's layout, which is that of group 0.
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { m_list.CancelEdit(); }

private:
    void LayOutButtons();
    void OnButton1();
    void OnButton2();

    CParameterListCtrl m_list;
    CParBase* m_set = nullptr;
    int m_group = 0;
};
