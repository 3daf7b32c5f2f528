#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The program's end of the simulated line in its plainest form, for tests that check the device's
// bytes themselves: opens the pty slave, writes whole frames and reads with a deadline.
class CSimLine {
public:
    // Throws std::runtime_error when the path cannot be opened.
    explicit CSimLine(const std::string& path);
    ~CSimLine();
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    void Write(const std::vector<uint8_t>& bytes);
    void Write(const std::string& text);
    // Reads until `count` bytes have come or the time-out has run out; returns what came.
    std::vector<uint8_t> Read(size_t count, std::chrono::milliseconds timeout);
    // Reads up to and including the first carriage return, or what came before the time-out.
    std::string ReadLine(std::chrono::milliseconds timeout);
    // True when the device side has hung up: a read gives end of file or an error and no data.
    bool WaitHangUp(std::chrono::milliseconds timeout);

private:
    // Waits for input; false when the deadline passed or the line hung up without data.
    bool WaitReadable(std::chrono::steady_clock::time_point deadline, bool* hungUp);

    int m_fd = -1;
};
