#include "model/thermocouple/par_type_u4.h"
#include "model/thermocouple/par_type_u5.h"

#include <gtest/gtest.h>

#include "support/par_probe.h"
#include "support/temp_folder.h"

namespace {

TEST(ParTypeU4, DiffPointsInTheDisplayUnit) {
    CParTypeU4 set;
    EXPECT_EQ(set.GetModelCode(), "K9U4");
    EXPECT_EQ(set.GetTypeId(), 8);
    EXPECT_EQ(set.GetValueText(CParTypeU4::kDiff0), "0.0000");
    EXPECT_EQ(set.GetValueText(CParTypeU4::kDiff100), "1.0000");
    set.SetValue(CParTypeT::kDisplayUnit, 2, true);
    EXPECT_EQ(set.FormatValue(CParTypeU4::kDiff0, 0, true), "273.1500 (K)");
    EXPECT_EQ(set.FormatValue(CParTypeU4::kDiff100, 10000, false), "274.1500");
    EXPECT_EQ(set.GetValueString(CParTypeU4::kDiff100), "1.0000");
    EXPECT_EQ(set.GetParamId(kGroupBasic, 4), CParTypeU4::kDiff0);
    EXPECT_EQ(set.GetParamId(kGroupFineAdjust, 3), CParTwoTc::kInput2FineZero);
}

TEST(ParTypeU4, DiffRanges) {
    CParTypeU4 set;
    EXPECT_NE(ThrownMessage([&] { set.SetValue(CParTypeU4::kDiff100, 0, true); }), kNoThrow);
    EXPECT_NO_THROW(set.SetValue(CParTypeU4::kDiff0, 3010000, true));
    EXPECT_NE(ThrownMessage([&] { set.SetValue(CParTypeU4::kDiff0, 3010001, true); }), kNoThrow);
    EXPECT_NO_THROW(set.SetValue(CParTypeU4::kDiff0, 99990000, false));
    // The upper bound is computed without overflow near the int32 limit.
    set.SetValue(CParTypeU4::kDiff0, 0, false);
    EXPECT_NO_THROW(set.SetValue(CParTypeU4::kDiff100, 99990000, true));
    EXPECT_NO_THROW(set.SetValue(CParTypeU4::kDiff0, 100000000, true));
}

// The editor lets Diff0% lie up to 300 degrees above Diff100%: such a set loads back from its own file.
TEST(ParTypeU4, OverlappingDiffPointsLoadBackFromTheirFile) {
    CTempFolder dir;
    CParTypeU4 set;
    set.SetValueFromString(CParTypeU4::kDiff0, "200", true);
    set.SaveToFile(dir / "diff.cfg");
    CParTypeU4 loaded;
    loaded.LoadFromFile(dir / "diff.cfg");
    EXPECT_EQ(loaded.GetValue(CParTypeU4::kDiff0), 2000000);
    EXPECT_EQ(loaded.GetValue(CParTypeU4::kDiff100), 10000);
}

TEST(ParTypeU4, SecondInputTexts) {
    for (CParTwoTc* set : std::initializer_list<CParTwoTc*>{new CParTypeU4, new CParTypeU5}) {
        std::unique_ptr<CParTwoTc> owned(set);
        EXPECT_EQ(set->FormatValue(CParTwoTc::kInput2FineZero, -150, true), "-0.0150 (mV)");
        EXPECT_EQ(set->FormatValue(CParTwoTc::kInput2FineZero, 150, true), "+0.0150 (mV)");
        EXPECT_EQ(set->FormatValue(CParTwoTc::kInput2FineSpan, 10000, true), "1.0000");
        EXPECT_NE(ThrownMessage([&] { set->SetValue(CParTwoTc::kInput2FineZero, 15001, true); }), kNoThrow);
        EXPECT_NE(ThrownMessage([&] { set->SetValue(CParTwoTc::kInput2FineSpan, 9499, true); }), kNoThrow);
        EXPECT_NO_THROW(set->SetValue(CParTwoTc::kInput2FineSpan, 9499, false));
        EXPECT_EQ(set->GetValueString(CParTypeV::kModel), "K9U");
    }
}

TEST(ParTypeU5, CopyKeepsTheKind) {
    CParTypeU5 src;
    src.SetValue(CParTwoTc::kInput2FineZero, 100, true);
    CParTypeU4 other;
    other.CopyFrom(src);
    EXPECT_EQ(other.GetValue(CParTwoTc::kInput2FineZero), 0);
    auto same = src.CreateInstance();
    same->CopyFrom(src);
    EXPECT_EQ(same->GetValue(CParTwoTc::kInput2FineZero), 100);
    EXPECT_EQ(same->GetModelCode(), "K9U5");
}

// The step total a set keeps for its transfers.
template <class Set>
struct TotalProbe : Set {
    using Set::GetProgressTotal;
};

TEST(ParTypeU4, StepTotalCountsTheKindsOwnRows) {
    // Rows of groups 0, 1, 2 (304) and 3, plus the 512 + 64 table points.
    EXPECT_EQ(TotalProbe<CParTypeT>().GetProgressTotal(), 20 + 5 + 304 + 5 + 576);
    EXPECT_EQ(TotalProbe<CParTypeU4>().GetProgressTotal(), 22 + 7 + 304 + 5 + 576);
    EXPECT_EQ(TotalProbe<CParTypeU5>().GetProgressTotal(), 20 + 7 + 304 + 5 + 576);
}

}  // namespace
