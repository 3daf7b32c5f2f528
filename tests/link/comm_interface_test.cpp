#include "link/comm_interface.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "support/scaled_timing.h"
#include "sim/sim_device.h"
#include "support/sim_connection.h"

namespace {
class CommTest : public ScaledTiming {
protected:
    explicit CommTest(unsigned divisor = 100) : ScaledTiming(divisor), m_ascii(SimSettings(m_sim)) {}
    void SetUp() override {
        ScaledTiming::SetUp();
        OpenPort(m_ascii.GetSerial());
        m_ascii.SetPortOpen(true);
    }

    std::string LastLine() const { return m_sim.GetRequests().back().line; }
    // A fault for the request `ahead` requests from now (0: the next one).
    void FaultAhead(std::size_t ahead, const SimFault& fault) {
        const std::size_t at = m_sim.GetRequestCount() + ahead;
        m_sim.InjectFault(fault, at, at);
    }
    static SimFault Reply(const std::string& line) { return SimFault::Replace({line.begin(), line.end()}); }

    CSimDevice m_sim{"K9RS"};
    CCommInterface m_ascii;
};

// The pause after a time-out at its exact length.
class CommRealTimingTest : public CommTest {
protected:
    CommRealTimingTest() : CommTest(1) {}
};

std::string FailureOf(const std::function<void()>& exchange) {
    try {
        exchange();
    } catch (const CException& e) {
        return e.what();
    }
    return "no failure";
}
}  // namespace

TEST_F(CommTest, CommandsAreFramedWithTwoDigitsAtLeast) {
    struct Case {
        std::function<void(CCommInterface&)> send;
        std::string raw;
    };
    const Case cases[] = {
        {[](CCommInterface& a) { a.SelectGroup(1); }, "G01\r"},
        {[](CCommInterface& a) { a.SelectGroup(100); }, "G100\r"},
        {[](CCommInterface& a) { a.SelectItem(5); }, "I05\r"},
        {[](CCommInterface& a) { a.SelectItem(12); }, "I12\r"},
    };
    for (const Case& c : cases) {
        c.send(m_ascii);
        const std::vector<uint8_t> raw = m_sim.GetRequests().back().raw;
        EXPECT_EQ(std::string(raw.begin(), raw.end()), c.raw);
    }
}

TEST_F(CommTest, ItemsAreReadAndWritten) {
    m_sim.SetItem(2, 7, "12.5");
    m_sim.SetItem(2, 8, "");
    m_ascii.SelectGroup(2);
    EXPECT_EQ(m_ascii.ReadItem(7), "12.5");
    EXPECT_EQ(m_ascii.ReadItem(8), "");
    EXPECT_EQ(m_ascii.WriteItem(7, "3.25", 1000), "3.25");
    EXPECT_EQ(LastLine(), "D3.25");
    EXPECT_EQ(m_sim.GetItem(2, 7), "3.25");
}

TEST_F(CommTest, WriteReplyLosesItsFirstCharacterWhateverItIs) {
    const std::pair<std::string, std::string> cases[] = {{"E12\r", "12"}, {"\r", ""}, {"X\r", ""}};
    for (const auto& [reply, expected] : cases) {
        FaultAhead(1, Reply(reply));
        EXPECT_EQ(m_ascii.WriteItem(3, "1", 1000), expected);
    }
}

