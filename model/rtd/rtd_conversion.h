#pragma once

#include <cstdint>
#include <span>

inline constexpr int32_t kCustomRtdMaxPoints = 300;

// The custom RTD table of a parameter set as it is stored: start in 1e-4 degC, step in whole degC,
// the number of points, and the resistance of point i (at start + i x step) in 1e-4 Ohm.
struct CCustomRtdTableView {
    int32_t start;
    int32_t step;
    int32_t points;
    std::span<const int32_t, kCustomRtdMaxPoints> resistance;
};

// Temperature in degC that a sensor of `inputType` shows at `resistance` Ohm. Types 0 to 3 use the
// reference tables (-250 to 900 degC, JPt100 to 560 degC); every other type uses `custom`, read as
// ascending in resistance. A resistance beyond a table's ends gives the end temperature; a NaN
// resistance counts as below the table. The number of custom points is taken as 1 to 300 whatever
// is stored, since files and devices can deliver any count.
double ResistanceToTemperature(int32_t inputType, double resistance, const CCustomRtdTableView& custom);
