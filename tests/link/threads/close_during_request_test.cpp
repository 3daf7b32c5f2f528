#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "platform/exception.h"
#include "platform/timing.h"
#include "sim/sim_device.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "support/thrown_message.h"

// Closing a port while another thread waits on the silent device: the close returns at once, the
// request fails with its normal message, and nothing reaches the descriptor number the port had.
// The closes run at the exact protocol timing, where one silent request would last about 17 seconds.
// Last, a user's request cutting in on another thread's sequence.

namespace {
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A scratch file opened right after the close, so that it most likely takes the freed descriptor.
class ScratchFile {
public:
    ScratchFile() {
        char pattern[] = "/tmp/closetest.XXXXXX";
        m_fd = mkstemp(pattern);
        m_path = pattern;
    }
    ~ScratchFile() {
        ::close(m_fd);
        ::unlink(m_path.c_str());
    }
    long long Size() const {
        struct stat st {};
        return fstat(m_fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
    }

private:
    int m_fd = -1;
    std::string m_path;
};

const std::chrono::milliseconds kArrival(5000);

// A Modbus master connected to a device that has stopped answering, at the exact protocol timing.
struct SilentModbus {
    SilentModbus() {
        CTiming::SetDivisor(1);
        sim.StopAnsweringAfter(0);
        modbus.GetSerial().Open();
        modbus.SetConnected(true);
    }
    CSimDevice sim{"K9RS"};
    CModbusInterface modbus{CComSettings(sim.GetSlavePath(), "SIM")};
};
}  // namespace

TEST(CloseDuringRequest, ModbusCloseEndsASilentRead) {
    SilentModbus line;
    CSimDevice& sim = line.sim;
    CModbusInterface& modbus = line.modbus;

    std::string failure;
    Clock::time_point failedAt;
    std::thread worker([&] {
        std::unique_lock lock(modbus.GetMutex());
        uint16_t values[4] = {};
        try {
            modbus.ReadHoldingRegister(2074, 4, values);
        } catch (const CException& e) {
            failure = e.what();
        }
        failedAt = Clock::now();
    });
    ASSERT_TRUE(sim.WaitForRequests(1, kArrival));

    const Clock::time_point start = Clock::now();
    modbus.Close();
    const long long closeMs = MsSince(start);
    ScratchFile scratch;
    worker.join();

    EXPECT_LT(closeMs, 500);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(failedAt - start).count(), 500);
    EXPECT_EQ(failure,
              "Modbus command failed. command=ReadHoldingRegister address=2075 size=4 reason=timeout.");
    EXPECT_FALSE(modbus.IsConnected());
    EXPECT_EQ(sim.GetRequestCount(), 1u);
    EXPECT_EQ(scratch.Size(), 0);
}

TEST(CloseDuringRequest, AsciiCloseEndsALongWait) {
    CTiming::SetDivisor(1);
    CSimDevice sim("K9RS");
    sim.StopAnsweringAfter(0);
    CCommInterface ascii(CComSettings(sim.GetSlavePath(), "SIM"));
    ascii.GetSerial().Open();
    ascii.SetPortOpen(true);

    std::string failure;
    std::thread worker([&] {
        std::unique_lock lock(ascii.GetMutex());
        std::string reply;
        try {
            ascii.SendCommand("D99\r", reply, 10000);
        } catch (const CException& e) {
            failure = e.what();
        }
    });
    ASSERT_TRUE(sim.WaitForRequests(1, kArrival));
    const Clock::time_point start = Clock::now();
    ascii.Close();
    worker.join();
    EXPECT_LT(MsSince(start), 500);
    EXPECT_EQ(failure, "Receive command response timeout.");
    EXPECT_FALSE(ascii.IsPortOpen());
}

