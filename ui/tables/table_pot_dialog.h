#pragma once

#include "res/dialogs/dialog_148_ids.h"
#include "ui/framework/dialog.h"
#include "ui/tables/output_table_list.h"

class CParTypePM;

// The potentiometer's output table, computed from the present settings beside the one last uploaded,
// one row per percent of travel from -15 % to 115 %. Read-only.
class CTablePotDialog : public CDialog, public Dialog148Ids {
public:
    explicit CTablePotDialog(const CParTypePM& model);

    // The rows as the list shows them.
    static COutputTableRows MakeRows(const CParTypePM& model);

protected:
    bool OnInitDialog() override;

private:
    const CParTypePM& m_model;
};
