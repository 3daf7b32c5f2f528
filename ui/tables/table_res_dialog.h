#pragma once

#include "res/dialogs/dialog_146_ids.h"
#include "ui/framework/dialog.h"
#include "ui/tables/output_table_list.h"

class CParTypeR;

// The RTD's output table, computed from the present settings beside the one last uploaded: 512 rows
// evenly over the resistance range. Read-only.
class CTableResDialog : public CDialog, public Dialog146Ids {
public:
    explicit CTableResDialog(const CParTypeR& model);

    static COutputTableRows MakeRows(const CParTypeR& model);

protected:
    bool OnInitDialog() override;

private:
    const CParTypeR& m_model;
};
