#include "platform/c_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

TEST(CNumber, ToInt32TruncSaturatesOnItsSide) {
    struct Case {
        double in;
        int32_t out;
    } cases[] = {
        {1.9, 1},
        {-1.9, -1},
        {2147483647.0, INT32_MAX},
        {-2147483648.0, INT32_MIN},
        {2147483648.0, INT32_MAX},
        {-2147483649.0, INT32_MIN},
        {1e12, INT32_MAX},
        {-1e12, INT32_MIN},
        {1e300, INT32_MAX},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), INT32_MAX},
        {-std::numeric_limits<double>::infinity(), INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ToInt32Trunc(c.in), c.out) << c.in;
}

TEST(CNumber, SnapTruncKeepsCountsThatFloatingPointLoses) {
    EXPECT_EQ(ToInt32Trunc(0.29 * 100), 28);
    EXPECT_EQ(SnapTrunc(0.29 * 100), 29);
    EXPECT_EQ(SnapTrunc(1.0010 * 10000), 10010);
    EXPECT_EQ(SnapTrunc(10000.5), 10000);
    EXPECT_EQ(SnapTrunc(-0.29 * 100), -29);
    EXPECT_EQ(SnapTrunc(-28.5), -28);
    EXPECT_EQ(SnapTrunc(std::nan("")), 0);
    // Every output fine zero position survives a trip through its percent value.
    for (int v = -500; v <= 500; ++v) EXPECT_EQ(SnapTrunc((v / 100.0) * 100), v) << v;
    // and every four-decimal value through its x10000 form
    for (int v = -2000000; v <= 2000000; v += 7) EXPECT_EQ(SnapTrunc((v / 10000.0) * 10000.0), v);
}

TEST(CNumber, ParseDoubleFollowsScanfButRefusesNonFinite) {
    struct Case {
        const char* text;
        std::optional<double> out;
    } cases[] = {
        {"1.25", 1.25},          {"  -3.5abc", -3.5},   {"+2", 2.0},
        {"1e3", 1000.0},         {"", std::nullopt},    {"abc", std::nullopt},
        {"nan", std::nullopt},   {"inf", std::nullopt}, {"-infinity", std::nullopt},
        {"1e400", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDouble(c.text), c.out) << c.text;
    // Far numbers keep their sign; nan is a text without a number.
    const double inf = std::numeric_limits<double>::infinity();
    struct OrZeroCase {
        const char* text;
        double out;
    } orZero[] = {{"nan", 0.0}, {" -inf", -inf}, {"1e400", inf}, {"abc", 0.0}, {"", 0.0}, {"2", 2.0}};
    for (const auto& k : orZero) EXPECT_EQ(ParseDoubleOrZero(k.text), k.out) << k.text;
}

TEST(CNumber, ParseInt32ReadsLikeAtoiAndSaturates) {
    struct Case {
        const char* text;
        int32_t out;
    } cases[] = {
        {"42", 42},
        {"  -17x", -17},
        {"", 0},
        {"abc", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
        {"3.9", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseInt32(c.text), c.out) << c.text;
    bool outOfRange = false;
    EXPECT_FALSE(ParseInt32Checked("99999999999", &outOfRange));
    EXPECT_TRUE(outOfRange);
    EXPECT_FALSE(ParseInt32Checked("x", &outOfRange));
    EXPECT_FALSE(outOfRange);
}

TEST(CNumber, SaturateInt32) {
    EXPECT_EQ(SaturateInt32(int64_t{INT32_MAX} + 5), INT32_MAX);
    EXPECT_EQ(SaturateInt32(int64_t{INT32_MIN} - 5), INT32_MIN);
    EXPECT_EQ(SaturateInt32(-7), -7);
}

TEST(CNumber, NumberTextsUseThePointUnderAGermanLocale) {
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(german, nullptr) << "the de_DE.UTF-8 locale is not installed (tools/install-deps makes it)";
    EXPECT_EQ(FormatC("%.4lf", 1.5), "1.5000");
    EXPECT_EQ(ParseDouble("2.75"), 2.75);
    std::setlocale(LC_ALL, "C");
}
