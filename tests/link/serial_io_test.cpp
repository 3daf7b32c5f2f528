#include "link/serial_io.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/exception.h"
#include "platform/resource_module.h"
#include "support/pty_line.h"
#include "support/scaled_timing.h"

namespace {
// A read takes no pause but its 10 ms wait steps, so these run at the exact timing: a time-out below one
// step then means no wait step at all.
class SerialIOTest : public ScaledTiming {
protected:
    SerialIOTest() : ScaledTiming(1) {}
};

std::unique_ptr<CSerialIO> OpenOn(const PtyLine& line) {
    auto port = std::make_unique<CSerialIO>(CComSettings(line.Path(), "Line"));
    port->Open();
    return port;
}

std::string FailureOf(const std::function<void()>& use) {
    try {
        use();
    } catch (const CException& e) {
        return e.what();
    }
    return "no failure";
}

std::string ReadString(CSerialIO& port, unsigned count) {
    std::vector<uint8_t> buffer(count);
    const unsigned n = port.Read(buffer.data(), count);
    return std::string(buffer.begin(), buffer.begin() + n);
}
}  // namespace

TEST_F(SerialIOTest, OpenIsExclusiveUntilClosed) {
    PtyLine line;
    CSerialIO first(CComSettings(line.Path(), "Zenta port"));
    CSerialIO second(CComSettings(line.Path(), "Zenta port"));
    first.Open();
    try {
        second.Open();
        FAIL() << "second open succeeded";
    } catch (const CException& e) {
        EXPECT_STREQ(e.what(), "Communication port Zenta port can not be opened.");
    }
    EXPECT_FALSE(second.IsOpen());
    first.Close();
    EXPECT_NO_THROW(second.Open());
    EXPECT_TRUE(second.IsOpen());
}

TEST_F(SerialIOTest, OpenFailuresAreReported) {
    struct Case {
        const char* path;
        const char* display;
        const char* message;
    };
    const Case cases[] = {
        {"/dev/does-not-exist", "COM9", "Communication port COM9 can not be opened."},
        {"/dev/does-not-exist", "", "Communication port /dev/does-not-exist can not be opened."},
        {"/dev/null", "null", "Communication port can not be change settings."},
    };
    for (const Case& c : cases) {
        CSerialIO port(CComSettings(c.path, c.display));
        try {
            port.Open();
            ADD_FAILURE() << c.path << " opened";
        } catch (const CException& e) {
            EXPECT_STREQ(e.what(), c.message) << c.path;
        }
    }
}

TEST_F(SerialIOTest, ConfigureAcceptsOnlyWhatTheLineCanDo) {
    PtyLine line;
    CSerialIO port(CComSettings(line.Path(), "Line"));
    port.OpenPort();
    struct Case {
        unsigned baud;
        int32_t bits;
        int32_t parity;
        int32_t stop;
        bool ok;
    };
    const Case cases[] = {
        {1200, 8, CComSettings::kParityOdd, CComSettings::kOneStopBit, true},
        {38400, 7, CComSettings::kParityNone, CComSettings::kTwoStopBits, true},
        {9600, 8, CComSettings::kParityEven, CComSettings::kOneStopBit, true},
        {1200, 8, CComSettings::kParityMark, CComSettings::kOneStopBit, true},
        {1200, 8, CComSettings::kParitySpace, CComSettings::kOneStopBit, true},
        {1200, 8, 5, CComSettings::kOneStopBit, false},
        {1200, 8, -1, CComSettings::kOneStopBit, false},
        {1200, 6, CComSettings::kParityOdd, CComSettings::kOneStopBit, false},
        {1234, 8, CComSettings::kParityOdd, CComSettings::kOneStopBit, false},
        {1200, 8, CComSettings::kParityOdd, 1, false},
    };
    for (const Case& c : cases) {
        if (c.ok) {
            EXPECT_NO_THROW(port.Configure(c.baud, c.bits, c.parity, c.stop)) << c.baud << " " << c.parity;
        } else {
            EXPECT_THROW(port.Configure(c.baud, c.bits, c.parity, c.stop), CException)
                << c.baud << " " << c.parity;
        }
    }
}

