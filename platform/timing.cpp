#include "platform/timing.h"

#include <poll.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>

namespace {
std::atomic<unsigned> g_divisor{1};

timespec ToTimespec(int64_t micros) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(micros / 1000000);
    ts.tv_nsec = static_cast<long>((micros % 1000000) * 1000);
    return ts;
}

int64_t NowMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Polls until one of the descriptors is ready or the time is up; EINTR restarts with the time left.
int PollFor(pollfd* fds, nfds_t count, int64_t micros) {
    const int64_t end = NowMicros() + micros;
    for (;;) {
        const int64_t left = end - NowMicros();
        if (left <= 0) return 0;
        timespec ts = ToTimespec(left);
        const int rc = ppoll(fds, count, &ts, nullptr);
        if (rc >= 0 || errno != EINTR) return rc;
    }
}
}  // namespace

void CTiming::SetDivisor(unsigned divisor) { g_divisor.store(divisor == 0 ? 1 : divisor); }

int64_t CTiming::ToMicros(unsigned ms) { return int64_t{ms} * 1000 / g_divisor.load(); }

bool CTiming::Sleep(unsigned ms, int wakeFd) {
    pollfd fd{wakeFd, POLLIN, 0};
    // A negative descriptor is ignored by poll, so the same call serves a plain sleep.
    PollFor(&fd, 1, ToMicros(ms));
    return (fd.revents & POLLIN) == 0;
}

int CTiming::WaitReadable(int fd, int wakeFd, int64_t micros) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    const int rc = PollFor(fds, 2, micros);
    if (fds[1].revents & POLLIN) return -1;
    if (rc <= 0) return 0;
    return fds[0].revents;
}
