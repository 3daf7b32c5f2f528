#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>

#include "link/modbus_interface.h"
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
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// The longest one attempt of a Modbus request can last at a silent device, with the pauses as now scaled:
// its reply time-out at `baudRate` with `deviceAllowance`, which keeps its length, and the pauses of the
// attempt (10 + 101 + 500 + 101 ms at the exact timing and 1200 bit/s, allowed a full second).
inline std::chrono::milliseconds SilentAttemptTime(
    unsigned baudRate, unsigned deviceAllowance = CModbusInterface::kDeviceAllowance,
    std::size_t requestLength = 6, std::size_t replyLength = 11) {
    constexpr unsigned kPausesPerAttempt = 1000;
    const int64_t attempt = CTiming::TimeoutToMicros(CModbusInterface::ReplyTimeout(
                                requestLength, replyLength, baudRate, deviceAllowance)) +
                            CTiming::ToMicros(kPausesPerAttempt);
    return std::chrono::ceil<std::chrono::milliseconds>(std::chrono::microseconds(attempt));
}

// The longest a Modbus request can last before it fails against a silent device at 1200 bit/s: six
// attempts.
inline std::chrono::milliseconds SilentRequestTime(std::size_t requestLength = 6,
                                                   std::size_t replyLength = 11) {
    constexpr unsigned kSlowestBaud = 1200;
    return CModbusInterface::kAttempts *
           SilentAttemptTime(kSlowestBaud, CModbusInterface::kDeviceAllowance, requestLength, replyLength);
}

// The Modbus device allowance of a test that is not about the time-out's length: short, yet ample for a
// simulated device whose thread a loaded machine deschedules for a while.
inline constexpr unsigned kShortDeviceAllowance = 300;

// How long a test waits for something that takes at most `expected`: twice that and a second more, so
// that a loaded machine stretching the run does not fail a test, while a hang still does.
inline std::chrono::milliseconds WaitMargin(std::chrono::milliseconds expected) {
    return 2 * expected + std::chrono::seconds(1);
}
