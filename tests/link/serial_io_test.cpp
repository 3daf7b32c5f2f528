#include "link/serial_io.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "platform/resource_module.h"
#include "support/pty_line.h"
#include "support/scaled_timing.h"
#include "support/serial_io_fixture.h"

namespace {
std::string FailureOf(const std::function<void()>& use) {
    try {
        use();
    } catch (const CException& e) {
        return e.what();
    }
    return "no failure";
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
        EXPECT_STREQ(e.what(),
                     "Communication port Zenta port can not be opened. It is already in use, by another "
                     "program or by a connection of "
                     "this one. Close that program or disconnect, or choose another port in Settings.");
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
        {"/dev/does-not-exist", "COM9",
         "Communication port COM9 does not exist. Check that the cable or adapter is plugged in, or choose "
         "another port in Settings."},
        {"/dev/does-not-exist", "",
         "Communication port /dev/does-not-exist does not exist. Check that the cable or adapter is plugged "
         "in, or choose another port in Settings."},
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
        {"drain", [](CSerialIO& port) { port.DrainUntilQuiet(500, 100, 3000); }},
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
        // Each case ends in a time-out; its length is not what is tested here.
        port->SetReadTimeout(200);
        line.Send(c.sent);
        // Once the first line is in, the rest has come too: read with no wait at all, past its deadline.
        for (const std::string& expected : c.lines) {
            EXPECT_EQ(port->ReadLine(), expected);
            port->SetReadTimeout(5);
        }
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
