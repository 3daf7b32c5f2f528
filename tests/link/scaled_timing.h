#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "platform/timing.h"

// Runs a test's protocol pauses at a tenth of their length (or as given) and its time-outs at a third,
// and puts the exact timing back afterwards. Time-outs are cut less: they only run out when the device
// is silent, and a simulated device whose thread is descheduled on a loaded machine must still answer
// in time.
class ScaledTiming : public ::testing::Test {
protected:
    static constexpr unsigned kTimeoutDivisor = 3;

    explicit ScaledTiming(unsigned divisor = 10)
        : m_divisor(divisor), m_timeoutDivisor(divisor < kTimeoutDivisor ? divisor : kTimeoutDivisor) {}
    void SetUp() override { CTiming::SetDivisors(m_divisor, m_timeoutDivisor); }
    void TearDown() override { CTiming::SetDivisor(1); }

private:
    unsigned m_divisor;
    unsigned m_timeoutDivisor;
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
