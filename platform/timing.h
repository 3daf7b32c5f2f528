#pragma once

#include <cstdint>

// Every fixed pause and time-out of the device protocols goes through this one object, so that tests
// can run whole exchanges scaled down. Durations are given in the protocol's own milliseconds;
// production runs at divisor 1, the exact values.
class CTiming {
public:
    // Divides every duration that follows (1 = exact). Set by tests before any exchange starts.
    static void SetDivisor(unsigned divisor);
    static unsigned GetDivisor();

    // Real microseconds that `ms` protocol milliseconds take.
    static int64_t ToMicros(unsigned ms);

    // Pauses `ms`. When `wakeFd` (an eventfd or pipe end, -1 for none) becomes readable the pause ends
    // at once and false is returned.
    static bool Sleep(unsigned ms, int wakeFd = -1);

    // Waits up to `micros` real microseconds for `fd` to become readable. Returns the poll events of
    // `fd` (0 on time-out), or -1 when `wakeFd` became readable first.
    static int WaitReadable(int fd, int wakeFd, int64_t micros);

    // Protocol milliseconds since an arbitrary start, counting as the pauses above do.
    static uint64_t GetTickCount();
};
