// The real program in a process of its own against the simulated device, with a scripted user: what the
// outside world's signals do to it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "link/modbus_interface.h"
#include "model/set/par_type_v.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "ui/main/main_dialog_support.h"
#include "ui/ui_test_support.h"

extern char** environ;

namespace {
using namespace std::chrono_literals;

// Long enough for the program to start, connect and run its script on a loaded machine.
constexpr auto kScriptTime = 60s;
const char* const kLoopTestHold = "Connect|tab:Loop Test|Fixed Out";

// The scripted program with `script` (see tests/process), its standard error in `errors`. Ended when
// the test ends, whatever the test's assertions did.
class CProgram {
public:
    CProgram(const std::string& script, const std::string& errors, bool hangUpIgnored = false) {
        std::vector<std::string> variables{"BRIMLOW_SCRIPT=" + script};
        for (char** entry = environ; *entry != nullptr; ++entry) variables.emplace_back(*entry);
        std::vector<char*> envp;
        for (std::string& variable : variables) envp.push_back(variable.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        // An ignored signal is inherited as ignored, as nohup hands it on.
        struct sigaction ignore {};
        struct sigaction previous {};
        ignore.sa_handler = SIG_IGN;
        if (hangUpIgnored) sigaction(SIGHUP, &ignore, &previous);
        char* const argv[] = {const_cast<char*>(BRIMLOW_SCRIPTED_PROGRAM), nullptr};
        m_spawned = posix_spawn(&m_pid, BRIMLOW_SCRIPTED_PROGRAM, &actions, nullptr, argv, envp.data()) == 0;
        if (hangUpIgnored) sigaction(SIGHUP, &previous, nullptr);
        posix_spawn_file_actions_destroy(&actions);
        if (m_spawned) m_pidfd = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
    }
    ~CProgram() {
        if (m_spawned && !m_ended) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &m_status, 0);
        }
        if (m_pidfd >= 0) close(m_pidfd);
    }
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    bool Running() const { return m_spawned && m_pidfd >= 0 && !m_ended; }
    void Signal(int signal) const { kill(m_pid, signal); }
    // Whether the program ended within `timeout`; its wait status is Status() then.
    bool WaitEnd(std::chrono::milliseconds timeout) {
        if (!Running()) return m_ended;
        pollfd ended{m_pidfd, POLLIN, 0};
        if (poll(&ended, 1, static_cast<int>(timeout.count())) != 1) return false;
        waitpid(m_pid, &m_status, 0);
        m_ended = true;
        return true;
    }
    bool ExitedCleanly() const { return m_ended && WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0; }
    int Status() const { return m_status; }

private:
    pid_t m_pid = 0;
    int m_pidfd = -1;
    bool m_spawned = false;
    bool m_ended = false;
    int m_status = 0;
};

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ProgramProcess : public ::testing::Test {
protected:
    std::string Errors() const { return m_profile.Directory() + "/stderr.txt"; }

    CTemporaryProfile m_profile;
};
}  // namespace

