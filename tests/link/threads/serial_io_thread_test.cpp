#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "link/serial_io.h"
#include "support/pty_line.h"
#include "support/scaled_timing.h"
#include "support/serial_io_fixture.h"

// Reads and drains with bytes sent from another thread while they wait.
TEST_F(SerialIOTest, ReadTimingPaths) {
    // Time-outs run at their exact length. Upper bounds sit well short of the time-out they rule out,
    // so a descheduled thread does not make them miss.
    struct Case {
        const char* name;
        std::string before;  // on the line when the read starts
        std::string later;   // sent after `delay`
        int delay;
        unsigned timeout;  // protocol milliseconds
        unsigned count;
        std::string expected;
        long long minMs;
        long long maxMs;
    };
    const Case cases[] = {
        {"burst", "12345", "", 0, 10000, 5, "12345", 0, 1500},
        {"count reached", "123456", "", 0, 10000, 4, "1234", 0, 1500},
        {"gap after first bytes", "123", "", 0, 10000, 5, "123", 95, 2500},
        {"first byte late", "", "12345", 300, 10000, 5, "12345", 295, 5000},
        {"silence", "", "", 0, 1000, 5, "", 990, 4000},
        // No wait step at all: bytes already waiting are still read.
        {"waiting data, time-out below one step", "12", "", 0, 5, 2, "12", 0, 1500},
    };
    for (const Case& c : cases) {
        PtyLine line;
        const auto port = OpenOn(line);
        // The pty hands written bytes on asynchronously; reading a marker byte first makes sure the
        // bytes sent with it are waiting when the timed read starts.
        line.Send("#" + c.before);
        ASSERT_EQ(ReadString(*port, 1), "#");
        port->SetReadTimeout(c.timeout);
        // Started first, so the sender's delay lies wholly inside what is measured.
        const Stopwatch watch;
        std::thread sender;
        if (!c.later.empty()) {
            sender = std::thread([&line, &c] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.delay));
                line.Send(c.later);
            });
        }
        EXPECT_EQ(ReadString(*port, c.count), c.expected) << c.name;
        const long long ms = watch.Ms();
        EXPECT_GE(ms, c.minMs) << c.name;
        EXPECT_LE(ms, c.maxMs) << c.name;
        if (sender.joinable()) sender.join();
    }
}

TEST_F(SerialIOTest, DrainWaitsForAQuietLineWithinItsBounds) {
    struct Case {
        const char* name;
        int chatterMs;  // a byte every 20 ms for this long
        unsigned minimum, quiet, limit;
        long long minMs;
        long long maxMs;
    };
    const Case cases[] = {
        {"silent line takes the minimum", 0, 300, 50, 3000, 295, 1500},
        {"silent line without minimum takes one quiet gap", 0, 0, 200, 3000, 195, 1500},
        {"chatter, then one quiet gap", 400, 0, 100, 3000, 450, 2500},
        {"endless chatter ends at the limit", 3000, 0, 100, 300, 295, 1500},
    };
    for (const Case& c : cases) {
        PtyLine line;
        const auto port = OpenOn(line);
        std::atomic<bool> stop{false};
        std::thread sender([&] {
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(c.chatterMs);
            while (!stop && std::chrono::steady_clock::now() < end) {
                line.Send("x");
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        const Stopwatch watch;
        port->DrainUntilQuiet(c.minimum, c.quiet, c.limit);
        const long long ms = watch.Ms();
        stop = true;
        sender.join();
        EXPECT_GE(ms, c.minMs) << c.name;
        EXPECT_LE(ms, c.maxMs) << c.name;
        // Unless the limit cut it short, nothing that came in is left to read.
        if (static_cast<unsigned>(c.chatterMs) < c.limit) {
            port->SetReadTimeout(0);
            EXPECT_EQ(ReadString(*port, 1), "") << c.name;
        }
    }
}
