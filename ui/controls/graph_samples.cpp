#include "ui/controls/graph_samples.h"

#include <algorithm>

static_assert(sizeof(CGraphSample) == 8 && sizeof(GraphBucket) == 16, "a long recording must stay small");

CGraphSamples::CGraphSamples() = default;

void CGraphSamples::Add(float x, float y) {
    m_raw.push_back({x, y});
    if (m_buckets[m_current].count >= m_perBucket) {
        ++m_current;
        if (m_current >= kBucketCount) Compact();
    }
    GraphBucket& bucket = m_buckets[m_current];
    const int32_t n = bucket.count;
    bucket.meanX = (static_cast<float>(n) * bucket.meanX + x) / static_cast<float>(n + 1);
    if (n == 0) {
        bucket.minY = y;
        bucket.maxY = y;
    } else {
        bucket.minY = std::min(bucket.minY, y);
        bucket.maxY = std::max(bucket.maxY, y);
    }
    bucket.count = n + 1;
}

void CGraphSamples::Compact() {
    constexpr int32_t half = kBucketCount / 2;
    for (int32_t j = 0; j < half; ++j) {
        const GraphBucket& a = m_buckets[2 * j];
        const GraphBucket& b = m_buckets[2 * j + 1];
        const int32_t count = a.count + b.count;
        const float meanX = (static_cast<float>(a.count) * a.meanX + static_cast<float>(b.count) * b.meanX) /
                            static_cast<float>(count);
        m_buckets[j] = {count, meanX, std::min(a.minY, b.minY), std::max(a.maxY, b.maxY)};
    }
    std::fill(m_buckets.begin() + half, m_buckets.end(), GraphBucket{});
    m_current = half;
    m_perBucket = m_buckets[0].count;
}

void CGraphSamples::Clear() {
    m_raw.clear();
    m_buckets.fill(GraphBucket{});
    m_current = 0;
    m_perBucket = 1;
}
