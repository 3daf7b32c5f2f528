#include "model/rtd/rtd_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

double Entry(std::span<const double> table, int degc) {
    return table[static_cast<size_t>(degc - kRtdTableFirstDegC)];
}

// Unrounded platinum resistance, to check that no table row is shifted or mis-rounded.
double Pt100Cvd(double t) {
    const double a = 3.9083e-3;
    const double b = -5.775e-7;
    const double c = t < 0 ? -4.183e-12 : 0.0;
    return 100.0 * (1 + a * t + b * t * t + c * (t - 100) * t * t * t);
}

TEST(RtdTablesTest, Pt100MatchesTheStandardTableAndItsExtensions) {
    const struct {
        int degc;
        double ohm;
    } cases[] = {
        {-250, -2.98}, {-201, 18.09}, {-200, 18.52}, {-100, 60.26}, {0, 100.00},   {49, 119.01},
        {50, 119.40},  {100, 138.51}, {200, 175.86}, {300, 212.05}, {400, 247.09}, {500, 280.98},
        {600, 313.71}, {700, 345.28}, {800, 375.70}, {850, 390.48}, {851, 390.77}, {900, 404.98},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Entry(kPt100Table, c.degc), c.ohm) << c.degc << " degC";
    }
    for (int degc = -200; degc <= 850; ++degc) {
        EXPECT_NEAR(Entry(kPt100Table, degc), Pt100Cvd(degc), 0.005 + 1e-9) << degc << " degC";
    }
}

TEST(RtdTablesTest, JPt100FollowsItsTenDegreeRows) {
    const struct {
        int degc;
        double ohm;
    } rows[] = {
        {-250, -4.36}, {-200, 17.14}, {-110, 55.44}, {0, 100.00},   {100, 139.16},
        {370, 238.99}, {500, 284.02}, {510, 287.40}, {511, 287.74}, {560, 304.40},
    };
    for (const auto& r : rows) {
        EXPECT_DOUBLE_EQ(Entry(kJPt100Table, r.degc), r.ohm) << r.degc << " degC";
    }
    for (int degc = -200; degc < 510; ++degc) {
        const int low = degc - (degc + 200) % 10;
        const double share = (degc - low) / 10.0;
        const double line = Entry(kJPt100Table, low) * (1 - share) + Entry(kJPt100Table, low + 10) * share;
        EXPECT_NEAR(Entry(kJPt100Table, degc), line, 0.005 + 1e-9) << degc << " degC";
    }
}

TEST(RtdTablesTest, SelectsTheFourTablesByTypeAndNothingElse) {
    EXPECT_EQ(RtdReferenceTable(0).data(), kPt100Table.data());
    EXPECT_EQ(RtdReferenceTable(1).data(), kJPt100Table.data());
    EXPECT_EQ(RtdReferenceTable(2).data(), kPt500Table.data());
    EXPECT_EQ(RtdReferenceTable(3).data(), kPt1000Table.data());
    for (int32_t type :
         {-1, 4, 6, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        EXPECT_TRUE(RtdReferenceTable(type).empty()) << type;
    }
    for (int32_t type = 0; type < kRtdStandardTypeCount; ++type) {
        const auto table = RtdReferenceTable(type);
        for (size_t k = 1; k < table.size(); ++k) {
            ASSERT_LT(table[k - 1], table[k]) << "type " << type << " entry " << k;
        }
    }
}

}  // namespace
