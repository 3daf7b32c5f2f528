#include "model/thermocouple/tc_reference.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double EmfAt(int32_t type, int celsius) {
    const CTcReference* ref = FindTcReference(type);
    return ref->emf[static_cast<size_t>(celsius - static_cast<int>(ref->firstTemperature))];
}

enum Type { K, E, J, T, B, R, S, C, D, N, U, L };

}  // namespace

TEST(TcReference, StandardTypesCoverTheirRangesAndIncreaseStrictly) {
    struct Case {
        int32_t type;
        double first;
        size_t entries;
    } cases[] = {
        {K, -230, 1653}, {E, -150, 1201}, {J, -150, 1401}, {T, -250, 701},  {B, -50, 1921}, {R, -100, 1911},
        {S, -100, 1911}, {C, -50, 2401},  {D, -50, 2401},  {N, -230, 1581}, {U, -250, 901}, {L, -150, 1101},
    };
    for (const auto& c : cases) {
        const CTcReference* ref = FindTcReference(c.type);
        ASSERT_NE(ref, nullptr) << c.type;
        EXPECT_EQ(ref->firstTemperature, c.first) << c.type;
        ASSERT_EQ(ref->emf.size(), c.entries) << c.type;
        for (size_t j = 1; j < ref->emf.size(); ++j)
            ASSERT_LT(ref->emf[j - 1], ref->emf[j]) << "type " << c.type << " entry " << j;
    }
}

TEST(TcReference, HoldsTheRowsTheDeviceTablesHold) {
    struct Case {
        int32_t type;
        int celsius;
        double uv;
    } cases[] = {
        // 4096.230 is what the reference function gives at 100 degC.
        {K, -230, -6261.838},
        {K, 0, 0.0},
        {K, 100, 4096.230},
        {K, 1372, 54886.364},
        {K, 1422, 56566.652},
        {N, 1000, 36255.538},
        {S, 1000, 9587.098},
        {B, -50, -3.295},
        {B, 0, -2.795},
        {B, 20, -2.595},
        {B, 21, -2.585},
        {B, 25, -2.493},
        {B, 1000, 4834.339},
        {B, 1870, 14386.919},
        {C, -50, -650},
        {C, -49, -637},
        {C, 0, 0},
        {C, 100, 1451},
        {C, 1000, 18257},
        {C, 2350, 37376},
        {D, -50, -500},
        {D, -49, -490},
        {D, 0, 0},
        {D, 100, 1145},
        {D, 1000, 18230},
        {D, 2350, 39823},
        {U, -250, -6700},
        {U, -249, -6680},
        {U, 0, 0},
        {U, 100, 4250},
        {U, 650, 37810},
        {L, -150, -6600},
        {L, -149, -6560},
        {L, 0, 0},
        {L, 100, 5370},
        {L, 950, 56640},
    };
    for (const auto& c : cases) EXPECT_EQ(EmfAt(c.type, c.celsius), c.uv) << c.type << " at " << c.celsius;
}

TEST(TcReference, FollowsThePublishedReferenceValues) {
    // Published values in mV to 0.001 for the standard functions, the compiled reference data for the
    // tungsten-rhenium and the former national types.
    struct Case {
        int32_t type;
        int celsius;
        double mv;
    } cases[] = {
        {K, -200, -5.891}, {K, 500, 20.644},  {K, 1000, 41.276}, {E, -100, -5.237}, {E, 500, 37.005},
        {E, 1000, 76.373}, {J, -100, -4.633}, {J, 760, 42.919},  {J, 1200, 69.553}, {T, -200, -5.603},
        {T, 100, 4.279},   {T, 400, 20.872},  {R, -50, -0.226},  {R, 1000, 10.506}, {R, 1768, 21.101},
        {S, -50, -0.236},  {S, 1500, 15.582}, {N, -200, -3.990}, {N, 500, 16.748},  {N, 1300, 47.513},
        {B, 500, 1.242},   {B, 1500, 10.099}, {B, 1820, 13.820}, {D, 500, 8.078},   {D, 1500, 27.673},
        {D, 2000, 35.716}, {U, -200, -5.70},  {U, 400, 21.00},   {U, 600, 34.31},   {L, -100, -4.75},
        {L, 500, 27.85},   {L, 900, 53.14},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(EmfAt(c.type, c.celsius), c.mv * 1000.0, 0.5) << c.type << " at " << c.celsius;
}

TEST(TcReference, CoarseTypesKeepTheirResolution) {
    struct Case {
        int32_t type;
        double quantum;
    } cases[] = {{C, 1.0}, {D, 1.0}, {U, 10.0}, {L, 10.0}};
    for (const auto& c : cases)
        for (double uv : FindTcReference(c.type)->emf) ASSERT_EQ(std::fmod(uv, c.quantum), 0.0) << c.type;
}

TEST(TcReference, Pt1000FollowsThePt100TableAndItsExtensions) {
    const auto p = Pt1000Reference();
    struct Case {
        int celsius;
        double ohm;
    } cases[] = {
        {-250, -29.8}, {-201, 180.9}, {-200, 185.2}, {0, 1000.0},   {100, 1385.1},
        {325, 2209.2}, {850, 3904.8}, {851, 3907.7}, {900, 4049.8},
    };
    for (const auto& c : cases) EXPECT_EQ(p[static_cast<size_t>(c.celsius + 250)], c.ohm) << c.celsius;
    for (size_t j = 1; j < p.size(); ++j) ASSERT_LT(p[j - 1], p[j]) << j;
}
