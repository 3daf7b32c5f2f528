#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>

#include "link/com_settings.h"
#include "link/modbus_interface.h"
#include "platform/timing.h"

// Runs a test's protocol pauses at a hundredth of their length (or as given) and puts the exact timing back
// afterwards. Time-outs keep their exact length: they only run out when the device is silent, and a
// simulated device whose thread a loaded machine deschedules for a while must still answer in time.
class ScaledTiming : public ::testing::Test {
protected:
    explicit ScaledTiming(unsigned divisor = 100) : m_divisor(divisor) {}
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

// The program's own line speed (1200 bit/s), the slowest the settings know.
inline unsigned ProgramBaudRate() { return CComSettings::BaudRate(CComSettings("", "").m_baudIndex); }

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

// The longest a Modbus request can last before it fails against a silent device on the program's own
// line: six attempts.
inline std::chrono::milliseconds SilentRequestTime(std::size_t requestLength = 6,
                                                   std::size_t replyLength = 11) {
    return CModbusInterface::kAttempts * SilentAttemptTime(ProgramBaudRate(),
                                                           CModbusInterface::kDeviceAllowance, requestLength,
                                                           replyLength);
}

// The Modbus device allowance of a test that is not about the time-out's length: as long as a read of
// four registers (a request of 6 bytes and a reply of 11, without CRC) takes on the program's own line.
// The simulated device answers at once, so that is ample for one whose thread a loaded machine
// deschedules for a while, and a silent device costs far less than with the program's allowance.
inline const unsigned kShortDeviceAllowance = CModbusInterface::ReplyTimeout(6, 11, ProgramBaudRate(), 0);

// How long a test waits for something that takes at most `expected`: twice that and a second more, so
// that a loaded machine stretching the run does not fail a test, while a hang still does.
inline std::chrono::milliseconds WaitMargin(std::chrono::milliseconds expected) {
    return 2 * expected + std::chrono::seconds(1);
}
