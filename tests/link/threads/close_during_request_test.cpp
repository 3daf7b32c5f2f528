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

// Closing a port while another thread waits on the silent device: the close returns at once, the
// request fails with its normal message, and nothing reaches the descriptor number the port had.
// Runs at the exact protocol timing, where one silent request would last about 17 seconds.

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

// A request the user waits on cuts in on another thread's attempts at a silent device: that thread's
// request fails after its first attempt instead of its sixth, and the line is usable again for the
// user's own request once the device answers.
TEST(CloseDuringRequest, AUserRequestCutsInOnAnotherThreadsAttempts) {
    SilentModbus line;
    CSimDevice& sim = line.sim;
    CModbusInterface& modbus = line.modbus;

    bool failed = false;
    std::thread poll([&] {
        std::unique_lock lock(modbus.GetMutex());
        uint16_t values[4] = {};
        try {
            modbus.ReadHoldingRegister(2074, 4, values);
        } catch (const CException&) {
            failed = true;
        }
    });
    ASSERT_TRUE(sim.WaitForRequests(1, kArrival));
    {
        const auto lock = modbus.LockCuttingIn();
        EXPECT_FALSE(modbus.GetSerial().IsAborted());
        sim.ClearFaults();
        uint16_t value = 0;
        EXPECT_TRUE(modbus.ReadHoldingRegister(2074, 1, &value));
    }
    poll.join();
    EXPECT_TRUE(failed);
    EXPECT_LT(sim.GetRequestCount(), static_cast<size_t>(CModbusInterface::kAttempts));
}
