#include "ui/tables/table_pot_dialog.h"

#include "model/potentiometer/par_type_pm.h"
#include "platform/c_number.h"
#include "ui/framework/report_list_ctrl.h"

CTablePotDialog::CTablePotDialog(const CParTypePM& model) : CDialog(148), m_model(model) {}

COutputTableRows CTablePotDialog::MakeRows(const CParTypePM& model) {
    COutputTableRows rows;
    for (int32_t r = 0; r < CParTypePM::kOutputTablePoints; ++r) {
        const int32_t percent = r + CParTypePM::kOutputTableFirstPercent;
        const int32_t reg = model.PositionToOutputRegister(ToInt32Trunc(percent * 10000.0));
        rows.push_back({FormatC("%d", percent), FormatC("%.4lf", reg / 10000.0),
                        model.GetValueString(CParTypePM::kOutputTableFirst + r)});
    }
    return rows;
}

bool CTablePotDialog::OnInitDialog() {
    FillOutputTableList(GetDlgItemAs<CReportListCtrl>(kList), {"Pot(%)", "Out[Cal](mA)", "Out[Upld][mA)"},
                        MakeRows(m_model));
    return true;
}
