#include "ui/tables/table_res_dialog.h"

#include "model/rtd/par_type_r.h"
#include "platform/c_number.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/tables/output_formula.h"

namespace {
enum : int32_t { kInputType = 0, kResistanceRange = 66, kRows = CParTypeR::kOutputTablePoints };
// Full scale of the resistance ranges 0, 1 and 2 (Ohm).
constexpr double kFullScale[] = {6553.6, 3276.7, 655.36};
}  // namespace

CTableResDialog::CTableResDialog(const CParTypeR& model) : CDialog(146), m_model(model) {}

COutputTableRows CTableResDialog::MakeRows(const CParTypeR& model) {
    const int32_t range = model.GetValue(kResistanceRange);
    const int32_t type = model.GetValue(kInputType);
    const COutputFormula output(model);
    COutputTableRows rows;
    for (int32_t i = 0; i < kRows; ++i) {
        const double r = range >= 0 && range <= 2 ? i * kFullScale[range] * 0.001953125 : 0.0;
        const double t = model.ResistanceToTemperature(type, r);
        rows.push_back({FormatC("%.4lf", r), FormatC("%.4lf", t), output.Text(t),
                        model.GetValueString(CParTypeR::kOutputTableFirst + i)});
    }
    return rows;
}

bool CTableResDialog::OnInitDialog() {
    FillOutputTableList(GetDlgItemAs<CReportListCtrl>(kList),
                        {"R(Ohm)", "T(C)", "Out[Cal](mA)", "Out[Upld][mA)"}, MakeRows(m_model));
    return true;
}