TEST_F(CommTest, BadRepliesAreReported) {
    struct Case {
        const char* name;
        std::size_t ahead;
        SimFault fault;
        std::function<void(CCommInterface&)> exchange;
        const char* message;
    };
    const auto group = [](CCommInterface& a) { a.SelectGroup(1); };
    const auto read = [](CCommInterface& a) { a.ReadItem(1); };
    const auto store = [](CCommInterface& a) { a.SendAccepted("DL1.5\r", 1000); };
    const auto briefly = [](CCommInterface& a) { a.SendAccepted("D\r", 200); };
    const Case cases[] = {
        {"G answered otherwise", 0, Reply("denter item\r"), group, "Invalid G-command response."},
        {"G answered empty", 0, Reply("\r"), group, "Invalid G-command response."},
        {"I answered with E", 0, Reply("E\r"), read, "Invalid I-command response."},
        {"I answered empty", 0, Reply("\r"), read, "Invalid I-command response."},
        {"D answered otherwise", 1, Reply("X12\r"), read, "Invalid D-command response."},
        {"D answered empty", 1, Reply("\r"), read, "Invalid D-command response."},
        {"silence", 0, SimFault::Silence(), group, "Receive command response timeout."},
        {"line never ended", 1, SimFault::ShortFrame(1), read, "Receive command response timeout."},
        {"write refused", 0, Reply("E\r"), store, "The device refused the command DL1.5."},
        {"write answered empty", 0, Reply("\r"), store, "The device refused the command DL1.5."},
        // Bytes every 20 ms for 4 s, never a carriage return; they go on until the hang-up ends them.
        {"line chattering", 0,
         SimFault::Chatter(std::vector<uint8_t>(200, 'x'), std::chrono::milliseconds(20)), briefly,
         "Receive command response timeout."},
        // Last: the line stays down.
        {"hang-up", 0, SimFault::HangUp(), group,
         "Communication port SIM was disconnected or stopped working."},
    };
    // Every exchange ends within its failing command's time-out and the drain after it, as long at most.
    const auto bound = WaitMargin(std::chrono::milliseconds(
        CCommInterface::kCommandTimeout + CTiming::ToMicros(CCommInterface::kCommandTimeout) / 1000));
    for (const Case& c : cases) {
        FaultAhead(c.ahead, c.fault);
        const Stopwatch watch;
        EXPECT_EQ(FailureOf([&] { c.exchange(m_ascii); }), c.message) << c.name;
        EXPECT_LT(watch.Ms(), bound.count()) << c.name;
    }
}

TEST_F(CommTest, GroupReplyMayGoOnAfterItsPrefix) {
    FaultAhead(0, Reply("Denter item number 1-20\r"));
    EXPECT_NO_THROW(m_ascii.SelectGroup(99));
}

TEST_F(CommTest, LongActionsGetTheirLongTimeout) {
    // The device takes longer than a normal command may but well within the 10000 ms the caller grants,
    // and later still past the 1000 ms granted next, with room both ways for a descheduled thread.
    FaultAhead(1, SimFault::Late(std::chrono::milliseconds(CCommInterface::kCommandTimeout + 500)));
    EXPECT_EQ(m_ascii.WriteItem(3, "1", 10000), "1");
    FaultAhead(1, SimFault::Late(std::chrono::milliseconds(3000)));
    EXPECT_EQ(FailureOf([&] { m_ascii.WriteItem(3, "1", 1000); }), "Receive command response timeout.");
}

TEST_F(CommTest, WhatWaitsOnTheLineIsNoReplyToTheNextCommand) {
    // The line feed after a reply ended by CR LF would begin the next reply.
    FaultAhead(0, Reply("D01\r\n"));
    m_ascii.SelectItem(1);
    FaultAhead(0, Reply("D02\r"));
    EXPECT_NO_THROW(m_ascii.SelectItem(2));
}

// The device goes half-way through the drain (500 ms at least) after a command it left unanswered for
// 200 ms: the line is lost, and the end of an adjustment that follows fails at once, unsent.
TEST_F(CommRealTimingTest, ALineLostWhileDrainedIsReportedAndTakesNoMoreCommands) {
    FaultAhead(0, SimFault::HangUp(std::chrono::milliseconds(200 + CCommInterface::kPauseAfterTimeout / 2)));
    const std::string lost = "Communication port SIM was disconnected or stopped working.";
    std::string reply;
    EXPECT_EQ(FailureOf([&] { m_ascii.SendCommand("D1\r", reply, 200); }), lost);
    const Stopwatch watch;
    for (const char* command : {"G01\r", "I01\r", "D0\r"})
        EXPECT_EQ(FailureOf([&] { m_ascii.SendCommand(command, reply, 1000); }), lost) << command;
    EXPECT_LT(watch.Ms(), 100);
}

// The device answers a group selection after its time-out, while the read that follows waits for its own
// slow reply: the read must get the item, not the late "Denter item".
TEST_F(CommRealTimingTest, AReplyAfterItsTimeoutIsNotTakenForTheNextCommands) {
    m_sim.SetItem(1, 7, "12.5");
    // Past the time-out, well within the pause after it.
    FaultAhead(0, SimFault::Late(std::chrono::milliseconds(CCommInterface::kCommandTimeout + 300)));
    FaultAhead(2, SimFault::Late(std::chrono::milliseconds(600)));
    EXPECT_EQ(FailureOf([&] { m_ascii.SelectGroup(1); }), "Receive command response timeout.");
    EXPECT_EQ(m_ascii.ReadItem(7), "12.5");
}
