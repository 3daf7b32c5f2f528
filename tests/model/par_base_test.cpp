#include "model/par_base.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "par_probe.h"

namespace {

// A set over a table whose groups are interleaved, to test the table walks on their own.
class CTableProbe : public CParTypeV {
public:
    explicit CTableProbe(const ParDef* table) { SetDefTable(table); }
    using CParTypeV::GetTableParamId;
    using CParTypeV::GetTableGroupCount;
};

constexpr ParDef kInterleaved[] = {
    {0, 65000, 1019, 0}, {0, 1, 1200, 2}, {1, 65002, 1021, 0}, {0, 2, 1201, 2}, {10, 62000, 10000, 2},
    {0, 0, 0, 0},
};

}  // namespace

TEST(ParBase, TableLookupStaysInsideTheGroup) {
    CTableProbe set(kInterleaved);
    struct Case {
        int32_t group, index, code;
    } cases[] = {
        {0, 0, 65000}, {0, 1, 1}, {0, 2, -1},   // the next row belongs to group 1
        {1, 0, 65002}, {1, 1, -1},              // the row after is group 0 again
        {10, 0, 62000}, {10, 1, -1},            // the terminator follows
        {3, 0, -1},     {0, -1, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(set.GetTableParamId(c.group, c.index), c.code) << c.group << "/" << c.index;
    EXPECT_EQ(set.GetTableGroupCount(0), 2);
    EXPECT_EQ(set.GetTableGroupCount(3), 0);
}

TEST(ParBase, GroupWalkOfTheDcInputSetStopsAtTheFirstEmptyGroup) {
    CParTypeV set;
    EXPECT_EQ(set.GetParamCount(0), 9);
    EXPECT_EQ(set.GetParamCount(1), 5);
    EXPECT_EQ(set.GetParamCount(2), 205);
    EXPECT_EQ(set.GetParamCount(3), 0);
    EXPECT_EQ(set.GetParamCount(10), 9);

    const std::vector<int32_t> codes = set.GetWalkCodes();
    ASSERT_EQ(codes.size(), 219u);
    const std::vector<int32_t> head(codes.begin(), codes.begin() + 17);
    EXPECT_EQ(head, (std::vector<int32_t>{65000, 0, 1, 2, 51, 65001, 100, 101, 102, 65002, 10000, 10002, 10003,
                                          10004, 65003, 20000, 20001}));
    for (int32_t i = 0; i < 202; ++i) EXPECT_EQ(codes[static_cast<size_t>(17 + i)], 20002 + i);
    for (int32_t code : codes) EXPECT_TRUE(code < 60000 || code >= 65000) << "device-side row " << code;
}

TEST(ParBase, GeneratedRowsOfTheLinearizerGroup) {
    CParTypeV set;
    struct Case {
        int32_t index, code;
    } cases[] = {{0, 65003}, {2, 20001}, {3, 20002}, {4, 20003}, {203, 20202}, {204, 20203}, {205, -1}};
    for (const auto& c : cases) EXPECT_EQ(set.GetParamId(2, c.index), c.code) << c.index;
    EXPECT_EQ(set.GetParamId(0, 9), -1);
    EXPECT_EQ(set.GetParamId(10, 0), 60000);
    EXPECT_EQ(set.GetParamId(3, 0), -1);
}

TEST(ParBase, ProgressIsGuardedAgainstABadTotal) {
    struct Case {
        int32_t total, steps, permille;
    } cases[] = {
        {219, 0, 0},      {219, 219, 1000}, {219, 110, 502}, {219, 500, 1000}, {219, -3, 0},
        {0, 10, 0},       {-5, 10, 0},      {1, INT32_MAX, 1000},
    };
    for (const auto& c : cases) {
        CParProbe set;
        set.SetProgressTotal(c.total);
        set.AddProgress(c.steps);
        EXPECT_EQ(set.GetProgress(), c.permille) << c.total << "/" << c.steps;
        set.ResetProgress();
        EXPECT_EQ(set.GetProgress(), 0);
    }
}

TEST(ParBase, NewSetStartsWithTheWalkAsStepTotal) {
    CParProbe set;
    set.AddProgress(219);
    EXPECT_EQ(set.GetProgress(), 1000);
    EXPECT_EQ(set.GetTypeId(), 0);
    EXPECT_EQ(set.GetStatus(), 0u);
    EXPECT_FALSE(set.IsOnline());
    EXPECT_EQ(set.GetModelCode(), "K9R");
    for (int32_t code : {0, 1, 20002, 62000}) EXPECT_EQ(set.GetDefaultLowValue(code), -100.0);
}
