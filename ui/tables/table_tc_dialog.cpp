#include "ui/tables/table_tc_dialog.h"

#include <algorithm>

#include "model/thermocouple/par_type_t.h"
#include "platform/c_number.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/tables/output_formula.h"

namespace {
enum : int32_t { kInputType = 0, kVoltageRows = CParTypeT::kOutputTablePoints };
// Voltage periods (uV) by period index.
constexpr double kPeriods[] = {32.0, 64.0, 128.0, 256.0};
}  // namespace

CTableTCDialog::CTableTCDialog(const CParTypeT& model) : CDialog(147), m_model(model) {}

COutputTableRows CTableTCDialog::MakeVoltageRows(const CParTypeT& model) {
    const int32_t type = model.GetValue(kInputType);
    const double start = model.GetTableStartVolt(type);
    const double period = kPeriods[std::clamp(model.GetTableVoltPeriod(type), 0, 3)];
    const COutputFormula output(model);
    COutputTableRows rows;
    for (int32_t i = 0; i < kVoltageRows; ++i) {
        const double e = start + i * period;
        const double t = model.VoltageToTemperature(type, e);
        rows.push_back({FormatC("%.0lf", e), FormatC("%.1lf", t), output.Text(t),
                        model.GetValueString(CParTypeT::kOutputTableFirst + i)});
    }
    return rows;
}

COutputTableRows CTableTCDialog::MakeColdJunctionRows(const CParTypeT& model) {
    const int32_t type = model.GetValue(kInputType);
    COutputTableRows rows;
    // Formed by adding 12.8 Ohm per row, as the device's table was.
    double r = 680.0;
    for (int32_t j = 0; j < CParTypeT::kCjTablePoints; ++j, r += 12.8) {
        const double t = CParTypeT::Pt1000ToTemperature(r);
        rows.push_back({FormatC("%.1lf", r), FormatC("%.4lf", t),
                        FormatC("%.1lf", model.TemperatureToVoltage(type, t)),
                        model.GetValueString(CParTypeT::kCjTableFirst + j)});
    }
    return rows;
}

bool CTableTCDialog::OnInitDialog() {
    FillOutputTableList(GetDlgItemAs<CReportListCtrl>(kVoltageList),
                        {"TC(uV)", "T(C)", "Val[Cal](mA)", "Val[Upld][mA)"}, MakeVoltageRows(m_model));
    FillOutputTableList(GetDlgItemAs<CReportListCtrl>(kColdJunctionList),
                        {"R(Ohm)", "T(C)", "Val[Cal](uV)", "Val[Upld][uV)"}, MakeColdJunctionRows(m_model));
    return true;
}
