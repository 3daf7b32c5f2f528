#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "platform/timing.h"

// Runs a test's protocol pauses at a tenth of their length (or as given) and puts the exact timing back
// afterwards. Time-outs keep their exact length: they only run out when the device is silent, and a
// simulated device whose thread a loaded machine deschedules for a while must still answer in time.
class ScaledTiming : public ::testing::Test {
protected:
    explicit ScaledTiming(unsigned divisor = 10) : m_divisor(divisor) {}
    void SetUp() override { CTiming::SetDivisor(m_divisor); }
    void TearDown() override { CTiming::SetDivisor(1); }

private:
    unsigned m_divisor;
};

// Wall-clock milliseconds since construction.
class Stopwatch {
public:
    long long Ms() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
