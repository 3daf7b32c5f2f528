#include <gtest/gtest.h>

#include <array>

#include "model/device/adjust_info.h"
#include "model/device/calib_info.h"

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

TEST(AdjustInfo, DefaultsOfBothRecords) {
    const CAdjustInfo adjust;
    EXPECT_EQ(adjust.channelCount, 1);
    EXPECT_EQ(adjust.inputZero, (std::array<double, 2>{0.0, 0.0}));
    EXPECT_EQ(adjust.inputSpan, (std::array<double, 2>{1.0, 1.0}));
    EXPECT_EQ(adjust.inputZeroLow, -15.0);
    EXPECT_EQ(adjust.inputZeroHigh, 15.0);
    EXPECT_EQ(adjust.outputZero, 0.0);
    EXPECT_EQ(adjust.outputSpan, 1.0);
    EXPECT_EQ(adjust.GetInputUnit(), "");
    EXPECT_EQ(adjust.GetOutputUnit(), "%");
    EXPECT_FALSE(adjust.inputAdjustUnavailable);
    EXPECT_FALSE(adjust.writePending.Load());

    const CCalibInfo calib;
    EXPECT_EQ(calib.status, 0);
    EXPECT_FALSE(calib.available);
    EXPECT_FALSE(calib.zeroRequest.Load());
    EXPECT_FALSE(calib.fullRequest.Load());
    EXPECT_EQ(calib.GetZeroValue(), "");
    EXPECT_EQ(calib.GetFullValue(), "");
}

}  // namespace
