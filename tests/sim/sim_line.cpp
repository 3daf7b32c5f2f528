#include "sim/sim_line.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

CSimLine::CSimLine(const std::string& path) {
    m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) throw std::runtime_error(path + ": " + std::strerror(errno));
}

CSimLine::~CSimLine() { close(m_fd); }

void CSimLine::Write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EAGAIN && errno != EINTR) throw std::runtime_error(std::strerror(errno));
        if (n < 0) {
            pollfd fd = {m_fd, POLLOUT, 0};
            poll(&fd, 1, 100);
            continue;
        }
        done += static_cast<size_t>(n);
    }
}

void CSimLine::Write(const std::string& text) { Write(std::vector<uint8_t>(text.begin(), text.end())); }

bool CSimLine::WaitReadable(std::chrono::steady_clock::time_point deadline, bool* hungUp) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline -
                                                                       std::chrono::steady_clock::now());
        if (left.count() < 0) return false;
        pollfd fd = {m_fd, POLLIN, 0};
        const int ready = poll(&fd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        if (fd.revents & POLLIN) return true;
        if (hungUp) *hungUp = true;
        return false;
    }
}

std::vector<uint8_t> CSimLine::Read(size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<uint8_t> bytes;
    while (bytes.size() < count && WaitReadable(deadline, nullptr)) {
        uint8_t buffer[512];
        const size_t want = std::min(sizeof buffer, count - bytes.size());
        const ssize_t n = read(m_fd, buffer, want);
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

std::string CSimLine::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string line;
    while (line.empty() || line.back() != '\r') {
        if (!WaitReadable(deadline, nullptr)) break;
        char c = 0;
        if (read(m_fd, &c, 1) != 1) break;
        line.push_back(c);
    }
    return line;
}

bool CSimLine::WaitHangUp(std::chrono::milliseconds timeout) {
    bool hungUp = false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!hungUp) {
        if (WaitReadable(deadline, &hungUp)) {
            uint8_t buffer[256];
            if (read(m_fd, buffer, sizeof buffer) <= 0) return true;
        } else if (!hungUp) {
            return false;
        }
    }
    return true;
}
