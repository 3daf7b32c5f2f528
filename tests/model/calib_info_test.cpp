#include <gtest/gtest.h>

#include "model/calib_info.h"

namespace {

TEST(CalibInfo, CopyKeepsTheRequestsAndTexts) {
    CCalibInfo calib;
    calib.zeroRequest = true;
    calib.zeroValue = "10.00";
    calib.fullValue = "90.00";
    CCalibInfo copy;
    copy = calib;
    EXPECT_TRUE(copy.zeroRequest.Load());
    EXPECT_FALSE(copy.fullRequest.Load());
    EXPECT_EQ(copy.GetZeroValue(), "10.00");
    EXPECT_EQ(copy.GetFullValue(), "90.00");
}

}  // namespace
