#include <gtest/gtest.h>

#include "model/adjust_info.h"

namespace {

TEST(AdjustInfo, DefaultsAndCopies) {
    const CAdjustInfo fresh;
    EXPECT_EQ(fresh.channelCount, 1);
    EXPECT_EQ(fresh.inputZero[0], 0.0);
    EXPECT_EQ(fresh.inputSpan[1], 1.0);
    EXPECT_EQ(fresh.inputZeroLow, -15.0);
    EXPECT_EQ(fresh.inputZeroHigh, 15.0);
    EXPECT_EQ(fresh.outputSpan, 1.0);
    EXPECT_EQ(fresh.GetInputUnit(), "");
    EXPECT_EQ(fresh.GetOutputUnit(), "%");

    CAdjustInfo two;
    two.channelCount = 2;
    two.inputZero = {0.5, -0.25};
    two.inputSpan = {1.001, 0.999};
    two.inputAdjustUnavailable = true;
    two.writePending = true;
    const CAdjustInfo copy(two);
    EXPECT_EQ(copy.inputZero[1], -0.25);
    EXPECT_EQ(copy.inputSpan[1], 0.999);
    EXPECT_TRUE(copy.inputAdjustUnavailable);
    EXPECT_TRUE(copy.writePending.Load());
    // The copy is a snapshot: the flag of the original goes its own way.
    two.writePending = false;
    EXPECT_TRUE(copy.writePending.Load());
}

}  // namespace