TEST_F(SerialIOTest, ClosedPortRefusesTheReadTimeoutAndReadsNothing) {
    CSerialIO port(CComSettings("/dev/null", ""));
    EXPECT_THROW(port.SetReadTimeout(500), CException);
    EXPECT_EQ(port.GetReadTimeout(), 500u);
    uint8_t byte = 0;
    EXPECT_EQ(port.Read(&byte, 1), 0u);
}

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
        std::thread sender;
        if (!c.later.empty()) {
            sender = std::thread([&line, &c] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.delay));
                line.Send(c.later);
            });
        }
        const Stopwatch watch;
        EXPECT_EQ(ReadString(*port, c.count), c.expected) << c.name;
        const long long ms = watch.Ms();
        EXPECT_GE(ms, c.minMs) << c.name;
        EXPECT_LE(ms, c.maxMs) << c.name;
        if (sender.joinable()) sender.join();
    }
}

TEST_F(SerialIOTest, ReadLeavesTheRestForTheNextRead) {
    PtyLine line;
    const auto port = OpenOn(line);
    line.Send("123456");
    EXPECT_EQ(ReadString(*port, 4), "1234");
    EXPECT_EQ(ReadString(*port, 4), "56");
}

TEST_F(SerialIOTest, HungUpLineFailsAtOnceUntilOpenedAgain) {
    const std::string lost = "Communication port Line was disconnected or stopped working.";
    struct Case {
        const char* name;
        std::function<void(CSerialIO&)> use;
    };
    const Case cases[] = {
        {"read", [](CSerialIO& port) { ReadString(port, 5); }},
        {"line", [](CSerialIO& port) { port.ReadLine(); }},
        {"write", [](CSerialIO& port) { port.Write("G01\r", 4); }},
    };
    for (const Case& c : cases) {
        PtyLine line;
        const auto port = OpenOn(line);
        port->SetReadTimeout(3000);
        line.HangUp();
        for (int time = 0; time < 2; ++time) {
            const Stopwatch watch;
            EXPECT_EQ(FailureOf([&] { c.use(*port); }), lost) << c.name << " " << time;
            // Far below the read time-out: the hang-up ends the wait, not the clock.
            EXPECT_LT(watch.Ms(), 1000) << c.name;
        }
        EXPECT_TRUE(port->IsLineLost()) << c.name;
        port->Close();
        EXPECT_FALSE(port->IsLineLost()) << c.name;
    }
}

TEST_F(SerialIOTest, ReadLineCases) {
    const std::string timeout = LoadString(300);
    struct Case {
        std::string sent;
        std::vector<std::string> lines;  // read in turn, then one more ReadLine must time out
    };
    const Case cases[] = {
        {"abc\r", {"abc"}}, {"abc\r\nD1\r", {"abc", "\nD1"}},
        {"\r\r", {"", ""}}, {std::string(1024, 'a') + "\r", {std::string(1024, 'a')}},
        {"no end", {}},     {"", {}},
    };
    for (const Case& c : cases) {
        PtyLine line;
        const auto port = OpenOn(line);
        port->SetReadTimeout(1000);
        line.Send(c.sent);
        for (const std::string& expected : c.lines) EXPECT_EQ(port->ReadLine(), expected);
        try {
            port->ReadLine();
            ADD_FAILURE() << "a line after " << c.sent.size() << " bytes";
        } catch (const CException& e) {
            EXPECT_EQ(e.what(), timeout);
        }
    }
}

TEST_F(SerialIOTest, EndlessLineIsCutOff) {
    PtyLine line;
    const auto port = OpenOn(line);
    port->SetReadTimeout(10000);
    line.Send(std::string(2000, 'x'));
    const Stopwatch watch;
    try {
        port->ReadLine();
        FAIL() << "no error";
    } catch (const CException& e) {
        EXPECT_EQ(e.what(), LoadString(300));
    }
    // Cut off at the limit, not after waiting out the time-out behind the last byte.
    EXPECT_LT(watch.Ms(), 1000);
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
