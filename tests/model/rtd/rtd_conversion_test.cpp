#include "model/rtd/rtd_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Stands in for the fields of a parameter set; R values are 1e-4 Ohm.
struct CustomTable {
    std::array<int32_t, kCustomRtdMaxPoints> r{};
    CCustomRtdTableView view;

    CustomTable(int32_t start, int32_t step, int32_t points, const std::vector<int32_t>& ohm)
        : view{start, step, points, r} {
        std::copy(ohm.begin(), ohm.end(), r.begin());
    }
    CustomTable(const CustomTable&) = delete;
    CustomTable& operator=(const CustomTable&) = delete;
};

const CustomTable kUnused(0, 1, 2, {0, 1});

TEST(RtdConversionTest, StandardTablesInterpolateAndClampAtTheirEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        int32_t type;
        double ohm;
        double degc;
        double tolerance;
    } cases[] = {
        {0, 100.0, 0.0, 0.0},     {0, 138.51, 100.0, 1e-9},  {0, 119.20, 49.487, 5e-4},
        {0, 0.0, -243.07, 5e-3},  {0, 128.0, 72.421, 5e-4},  {0, -5.0, -250.0, 0.0},
        {0, -2.98, -250.0, 0.0},  {0, 500.0, 900.0, 0.0},    {0, 404.98, 900.0, 0.0},
        {0, nan, -250.0, 0.0},    {0, inf, 900.0, 0.0},      {0, -inf, -250.0, 0.0},
        {1, 400.0, 560.0, 0.0},   {1, -10.0, -250.0, 0.0},   {1, 139.16, 100.0, 1e-9},
        {2, 692.55, 100.0, 1e-9}, {3, 1385.10, 100.0, 1e-9}, {3, 5000.0, 900.0, 0.0},
    };
    for (const auto& c : cases) {
        const double degc = ResistanceToTemperature(c.type, c.ohm, kUnused.view);
        if (c.tolerance == 0.0) {
            EXPECT_EQ(degc, c.degc) << "type " << c.type << ", " << c.ohm << " Ohm";
        } else {
            EXPECT_NEAR(degc, c.degc, c.tolerance) << "type " << c.type << ", " << c.ohm << " Ohm";
        }
    }
}

TEST(RtdConversionTest, Pt100AgreesWithTheClosedFormInverseAboveZero) {
    const double a = 3.9083e-3;
    const double b = -5.775e-7;
    for (int hundredths = 10000; hundredths <= 39048; ++hundredths) {
        const double ohm = hundredths / 100.0;
        const double exact = (-a + std::sqrt(a * a - 4 * b * (1 - ohm / 100.0))) / (2 * b);
        ASSERT_NEAR(ResistanceToTemperature(0, ohm, kUnused.view), exact, 0.02) << ohm << " Ohm";
    }
}

TEST(RtdConversionTest, Pt500AndPt1000ReadScaledResistancesAsPt100) {
    for (double ohm = -4.0; ohm < 410.0; ohm += 0.37) {
        const double pt100 = ResistanceToTemperature(0, ohm, kUnused.view);
        EXPECT_NEAR(ResistanceToTemperature(2, 5 * ohm, kUnused.view), pt100, 1e-9) << ohm;
        EXPECT_NEAR(ResistanceToTemperature(3, 10 * ohm, kUnused.view), pt100, 1e-9) << ohm;
    }
}

TEST(RtdConversionTest, CustomTable) {
    std::vector<int32_t> full(kCustomRtdMaxPoints);
    for (size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<int32_t>(1000000 + 10000 * i);
    }
    const struct {
        const char* name;
        int32_t type;
        CustomTable table;
        double ohm;
        double degc;
    } cases[] = {
        {"rising, between", 4, {-500000, 10, 3, {800000, 1000000, 1200000}}, 90.0, -45.0},
        {"rising, on a point", 5, {-500000, 10, 3, {800000, 1000000, 1200000}}, 100.0, -40.0},
        {"rising, below", 6, {-500000, 10, 3, {800000, 1000000, 1200000}}, 60.0, -50.0},
        {"rising, above", 6, {-500000, 10, 3, {800000, 1000000, 1200000}}, 130.0, -30.0},
        {"type beyond 6", 7, {-500000, 10, 3, {800000, 1000000, 1200000}}, 90.0, -45.0},
        {"negative type", -1, {-500000, 10, 3, {800000, 1000000, 1200000}}, 90.0, -45.0},
        {"lowest type", kMin, {-500000, 10, 3, {800000, 1000000, 1200000}}, 90.0, -45.0},
        {"falling, up to R[0]", 4, {0, 5, 3, {1000000, 800000, 600000}}, 70.0, 0.0},
        {"falling, above R[0]", 4, {0, 5, 3, {1000000, 800000, 600000}}, 100.01, 10.0},
        {"one point, below", 4, {250000, 5, 1, {1000000, 2000000}}, 50.0, 25.0},
        {"one point, above", 4, {250000, 5, 1, {1000000, 2000000}}, 150.0, 25.0},
        {"no points", 4, {250000, 5, 0, {1000000, 2000000}}, 150.0, 25.0},
        {"negative points", 4, {250000, 5, kMin, {1000000, 2000000}}, 150.0, 25.0},
        {"301 points", 4, {0, 1, 301, full}, 1000.0, 299.0},
        {"most points", 4, {0, 1, kMax, full}, 250.5, 150.5},
        {"widest step", 4, {0, 10, 2, {kMin, kMax}}, 0.0, 5.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ResistanceToTemperature(c.type, c.ohm, c.table.view), c.degc, 1e-6) << c.name;
    }
}

}  // namespace
