#pragma once

#include <cstdint>
#include <span>

inline constexpr int32_t kPotLinearizerMaxPoints = 101;

// The linearization of a potentiometer set as it is stored: the number of points, positions X[i] and
// outputs Y[i], both in 1e-4 %.
struct CPotLinearizerView {
    int32_t points;
    std::span<const int32_t, kPotLinearizerMaxPoints> x;
    std::span<const int32_t, kPotLinearizerMaxPoints> y;
};

// Output register value for the wiper `position` (1e-4 %): the linearization's output interpolated at
// the position, on the register scale of 10000 at 0 % and 50000 at 100 % of the output span, held at
// the first and last point outside them. The number of points is taken as 1 to 101 whatever is stored,
// and the result is kept within 0 to 65535, since a register cannot hold more and points loaded
// from files may lie far outside -15 % to 115 %.
int32_t PositionToOutputRegister(int32_t position, const CPotLinearizerView& table);
