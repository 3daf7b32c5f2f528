#pragma once

#include <cstdint>

// Every fixed pause and time-out of the device protocols goes through this one object, so that tests
// can run whole exchanges with their pauses scaled down. Durations are given in the protocol's own
// milliseconds; production runs at divisor 1, the exact values.
//
// Time-outs always keep their exact length. A pause is taken in full, so it sets how long an exchange
// lasts; a time-out only runs out when the other end is silent, and it must leave a device served by
// another thread room to answer even when a loaded machine deschedules that thread for a while.
class CTiming {
public:
    // Divides every pause (1 = exact). Set by tests before any exchange starts.
    static void SetDivisor(unsigned divisor);

    // Real microseconds that a pause of `ms` protocol milliseconds takes.
    static int64_t ToMicros(unsigned ms);
    // Real microseconds that a time-out of `ms` protocol milliseconds allows.
    static int64_t TimeoutToMicros(unsigned ms) { return int64_t{ms} * 1000; }

    // Pauses `ms`. When `wakeFd` (an eventfd or pipe end, -1 for none) becomes readable the pause ends
    // at once and false is returned.
    static bool Sleep(unsigned ms, int wakeFd = -1);

    // Waits up to `micros` real microseconds for `fd` to become readable. Returns the poll events of
    // `fd` (0 on time-out), or -1 when `wakeFd` became readable first.
    static int WaitReadable(int fd, int wakeFd, int64_t micros);
};
