#include "model/thermocouple/tc_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "model/thermocouple/tc_reference.h"

namespace {

enum Type { K, E, J, T, B, R, S, C, D, N, U, L, Custom100, Custom50 };

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The custom table fields of a parameter set; a conversion made from it reads them while it lives.
struct CustomTable {
    int32_t start = 0;
    int32_t step = 1;
    int32_t points = 2;
    std::array<int32_t, kTcCustomCapacity> values{};

    CTcConversion Conversion() const { return CTcConversion({start, step, points, values}); }
};

// Start 0 degC, step 10, three points at 0, 400 and 1000 uV.
CustomTable ThreePointTable() {
    CustomTable f;
    f.step = 10;
    f.points = 3;
    f.values[1] = 4000;
    f.values[2] = 10000;
    return f;
}

const CustomTable kNoCustom;
const CTcConversion kStandard = kNoCustom.Conversion();

}  // namespace

TEST(TcConversion, StartVoltageAndPeriodOfEveryStandardType) {
    struct Case {
        int32_t type;
        double start;
        int32_t period;
    } cases[] = {
        {K, -6272, 2}, {E, -7424, 3}, {J, -6656, 3}, {T, -6208, 1}, {B, -32, 0},   {R, -384, 1},
        {S, -448, 1},  {C, -768, 2},  {D, -512, 2},  {N, -4352, 2}, {U, -6784, 2}, {L, -6656, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kStandard.GetTableStartVolt(c.type), c.start) << c.type;
        EXPECT_EQ(kStandard.GetTableVoltPeriod(c.type), c.period) << c.type;
    }
    const int32_t periods[][2] = {{-1, 32}, {0, 32}, {1, 64}, {2, 128}, {3, 256}, {4, 256}};
    for (const auto& p : periods) EXPECT_EQ(CTcConversion::PeriodMicrovolts(p[0]), p[1]) << p[0];
}

TEST(TcConversion, EveryWholeDegreeSurvivesTheRoundTrip) {
    for (int32_t type = K; type <= L; ++type) {
        const CTcReference* ref = FindTcReference(type);
        for (size_t j = 0; j < ref->emf.size(); ++j) {
            const double celsius = ref->firstTemperature + static_cast<double>(j);
            const double uv = kStandard.TemperatureToVoltage(type, celsius);
            ASSERT_EQ(uv, ref->emf[j]) << type << " at " << celsius;
            ASSERT_EQ(kStandard.VoltageToTemperature(type, uv), celsius) << type << " at " << celsius;
        }
    }
}

