#include "model/rtd/rtd_conversion.h"

#include <algorithm>
#include <cstddef>

#include "model/rtd/rtd_tables.h"

namespace {

double StandardTemperature(std::span<const double> t, double r) {
    const size_t n = t.size();
    if (!(r > t[0])) {
        return kRtdTableFirstDegC;
    }
    if (r >= t[n - 1]) {
        return static_cast<double>(n - 1) + kRtdTableFirstDegC;
    }
    // t[lo] < r <= t[hi] holds throughout; seven halvings leave a short scan.
    size_t lo = 0;
    size_t hi = n - 1;
    for (int halving = 0; halving < 7; ++halving) {
        const size_t mid = lo + (hi - lo) / 2;
        if (r > t[mid]) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    size_t i = lo;
    while (r > t[i]) {
        ++i;
    }
    return static_cast<double>(i) - (t[i] - r) / (t[i] - t[i - 1]) + kRtdTableFirstDegC;
}

double CustomTemperature(const CCustomRtdTableView& custom, double r) {
    const auto& ohm = custom.resistance;
    const int32_t n = std::clamp(custom.points, int32_t{1}, kCustomRtdMaxPoints);
    const double start = custom.start / 10000.0;
    const double step = custom.step;
    if (!(r > ohm[0] / 10000.0)) {
        return start;
    }
    if (r >= ohm[n - 1] / 10000.0) {
        return (n - 1) * step + start;
    }
    // R[0] < r < R[n - 1], so the scan stops inside the table with R[i - 1] < r <= R[i].
    int32_t i = 1;
    while (ohm[i] / 10000.0 < r) {
        ++i;
    }
    const int64_t rise = int64_t{ohm[i]} - ohm[i - 1];
    return (i * step + start) - (ohm[i] / 10000.0 - r) * step / (static_cast<double>(rise) / 10000.0);
}

}  // namespace

double ResistanceToTemperature(int32_t inputType, double resistance, const CCustomRtdTableView& custom) {
    const std::span<const double> table = RtdReferenceTable(inputType);
    if (!table.empty()) {
        return StandardTemperature(table, resistance);
    }
    return CustomTemperature(custom, resistance);
}
