#include "model/potentiometer/pot_conversion.h"

#include <algorithm>

namespace {

int32_t OutputToRegister(int64_t output) {
    return static_cast<int32_t>(std::clamp<int64_t>(4 * output / 100 + 10000, 0, 65535));
}

// (offset x rise) / run truncated toward zero, for 0 <= offset < run. Both factors stay below 2^32, so
// their product fits an unsigned 64-bit value where the signed product might not.
int64_t ScaleRise(int64_t offset, int64_t rise, int64_t run) {
    const uint64_t magnitude = static_cast<uint64_t>(offset) * static_cast<uint64_t>(rise < 0 ? -rise : rise);
    const auto scaled = static_cast<int64_t>(magnitude / static_cast<uint64_t>(run));
    return rise < 0 ? -scaled : scaled;
}

}  // namespace

int32_t PositionToOutputRegister(int32_t position, const CPotLinearizerView& table) {
    const int32_t n = std::clamp(table.points, int32_t{1}, kPotLinearizerMaxPoints);
    const auto& x = table.x;
    const auto& y = table.y;
    if (position <= x[0]) {
        return OutputToRegister(y[0]);
    }
    // X[k - 1] <= position < X[k] for the first such k, and X[0] < position, so the run is positive.
    for (int32_t k = 1; k < n; ++k) {
        if (x[k] > position) {
            const int64_t q = ScaleRise(int64_t{position} - x[k - 1], int64_t{y[k]} - y[k - 1],
                                        int64_t{x[k]} - x[k - 1]);
            return OutputToRegister(y[k - 1] + q);
        }
    }
    return OutputToRegister(y[n - 1]);
}
