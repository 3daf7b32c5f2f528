#include "model/potentiometer/pot_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Stands in for the linearization fields of a parameter set; X and Y are 1e-4 %.
struct Linearizer {
    std::array<int32_t, kPotLinearizerMaxPoints> x{};
    std::array<int32_t, kPotLinearizerMaxPoints> y{};
    CPotLinearizerView view;

    Linearizer(int32_t points, const std::vector<std::array<int32_t, 2>>& xy) : view{points, x, y} {
        for (size_t i = 0; i < xy.size(); ++i) {
            x[i] = xy[i][0];
            y[i] = xy[i][1];
        }
    }
    Linearizer(const Linearizer&) = delete;
    Linearizer& operator=(const Linearizer&) = delete;
};

TEST(PotConversionTest, PositionToOutputRegister) {
    std::vector<std::array<int32_t, 2>> ramp(kPotLinearizerMaxPoints);
    for (size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = {static_cast<int32_t>(10000 * i), static_cast<int32_t>(10000 * i)};
    }
    const std::vector<std::array<int32_t, 2>> identity{
        {-150000, -150000}, {500000, 500000}, {1150000, 1150000}};
    const std::vector<std::array<int32_t, 2>> falling{{0, 0}, {3, -10000}};
    const struct {
        const char* name;
        Linearizer table;
        int32_t position;
        int32_t reg;
    } cases[] = {
        {"-15 %", {3, identity}, -150000, 4000},
        {"0 %", {3, identity}, 0, 10000},
        {"100 %", {3, identity}, 1000000, 50000},
        {"115 %", {3, identity}, 1150000, 56000},
        {"below X[0]", {3, identity}, kMin, 4000},
        {"above the last X", {3, identity}, kMax, 56000},
        {"falling segment truncates toward zero", {2, falling}, 1, 9867},
        {"below -25 % holds at zero", {2, {{0, -300000}, {1000000, 0}}}, 0, 0},
        {"beyond full scale holds at 65535", {2, {{0, 0}, {1000000, kMax}}}, 999999, 65535},
        {"lowest Y", {1, {{0, kMin}}}, 5, 0},
        {"widest segment", {2, {{kMin, kMin}, {kMax, kMax}}}, 1000000, 50000},
        {"no points reads the first", {0, identity}, 1000000, 4000},
        {"negative points", {kMin, identity}, 1000000, 4000},
        {"102 points end at the 101st", {102, ramp}, kMax, 50000},
        {"most points", {kMax, ramp}, 505000, 30200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PositionToOutputRegister(c.position, c.table.view), c.reg) << c.name;
    }
}

}  // namespace