// A download runs to its end, an upload is cut short, and the output the program held (by the download,
// or by the loop test while an upload runs) is released on its device before the process ends with
// status 0.
TEST_F(ProgramProcess, ATerminationSignalDuringATransferReleasesTheProgramsHoldAndExitsCleanly) {
    const struct {
        const char* label;
        const char* script;
        // The request behind which the device holds the transfer in flight.
        CGate::Watch inFlight;
    } cases[] = {
        {"download", "Connect|Unlock|< Download", IsHoldWrite},
        // Live polls never read the model code; the upload after the loop test's hold begins with it.
        {"upload", "Connect|tab:Loop Test|Fixed Out|Upload >",
         [held = false, closed = false](const SimRequest& r) mutable {
             held = held || IsHoldWrite(r);
             const bool upload = held && !closed && r.kind == ESimRequestKind::Read &&
                                 r.start == kRegModelCode;
             closed = closed || upload;
             return upload;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CProfiledSim device("K9RS");
        CGate gate(device.sim, c.inFlight);
        CProgram program(c.script, Errors());
        ASSERT_TRUE(program.Running());
        ASSERT_TRUE(gate.WaitHolding(kScriptTime));
        EXPECT_NE(device.sim.GetRegister(COutputHold::kRegOutputHold), 0);
        program.Signal(SIGTERM);
        gate.Open();
        ASSERT_TRUE(program.WaitEnd(kScriptTime));
        EXPECT_TRUE(program.ExitedCleanly()) << program.Status();
        EXPECT_EQ(device.sim.GetRegister(COutputHold::kRegOutputHold), 0);
        // A download writes its parameters after it has held the output; an upload is cut short.
        const std::vector<SimRequest> requests = device.sim.GetRequests();
        const auto held = std::find_if(requests.begin(), requests.end(), IsHoldWrite);
        const bool wroteOn = std::any_of(held, requests.end(), [](const SimRequest& r) {
            return r.kind == ESimRequestKind::Write && r.start != COutputHold::kRegOutputHold;
        });
        EXPECT_EQ(wroteOn, c.label == std::string("download"));
    }
}

// The first signal waits for the release on a device that has gone silent, or for a download to end, or
// for the device to take the loop test's hold; a second one does not: the process ends at once, by a
// signal, and says what it leaves behind.
TEST_F(ProgramProcess, ASecondSignalEndsTheProcessAtOnceAndSaysWhatMayBeLeft) {
    const struct {
        const char* label;
        const char* script;
        // The request behind which the device stalls: from then on the program waits on it.
        CGate::Watch stall;
        // It comes with the first signal's answer, not before any signal.
        bool answering;
        unsigned said;
    } cases[] = {
        // The release reads the serial number alone (an identification reads it with the hardware
        // version); the write of 0 behind it meets the closed gate.
        {"release", kLoopTestHold,
         [](const SimRequest& r) {
             return r.kind == ESimRequestKind::Read && r.start == CParTypeV::kRegSerial &&
                    r.count == CParTypeV::kSerialLength;
         },
         true, kStrHoldNotReleased},
        {"loop test", kLoopTestHold, IsHoldWrite, false, kStrHoldNotReleased},
        {"download", "Connect|Unlock|< Download", IsHoldWrite, false, kStrDownloadCut},
    };
    // The release alone would go on for its five further attempts, each one reply time-out long.
    const auto oneAttempt = std::chrono::milliseconds(CModbusInterface::ReplyTimeout(
        CModbusInterface::WriteRequest(1, COutputHold::kRegOutputHold, 1, std::vector<uint16_t>{0}.data())
            .size(),
        6, 1200));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CProfiledSim device("K9RS");
        CGate gate(device.sim, c.stall);
        CProgram program(c.script, Errors());
        ASSERT_TRUE(program.Running());
        if (c.answering) {
            ASSERT_TRUE(PumpUntil([&] { return device.sim.GetRegister(COutputHold::kRegOutputHold) != 0; },
                                  kScriptTime));
            program.Signal(SIGTERM);
        }
        ASSERT_TRUE(gate.WaitHolding(kScriptTime));
        // Signals of two kinds: a second SIGTERM pending beside the first would be taken as one.
        if (!c.answering) program.Signal(SIGTERM);
        program.Signal(SIGINT);
        ASSERT_TRUE(program.WaitEnd(oneAttempt));
        EXPECT_TRUE(WIFSIGNALED(program.Status())) << program.Status();
        const std::string errors = FileText(Errors());
        EXPECT_NE(errors.find("brimlow: " + LoadString(c.said) + "\n"), std::string::npos) << errors;
    }
}

// Started with the hang-up ignored (nohup), the program keeps it ignored and goes on polling.
TEST_F(ProgramProcess, AHangUpThatWasIgnoredAtTheStartStaysIgnored) {
    CProfiledSim device("K9RS");
    CProgram program("Connect", Errors(), true);
    ASSERT_TRUE(program.Running());
    ASSERT_TRUE(device.sim.WaitForRequests(1, kScriptTime));
    program.Signal(SIGHUP);
    // A program that took the hang-up would have let go of the device by the third poll from now.
    const std::size_t before = device.sim.GetRequestCount();
    EXPECT_TRUE(device.sim.WaitForRequests(before + 3, kScriptTime));
    EXPECT_FALSE(program.WaitEnd(0ms));
    program.Signal(SIGTERM);
    ASSERT_TRUE(program.WaitEnd(kScriptTime));
    EXPECT_TRUE(program.ExitedCleanly()) << program.Status();
}
