#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/serial_io.h"

// The device's ASCII line protocol: select a group ("G%02d"), select an item ("I%02d"), read ("D") or
// write ("D" + data) it, one line each way. Callers hold GetMutex() around a sequence of exchanges
// and open the port themselves, or talk over a line another protocol object has open (CLineLend).
class CCommInterface {
public:
    static constexpr unsigned kCommandTimeout = 1000;
    // Command groups: 1 the settings, whose item 1 is the operating mode (normal or adjustment); 99 the
    // factory group with the calibration items.
    static constexpr int32_t kGroupSettings = 1;
    static constexpr int32_t kGroupFactory = 99;
    static constexpr int32_t kItemOperatingMode = 1;

    // Settings loaded from the user profile.
    CCommInterface();
    explicit CCommInterface(const CComSettings& settings);
    virtual ~CCommInterface();

    // A reply that has not come within its time-out may still be on its way: the line is left alone for
    // this long at least, and until it has been quiet, before the failure is reported.
    static constexpr unsigned kPauseAfterTimeout = 500;

    // Sends `command` as it is and reads one reply line. What was waiting on the line before it is
    // discarded: it answers no command this one asks. A reply line not whole within `timeoutMs` fails
    // with 300 once the line has been drained; a line that goes, before or during the drain, fails
    // with 307, and every later command fails with it unsent until the port is opened again.
    void SendCommand(const std::string& command, std::string& reply, unsigned timeoutMs);
    // For a write a sequence relies on: the device answers one it refuses with a line that does not
    // begin with 'D', which fails with the command named. Returns the reply whole.
    std::string SendAccepted(const std::string& command, unsigned timeoutMs);
    void SelectGroup(int32_t group);
    void SelectItem(int32_t item);
    // The reply to the write without its first character, whatever that was.
    std::string WriteItem(int32_t item, const std::string& value, unsigned timeoutMs);
    std::string ReadItem(int32_t item);

    // Cancels an exchange in flight from any thread, then closes the port under the ASCII lock.
    void Close();

    // The interface's own port, which the callers open and close.
    CSerialIO& GetSerial() { return m_serial; }
    // Exchanges go over `line` from now on, or over the own port again when it is null. Called under
    // the ASCII lock; the line must outlive its use.
    void UseLine(CSerialIO* line) { m_line = line != nullptr ? line : &m_serial; }
    bool UsesOwnLine() const { return m_line == &m_serial; }
    std::recursive_mutex& GetMutex() { return m_mutex; }
    bool IsPortOpen() const { return m_portOpen.load(); }
    void SetPortOpen(bool open) { m_portOpen.store(open); }

private:
    CSerialIO m_serial;
    CSerialIO* m_line = &m_serial;
    std::recursive_mutex m_mutex;
    std::atomic<bool> m_portOpen{false};
};
