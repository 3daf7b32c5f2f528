#include "link/line_lend.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "sim/sim_device.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "support/thrown_message.h"

namespace {
// Whether another thread could take `mutex` now.
bool FreeForOthers(std::recursive_mutex& mutex) {
    return std::async(std::launch::async,
                      [&mutex] {
                          if (!mutex.try_lock()) return false;
                          mutex.unlock();
                          return true;
                      })
        .get();
}
}  // namespace

// The ASCII interface talks over the Modbus interface's open line while the lend lives, with both locks
// held against the other threads, and goes back to its own (closed) port afterwards.
TEST(LineLend, TheAsciiInterfaceUsesTheModbusLineWhileBothLocksAreHeld) {
    CSimDevice sim("K9TS");
    CModbusInterface modbus(SimSettings(sim));
    modbus.Connect(SimSettings(sim));
    CCommInterface ascii(SimSettings(sim));
    EXPECT_NE(ThrownMessage([&] { ascii.SelectGroup(99); }), kNoThrow);
    {
        CLineLend lend(ascii, &modbus);
        EXPECT_FALSE(ascii.UsesOwnLine());
        EXPECT_FALSE(FreeForOthers(modbus.GetMutex()));
        EXPECT_FALSE(FreeForOthers(ascii.GetMutex()));
        EXPECT_EQ(ThrownMessage([&] { ascii.SelectGroup(99); }), kNoThrow);
        EXPECT_EQ(ascii.WriteItem(5, "V", CCommInterface::kCommandTimeout), "2500.1234");
    }
    EXPECT_TRUE(ascii.UsesOwnLine());
    EXPECT_TRUE(FreeForOthers(modbus.GetMutex()));
    EXPECT_TRUE(FreeForOthers(ascii.GetMutex()));
    EXPECT_NE(ThrownMessage([&] { ascii.SelectGroup(99); }), kNoThrow);
    // The Modbus side works on as before.
    uint16_t code = 0;
    std::unique_lock lock(modbus.GetMutex());
    EXPECT_TRUE(modbus.ReadHoldingRegister(2074, 1, &code));
    EXPECT_EQ(code & 0xFFu, 'K');

    const auto lines = sim.GetRequests();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].line, "G99");
    EXPECT_EQ(lines[2].line, "DV");
}

TEST(LineLend, WithoutAModbusInterfaceOnlyTheAsciiLockIsTaken) {
    CSimDevice sim("K9TS");
    CCommInterface ascii(SimSettings(sim));
    OpenPort(ascii.GetSerial());
    CLineLend lend(ascii, nullptr);
    EXPECT_TRUE(ascii.UsesOwnLine());
    EXPECT_FALSE(FreeForOthers(ascii.GetMutex()));
    EXPECT_EQ(ThrownMessage([&] { ascii.SelectGroup(1); }), kNoThrow);
}

namespace {
class LineLendAtASilentDevice : public ScaledTiming {};
}  // namespace

// A calibration dialog opens its lend while the poll is in its attempts at a device that has gone silent:
// the window waits about one attempt, not the poll's whole retry, and the line is usable for ASCII.
TEST_F(LineLendAtASilentDevice, OpeningOneCutsThePollShort) {
    CSimDevice sim("K9TS");
    CModbusInterface modbus(SimSettings(sim));
    modbus.Connect(SimSettings(sim));
    modbus.SetDeviceAllowance(kShortDeviceAllowance);
    CCommInterface ascii(SimSettings(sim));
    sim.StopAnsweringAfter(0);
    const auto attempt = SilentAttemptTime(CComSettings::BaudRate(kFastestBaudIndex), kShortDeviceAllowance);
    bool pollFailed = false;
    std::jthread poll([&] {
        std::unique_lock lock(modbus.GetMutex());
        uint16_t values[4] = {};
        pollFailed = ThrownMessage([&] { modbus.ReadHoldingRegister(2074, 4, values); }) != kNoThrow;
    });
    ASSERT_TRUE(sim.WaitForRequests(1, WaitMargin(attempt)));
    const Stopwatch wait;
    CLineLend lend(ascii, &modbus);
    EXPECT_LE(wait.Ms(), WaitMargin(attempt).count());
    EXPECT_TRUE(pollFailed);
    EXPECT_LT(sim.GetRequestCount(), static_cast<size_t>(CModbusInterface::kAttempts));
    sim.ClearFaults();
    EXPECT_EQ(ThrownMessage([&] { ascii.SelectGroup(99); }), kNoThrow);
    EXPECT_EQ(ascii.WriteItem(5, "V", CCommInterface::kCommandTimeout), "2500.1234");
}
