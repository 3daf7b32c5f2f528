#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// One raw sample of the trend graph, as recorded.
struct CGraphSample {
    float x;
    float y;
};

// Samples merged for the live trace: their count, the running mean of their x and the extremes of y.
struct GraphBucket {
    int32_t count;
    float meanX;
    float minY;
    float maxY;
};

// Every sample since the last Clear, and beside them a fixed number of buckets that the live trace is
// drawn from: the first kBucketCount samples take one bucket each; when the buckets are full, pairs
// are merged into the first half and each bucket takes twice as many samples from then on. So a live
// trace of any length is drawn from at most kBucketCount buckets.
class CGraphSamples {
public:
    static constexpr int32_t kBucketCount = 10000;

    CGraphSamples();

    void Add(float x, float y);
    void Clear();

    const std::vector<CGraphSample>& Raw() const { return m_raw; }
    const std::array<GraphBucket, kBucketCount>& Buckets() const { return m_buckets; }
    int32_t CurrentBucket() const { return m_current; }
    int32_t SamplesPerBucket() const { return m_perBucket; }

private:
    void Compact();

    std::vector<CGraphSample> m_raw;
    std::array<GraphBucket, kBucketCount> m_buckets{};
    int32_t m_current = 0;
    int32_t m_perBucket = 1;
};
