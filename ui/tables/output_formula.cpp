#include "ui/tables/output_formula.h"

#include <algorithm>

#include "model/set/par_base.h"
#include "platform/c_number.h"

namespace {
// Codes of the input and output ranges every model shares: 1e-4 degC and 1e-4 mA.
enum : int32_t { kInput0 = 1, kInput100 = 2, kOutput0 = 101, kOutput100 = 102 };
}  // namespace

COutputFormula::COutputFormula(const CParBase& set)
    : m_in0(set.GetValue(kInput0) / 10000.0),
      m_in100(set.GetValue(kInput100) / 10000.0),
      m_out0(set.GetValue(kOutput0) / 10000.0),
      m_out100(set.GetValue(kOutput100) / 10000.0) {}

std::string COutputFormula::Text(double celsius) const {
    if (m_in100 == m_in0) return "-----";
    const double out = (celsius - m_in0) * (m_out100 - m_out0) / (m_in100 - m_in0) + m_out0;
    return FormatC("%.4lf", std::clamp(out, 1.6, 21.6));
}
