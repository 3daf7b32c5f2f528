#pragma once

#include "res/dialogs/dialog_147_ids.h"
#include "ui/framework/dialog.h"
#include "ui/tables/output_table_list.h"

class CParTypeT;

// The thermocouple's output table (512 voltages from the table start voltage) and cold-junction table
// (64 Pt1000 resistances), computed from the present settings beside the ones last uploaded. Read-only.
class CTableTCDialog : public CDialog, public Dialog147Ids {
public:
    explicit CTableTCDialog(const CParTypeT& model);

    static COutputTableRows MakeVoltageRows(const CParTypeT& model);
    static COutputTableRows MakeColdJunctionRows(const CParTypeT& model);

protected:
    bool OnInitDialog() override;

private:
    const CParTypeT& m_model;
};
