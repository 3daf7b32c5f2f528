#include "model/set/par_base.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/par_probe.h"

namespace {

// A set over a table whose groups are interleaved, to test the table look-up on its own.
class CTableProbe : public CParTypeV {
public:
    explicit CTableProbe(const ParDef* table) { SetDefTable(table); }
    using CParTypeV::GetTableParamId;
};

constexpr ParDef kInterleaved[] = {
    {0, 65000, 1019, 0}, {0, 1, 1200, 2},       {1, 65002, 1021, 0},
    {0, 2, 1201, 2},     {10, 62000, 10000, 2}, {0, 0, 0, 0},
};

TEST(ParBase, TableLookupStaysInsideTheGroup) {
    CTableProbe set(kInterleaved);
    struct Case {
        int32_t group, index, code;
    } cases[] = {{0, 1, 1},      {0, 2, -1},  {1, 0, 65002}, {1, 1, -1},
                 {10, 0, 62000}, {10, 1, -1}, {3, 0, -1},    {0, -1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(set.GetTableParamId(c.group, c.index), c.code) << c.group << "/" << c.index;
}

TEST(ParBase, GroupWalkOfTheDcInputSetStopsAtTheFirstEmptyGroup) {
    CParTypeV set;
    EXPECT_EQ(set.GetParamCount(3), 0);
    EXPECT_EQ(set.GetParamCount(10), 9);
    const std::vector<int32_t> codes = set.GetWalkCodes();
    ASSERT_EQ(codes.size(), 9u + 5u + 205u);
    EXPECT_EQ(std::vector<int32_t>(codes.begin(), codes.begin() + 17),
              (std::vector<int32_t>{65000, 0, 1, 2, 51, 65001, 100, 101, 102, 65002, 10000, 10002, 10003,
                                    10004, 65003, 20000, 20001}));
    for (int32_t i = 0; i < 202; ++i) EXPECT_EQ(codes[static_cast<size_t>(17 + i)], 20002 + i);
    EXPECT_EQ(set.GetParamId(2, 205), -1);
    EXPECT_EQ(set.GetParamId(0, 9), -1);
}

TEST(ParBase, ProgressIsGuardedAgainstABadTotal) {
    struct Case {
        int32_t total, steps, permille;
    } cases[] = {{219, 110, 502}, {219, 500, 1000}, {219, -3, 0},
                 {0, 10, 0},      {-5, 10, 0},      {1, INT32_MAX, 1000}};
    for (const auto& c : cases) {
        CParProbe set;
        set.SetProgressTotal(c.total);
        set.AddProgress(c.steps);
        EXPECT_EQ(set.GetProgress(), c.permille) << c.total << "/" << c.steps;
        set.ResetProgress();
        EXPECT_EQ(set.GetProgress(), 0);
    }
    CParProbe fresh;  // a new set takes the walk as its total
    fresh.AddProgress(219);
    EXPECT_EQ(fresh.GetProgress(), 1000);
}

}  // namespace