TEST(CloseDuringRequest, ReconnectCutsTheRequestShortBeforeReopening) {
    CTiming::SetDivisor(1);
    CSimDevice sim("K9RS");
    sim.StopAnsweringAfter(0);
    CModbusInterface modbus(CComSettings(sim.GetSlavePath(), "SIM"));
    modbus.Connect(CComSettings(sim.GetSlavePath(), "SIM"));

    std::string failure;
    std::thread worker([&] {
        std::unique_lock lock(modbus.GetMutex());
        uint16_t values[4] = {};
        try {
            modbus.ReadHoldingRegister(2074, 4, values);
        } catch (const CException& e) {
            failure = e.what();
        }
    });
    ASSERT_TRUE(sim.WaitForRequests(1, kArrival));
    const Clock::time_point start = Clock::now();
    modbus.Connect(CComSettings(sim.GetSlavePath(), "SIM"));
    const long long connectMs = MsSince(start);
    worker.join();

    EXPECT_LT(connectMs, 500);
    EXPECT_EQ(failure,
              "Modbus command failed. command=ReadHoldingRegister address=2075 size=4 reason=timeout.");
    // The cut-short request sent nothing more, and the reopened port works.
    EXPECT_EQ(sim.GetRequestCount(), 1u);
    EXPECT_TRUE(modbus.IsConnected());
    EXPECT_EQ(modbus.GetSerial().GetReadTimeout(), 3000u);
    sim.ClearFaults();
    uint16_t values[4] = {};
    EXPECT_TRUE(modbus.ReadHoldingRegister(2074, 4, values));
    EXPECT_EQ(values[0], 'K');
}

namespace {
class CutIn : public ScaledTiming {};
}  // namespace

// A request the user waits on takes the line from another thread's sequence only once that sequence has
// met a silent device. A healthy run of reads that lasts longer than any one reply may take (as an
// identification does at 1200 bit/s) keeps the line to its end, every read answered. At a silent device
// the run fails after its first attempt instead of its sixth: a user who comes during that attempt waits
// about one attempt, one who comes in the retries is not kept waiting for the attempt in flight, and the
// line is usable again for the user's own request.
TEST_F(CutIn, AUserRequestCutsInOnAnotherThreadsSequenceOnlyAtASilentDevice) {
    // Late replies come well within the reply time-out, and the run outlasts the longest one.
    constexpr unsigned kAllowance = 450;
    constexpr int kReads = 6;
    const unsigned baud = CComSettings::BaudRate(kFastestBaudIndex);
    const auto attempt = SilentAttemptTime(baud, kAllowance);
    const std::chrono::milliseconds replyTimeout(CModbusInterface::ReplyTimeout(6, 11, baud, kAllowance));
    const struct {
        const char* line;
        SimFault fault;
        size_t arrivesAfter;  // requests the holder has sent when the user comes
        bool cut;
        std::chrono::milliseconds longestWait;
    } cases[] = {
        {"healthy", SimFault::Late(std::chrono::milliseconds(kAllowance / 3)), 1, false, {}},
        {"silent", SimFault::Silence(), 1, true, WaitMargin(attempt)},
        {"silent, in the retries", SimFault::Silence(), 2, true, replyTimeout / 2},
    };
    for (const auto& c : cases) {
        SimLink link("K9RS");
        link.modbus.SetDeviceAllowance(kAllowance);
        link.sim.InjectFaultFrom(0, c.fault);
        // Written by the holder under the lock, read here once the lock is ours.
        int answered = 0;
        bool failed = false;
        std::jthread holder([&] {
            std::unique_lock lock(link.modbus.GetMutex());
            uint16_t values[4] = {};
            try {
                for (; answered < kReads; ++answered) link.modbus.ReadHoldingRegister(2074, 4, values);
            } catch (const CException&) {
                failed = true;
            }
        });
        ASSERT_TRUE(link.sim.WaitForRequests(c.arrivesAfter, WaitMargin(c.arrivesAfter * attempt))) << c.line;
        const Stopwatch wait;
        const auto lock = link.modbus.LockCuttingIn();
        const long long waitedMs = wait.Ms();
        EXPECT_EQ(failed, c.cut) << c.line;
        EXPECT_EQ(answered, c.cut ? 0 : kReads) << c.line;
        if (c.cut) {
            EXPECT_LE(waitedMs, c.longestWait.count()) << c.line;
            EXPECT_LT(link.sim.GetRequestCount(), static_cast<size_t>(CModbusInterface::kAttempts)) << c.line;
        }
        EXPECT_FALSE(link.modbus.GetSerial().IsAborted()) << c.line;
        link.sim.ClearFaults();
        uint16_t value = 0;
        EXPECT_EQ(ThrownMessage([&] { link.modbus.ReadHoldingRegister(2074, 1, &value); }), kNoThrow)
            << c.line;
        EXPECT_EQ(value & 0xFFu, 'K') << c.line;
    }
}