TEST(TcConversion, StandardVoltageToTemperature) {
    struct Case {
        int32_t type;
        double uv;
        double celsius;
    } cases[] = {
        {K, -7000.0, -230.0}, {K, -6261.838, -230.0}, {K, 56566.652, 1422.0}, {K, 1e9, 1422.0},
        {K, kNaN, -230.0},    {K, 4096.230, 100.0},   {B, -2.795, 0.0},       {B, -2.79, 0.5},
        {C, -6.5, -0.5},      {U, 4245.0, 99.9},      {L, 56640.0, 950.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(kStandard.VoltageToTemperature(c.type, c.uv), c.celsius, 1e-9) << c.type << " " << c.uv;
    // The older table row 4096.216 uV lies 0.014 uV below the 100 degC entry.
    EXPECT_NEAR(kStandard.VoltageToTemperature(K, 4096.216), 99.9997, 1e-4);
}

TEST(TcConversion, StandardTemperatureToVoltage) {
    struct Case {
        int32_t type;
        double celsius;
        double uv;
    } cases[] = {
        {K, -300.0, -6261.838}, {K, kNaN, -6261.838}, {K, 1372.0, 54886.364},
        {K, 2000.0, 56566.652}, {B, 0.0, -2.795},     {B, 1000.0, 4834.339},
        {C, -0.5, -6.5},        {D, -49.5, -495.0},   {U, 99.5, 4225.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(kStandard.TemperatureToVoltage(c.type, c.celsius), c.uv, 1e-9)
            << c.type << " " << c.celsius;
}

TEST(TcConversion, OneRoundingStepBelowTheLastRowStaysOnTheTable) {
    for (int32_t type = K; type <= L; ++type) {
        const CTcReference* ref = FindTcReference(type);
        ASSERT_NE(ref, nullptr);
        const double last = ref->firstTemperature + static_cast<double>(ref->emf.size() - 1);
        const double below = std::nextafter(last, -std::numeric_limits<double>::infinity());
        EXPECT_NEAR(kStandard.TemperatureToVoltage(type, below), ref->emf.back(), 1e-6) << type;
    }
    const CustomTable f = ThreePointTable();
    const double below = std::nextafter(20.0, 0.0);
    EXPECT_NEAR(f.Conversion().TemperatureToVoltage(Custom100, below), 1000.0, 1e-9);
}

TEST(TcConversion, Pt1000ToTemperature) {
    struct Case {
        double ohm;
        double celsius;
    } cases[] = {
        {1000.0, 0.0},   {1385.1, 100.0}, {-40.0, -250.0},  {-29.8, -250.0},  {kNaN, -250.0},
        {5000.0, 900.0}, {4049.8, 900.0}, {183.05, -200.5}, {3906.25, 850.5},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(CTcConversion::Pt1000ToTemperature(c.ohm), c.celsius, 1e-9) << c.ohm;
}

TEST(TcConversion, CustomTableBothWays) {
    const CustomTable f = ThreePointTable();
    const CTcConversion conv = f.Conversion();
    struct Case {
        double celsius;
        double uv;
    } toVoltage[] = {{15, 700}, {20, 1000}, {500, 1000}, {-5, 0}, {-0.5, -20}, {5, 200}, {kNaN, 0}},
      toTemperature[] = {{15, 700}, {20, 1000}, {20, 5000}, {0, 0}, {0, -100}, {5, 200}, {0, kNaN}};
    for (const auto& c : toVoltage) EXPECT_NEAR(conv.TemperatureToVoltage(Custom100, c.celsius), c.uv, 1e-9);
    for (const auto& c : toTemperature)
        EXPECT_NEAR(conv.VoltageToTemperature(Custom50, c.uv), c.celsius, 1e-9) << c.uv;
    EXPECT_EQ(conv.GetTableStartVolt(Custom100), 0.0);
    // Any index outside the standard types reads the custom table.
    EXPECT_NEAR(conv.TemperatureToVoltage(-1, 15), 700, 1e-9);
    EXPECT_NEAR(conv.VoltageToTemperature(99, 700), 15, 1e-9);
}

TEST(TcConversion, CustomTableAboveItsEndGivesWholeMicrovolts) {
    CustomTable f;
    f.start = -1000000;
    f.values[0] = 5;
    f.values[1] = 1234567;
    const CTcConversion conv = f.Conversion();
    EXPECT_EQ(conv.TemperatureToVoltage(Custom100, 0.0), 123456.0);
    EXPECT_EQ(conv.GetTableStartVolt(Custom100), 0.5);
    EXPECT_EQ(conv.VoltageToTemperature(Custom100, 200000.0), -99.0);
}

TEST(TcConversion, CustomVoltPeriodFollowsTheSpan) {
    struct Case {
        int32_t rise;  // 0.1 uV
        int32_t period;
    } cases[] = {{163839, 0}, {163840, 1}, {327680, 2}, {655360, 3}, {INT32_MAX, 3}, {-100, 0}};
    for (const auto& c : cases) {
        CustomTable f;
        f.points = 3;
        f.values[0] = -1000;
        f.values[1] = -1000 + c.rise / 2;
        f.values[2] = c.rise == INT32_MAX ? INT32_MAX : -1000 + c.rise;
        EXPECT_EQ(f.Conversion().GetTableVoltPeriod(Custom100), c.period) << c.rise;
    }
}

TEST(TcConversion, CustomCountsOutsideTheirRangesStayWithinTheTable) {
    CustomTable f;
    for (size_t i = 0; i < f.values.size(); ++i) f.values[i] = static_cast<int32_t>(i) * 100;
    struct Case {
        int32_t points;
        int32_t step;
        double lastCelsius;  // temperature of the last point used
        double lastUv;       // its voltage
        double justBelow;    // voltage at start - 0.5 degC
    } cases[] = {
        {0, 1, 0, 0, 0},
        {-5, 1, 0, 0, 0},
        {1, 1, 0, 0, 0},
        {400, 1, 299, 2990, -5},
        {INT32_MAX, 2, 598, 2990, -2.5},
        {300, 0, 299, 2990, -5},
        {300, -7, 299, 2990, -5},
    };
    for (const auto& c : cases) {
        f.step = c.step;
        f.points = c.points;
        const CTcConversion conv = f.Conversion();
        EXPECT_EQ(conv.VoltageToTemperature(Custom100, 1e9), c.lastCelsius) << c.points;
        EXPECT_EQ(conv.TemperatureToVoltage(Custom100, 1e9), c.lastUv) << c.points;
        EXPECT_EQ(conv.TemperatureToVoltage(Custom100, -0.5), c.justBelow) << c.points;
        EXPECT_EQ(conv.GetTableStartVolt(Custom100), 0.0) << c.points;
        EXPECT_EQ(conv.GetTableVoltPeriod(Custom100), 0) << c.points;
    }
}

TEST(TcConversion, ExtremeCustomValuesDoNotOverflow) {
    CustomTable f;
    f.start = INT32_MAX;
    f.step = INT32_MAX;
    f.values[0] = INT32_MIN;
    f.values[1] = INT32_MAX;
    const CTcConversion conv = f.Conversion();
    EXPECT_EQ(conv.GetTableVoltPeriod(Custom100), 3);
    EXPECT_EQ(conv.VoltageToTemperature(Custom100, 1e12), INT32_MAX / 10000.0 + INT32_MAX);
    EXPECT_EQ(conv.ColdJunctionVoltage(Custom100, INT32_MIN), INT32_MIN + 8);  // whole microvolts
    EXPECT_EQ(conv.TemperatureToVoltage(Custom100, 1e300), 214748364.0);
    EXPECT_GT(conv.VoltageToTemperature(Custom100, 0.0), INT32_MAX / 10000.0);
}

TEST(TcConversion, ColdJunctionVoltageInWholeMicrovolts) {
    const CustomTable f = ThreePointTable();
    const CTcConversion conv = f.Conversion();
    struct Case {
        int32_t type;
        int32_t coldJunction;  // 1e-4 degC
        int32_t expected;      // 0.1 uV
    } cases[] = {
        {K, 1000000, 40960},         {K, 0, 0},
        {C, -50000, -650},           {C, -5000, -60},
        {U, 1000000, 42500},         {Custom100, 150000, 7000},
        {Custom100, 1000000, 10000}, {Custom100, 10, 0},
        {Custom100, -5000, -200},    {K, 1000, 30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(conv.ColdJunctionVoltage(c.type, c.coldJunction), c.expected) << c.type;
}
