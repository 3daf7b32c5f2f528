#include "ui/controls/graph_samples.h"

#include <gtest/gtest.h>

TEST(GraphSamples, FullBucketsAreMergedPairwiseIntoTheFirstHalf) {
    CGraphSamples samples;
    for (int i = 0; i < 10000; ++i) samples.Add(static_cast<float>(i), static_cast<float>(i % 7));
    EXPECT_EQ(samples.CurrentBucket(), 9999);
    EXPECT_EQ(samples.SamplesPerBucket(), 1);

    samples.Add(10000.0F, -1.0F);
    EXPECT_EQ(samples.CurrentBucket(), 5000);
    EXPECT_EQ(samples.SamplesPerBucket(), 2);
    const auto& b = samples.Buckets();
    EXPECT_EQ(b[0].count, 2);
    EXPECT_FLOAT_EQ(b[0].meanX, 0.5F);
    EXPECT_EQ(b[0].minY, 0.0F);
    EXPECT_EQ(b[0].maxY, 1.0F);
    EXPECT_EQ(b[4999].count, 2);
    EXPECT_FLOAT_EQ(b[4999].meanX, 9998.5F);
    EXPECT_EQ(b[5000].count, 1);
    EXPECT_EQ(b[5000].minY, -1.0F);
    EXPECT_EQ(b[5001].count, 0);

    for (int i = 10001; i < 20001; ++i) samples.Add(static_cast<float>(i), 0.0F);
    EXPECT_EQ(samples.CurrentBucket(), 5000);
    EXPECT_EQ(samples.SamplesPerBucket(), 4);
    EXPECT_EQ(b[0].count, 4);
    EXPECT_EQ(b[4999].count, 4);
    EXPECT_EQ(b[5000].count, 1);
    EXPECT_FLOAT_EQ(b[5000].meanX, 20000.0F);
    EXPECT_EQ(samples.Raw().size(), 20001U);

    samples.Clear();
    EXPECT_TRUE(samples.Raw().empty());
    EXPECT_EQ(samples.CurrentBucket(), 0);
    EXPECT_EQ(samples.SamplesPerBucket(), 1);
    EXPECT_EQ(b[0].count, 0);
}
