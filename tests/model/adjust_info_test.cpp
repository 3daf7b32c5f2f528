#include <gtest/gtest.h>

#include "model/adjust_info.h"

namespace {

// The record crosses threads by value; its pending flag is atomic but must still copy like a value.
TEST(AdjustInfo, CopyIsASnapshotOfBothChannelsAndTheFlags) {
    CAdjustInfo two;
    two.channelCount = 2;
    two.inputZero = {0.5, -0.25};
    two.inputSpan = {1.001, 0.999};
    two.inputAdjustUnavailable = true;
    two.writePending = true;
    CAdjustInfo copy;
    copy = two;
    EXPECT_EQ(copy.channelCount, 2);
    EXPECT_EQ(copy.inputZero[1], -0.25);
    EXPECT_EQ(copy.inputSpan[1], 0.999);
    EXPECT_TRUE(copy.inputAdjustUnavailable);
    EXPECT_TRUE(copy.writePending.Load());
    two.writePending = false;
    EXPECT_TRUE(copy.writePending.Load());
    EXPECT_EQ(CAdjustInfo().GetOutputUnit(), "%");
}

}  // namespace
