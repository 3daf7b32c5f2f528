#include "model/thermocouple/tc_conversion.h"

#include <algorithm>
#include <cmath>

#include "model/thermocouple/tc_reference.h"
#include "platform/c_number.h"

namespace {

// Index of the first entry not below x, for a table whose first entry is below x and whose last is
// above it; so the result lies in 1..size-1.
size_t FirstNotBelow(std::span<const double> table, double x) {
    return static_cast<size_t>(std::lower_bound(table.begin(), table.end(), x) - table.begin());
}

}  // namespace

CTcConversion::CTcConversion(const CTcCustomTable& custom)
    : m_start(custom.start / 10000.0),
      m_step(std::max(custom.step, 1)),
      m_points(std::clamp(custom.points, 1, kTcCustomCapacity)),
      m_values(custom.values) {}

double CTcConversion::CustomRise(int32_t i) const {
    const auto at = [this](int32_t k) { return static_cast<int64_t>(m_values[static_cast<size_t>(k)]); };
    return static_cast<double>(at(i) - at(i - 1));
}

double CTcConversion::VoltageToTemperature(int32_t type, double microvolts) const {
    const CTcReference* ref = FindTcReference(type);
    if (ref == nullptr) return CustomVoltageToTemperature(microvolts);
    const std::span<const double> t = ref->emf;
    const double s = ref->firstTemperature;
    // Written so that NaN, which compares false, also ends at the first entry.
    if (!(microvolts > t.front())) return s;
    if (microvolts >= t.back()) return s + static_cast<double>(t.size() - 1);
    const size_t i = FirstNotBelow(t, microvolts);
    return s + static_cast<double>(i) - (t[i] - microvolts) / (t[i] - t[i - 1]);
}

double CTcConversion::CustomVoltageToTemperature(double microvolts) const {
    if (!(microvolts > CustomMicrovolts(0))) return m_start;
    const int32_t last = m_points - 1;
    if (microvolts >= CustomMicrovolts(last)) return m_start + static_cast<double>(last) * m_step;
    // Stops at the last point at the latest, which lies above the voltage.
    int32_t i = 0;
    while (microvolts > CustomMicrovolts(i)) ++i;
    // Point i - 1 lies below the voltage and point i not, so the rise is positive even in a table
    // that is not increasing.
    return m_start + static_cast<double>(i) * m_step -
           (CustomMicrovolts(i) - microvolts) * m_step / (CustomRise(i) / 10.0);
}

double CTcConversion::TemperatureToVoltage(int32_t type, double celsius) const {
    const CTcReference* ref = FindTcReference(type);
    if (ref == nullptr) return CustomTemperatureToVoltage(celsius);
    const std::span<const double> t = ref->emf;
    const double s = ref->firstTemperature;
    if (!(celsius >= s)) return t.front();
    if (celsius >= s + static_cast<double>(t.size() - 1)) return t.back();
    const double d = celsius - s;
    // Just below the last entry the subtraction can round up onto it; the last segment then ends
    // there at a fraction of 1.
    const size_t k = std::min(static_cast<size_t>(d), t.size() - 2);
    return t[k] + (t[k + 1] - t[k]) * (d - static_cast<double>(k));
}

double CTcConversion::CustomTemperatureToVoltage(double celsius) const {
    const double d = celsius - m_start;
    // A d between -1 and 0 truncates to 0 and so still interpolates on the first segment.
    if (!(d > -1.0)) return CustomMicrovolts(0);
    const int64_t span = static_cast<int64_t>(m_points - 1) * m_step;
    const int64_t k = d < static_cast<double>(span) ? static_cast<int64_t>(d) : span;
    // Above the table the device works in whole microvolts.
    if (k >= span) return static_cast<double>(m_values[static_cast<size_t>(m_points - 1)] / 10);
    const int64_t q = k / m_step;
    const auto qi = static_cast<int32_t>(q);
    return (d - static_cast<double>(q * m_step)) / m_step * CustomRise(qi + 1) / 10.0 + CustomMicrovolts(qi);
}

double CTcConversion::GetTableStartVolt(int32_t type) const {
    const CTcReference* ref = FindTcReference(type);
    if (ref == nullptr) return CustomMicrovolts(0);
    const double period = PeriodMicrovolts(ref->periodIndex);
    return std::trunc(ref->emf.front() / period - 1.0) * period;
}

int32_t CTcConversion::GetTableVoltPeriod(int32_t type) const {
    const CTcReference* ref = FindTcReference(type);
    if (ref != nullptr) return ref->periodIndex;
    const int64_t rise = static_cast<int64_t>(m_values[static_cast<size_t>(m_points - 1)]) - m_values[0];
    // The span in uV over the 512 points of the output table.
    const double w = static_cast<double>(rise) / 10.0 * 0.001953125;
    if (w < 32) return 0;
    if (w < 64) return 1;
    if (w < 128) return 2;
    return 3;
}

int32_t CTcConversion::ColdJunctionVoltage(int32_t type, int32_t coldJunction) const {
    const double e = TemperatureToVoltage(type, coldJunction / 10000.0);
    // Every voltage a table yields lies within +-2^31 x 0.1 uV, so the product fits 64 bits. The
    // device keeps whole microvolts: a tenth computed here would not survive a download and upload.
    const auto scaled = static_cast<int64_t>(e * 10000.0);
    return SaturateInt32(scaled / 10000 * 10);
}

double CTcConversion::Pt1000ToTemperature(double ohm) {
    const std::span<const double> p = Pt1000Reference();
    if (!(ohm > p.front())) return kPt1000FirstTemperature;
    if (ohm >= p.back()) return kPt1000FirstTemperature + static_cast<double>(p.size() - 1);
    const size_t i = FirstNotBelow(p, ohm);
    return (static_cast<double>(i) + kPt1000FirstTemperature) - (p[i] - ohm) / (p[i] - p[i - 1]);
}

int32_t CTcConversion::PeriodMicrovolts(int32_t periodIndex) { return 32 << std::clamp(periodIndex, 0, 3); }
