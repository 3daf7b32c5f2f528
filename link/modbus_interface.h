#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/com_settings.h"
#include "link/observer.h"
#include "link/serial_io.h"

// The Modbus RTU master on the serial line: Read Holding Registers (3) and Write Multiple Registers
// (16), each one blocking call that sends, checks the reply and retries. It takes no lock itself:
// every caller holds GetMutex() around a request or a sequence that belongs together.
class CModbusInterface : public CObserver {
public:
    static constexpr int kAttempts = 6;
    static constexpr int32_t kMaxReadCount = 125;
    static constexpr int32_t kMaxWriteCount = 123;
    // Milliseconds the reply time-out gives the device to act on a request, on top of the line time.
    static constexpr unsigned kDeviceAllowance = 2000;

    // Settings loaded from the user profile.
    CModbusInterface();
    explicit CModbusInterface(const CComSettings& settings);
    ~CModbusInterface() override;

    void Update(CObservable* source) override;

    // Both return true or throw the 11015 message of the last of 6 failed attempts; a reply counts only
    // when it comes from the configured slave for this function and echoes this request. A port that
    // hangs up fails at once with its own message. A count outside 1..125 (read) or 1..123 (write) is a
    // programming error: std::invalid_argument, nothing is sent.
    bool ReadHoldingRegister(uint16_t start, int32_t count, uint16_t* values);
    bool WriteMultipleRegisters(uint16_t start, int32_t count, const uint16_t* values);

    // The connect path: cancels a request in flight from any thread, then under the Modbus lock takes
    // `settings`, opens the port with a read time-out of 3000 ms and sets the connected flag. An
    // exception on the way leaves the flag clear.
    void Connect(const CComSettings& settings);
    // Cancels a request in flight from any thread, then closes the port under the Modbus lock.
    void Close();
    // The way back after the line was lost, on the polling thread: under the Modbus lock, closes the
    // port and opens the connected path again (a device may have come back behind it). Nothing happens
    // once disconnected; a failure is thrown and the connection stays wanted, with the port closed.
    void Reopen();

    // The request frame without its CRC, as sent.
    static std::vector<uint8_t> ReadRequest(uint8_t slave, uint16_t start, int32_t count);
    static std::vector<uint8_t> WriteRequest(uint8_t slave, uint16_t start, int32_t count,
                                             const uint16_t* values);
    // Milliseconds the master waits for a reply of `replyLength` bytes to a request of `requestLength`
    // bytes, both without CRC.
    static unsigned ReplyTimeout(std::size_t requestLength, std::size_t replyLength, unsigned baudRate,
                                 unsigned deviceAllowance = kDeviceAllowance);
    // The program keeps kDeviceAllowance; a caller whose device answers sooner may give less, from any
    // thread.
    void SetDeviceAllowance(unsigned milliseconds) { m_deviceAllowance.store(milliseconds); }

    CSerialIO& GetSerial() { return m_serial; }
    CComSettings& GetSettings() { return m_settings; }
    std::recursive_mutex& GetMutex() { return m_mutex; }
    // The lock for a request the user waits on (an edit, a fine adjustment, a loop-test action, a line
    // lend). A device that answers keeps the line until the holder on another thread lets go of the lock
    // at the end of its sequence, however long that is: a healthy identification is not cut. Once the
    // holder's request in flight has had an attempt go unanswered, the holder is cut short instead: its
    // request, and every further one until it lets go, fails at once with its normal message. So the
    // user waits on a silent device for about one reply time-out and the pauses of one attempt.
    std::unique_lock<std::recursive_mutex> LockCuttingIn();
    bool IsConnected() const { return m_connected.load(); }
    void SetConnected(bool connected) { m_connected.store(connected); }

private:
    void Request(const std::vector<uint8_t>& request, std::size_t replyLength, const char* command,
                 unsigned address, int32_t count, uint16_t* values);
    void Attempt(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply, const char* command,
                 unsigned address, int32_t count);
    unsigned BaudRate() const;
    void NoteSilence();

    CSerialIO m_serial;
    std::recursive_mutex m_mutex;
    CComSettings m_settings;
    std::atomic<bool> m_connected{false};
    std::atomic<unsigned> m_deviceAllowance{kDeviceAllowance};
    // An attempt of the request in flight (or of the last one, when it failed) got no reply at all.
    // Cleared when a request starts and when it succeeds; LockCuttingIn reads it from another thread.
    std::atomic<bool> m_metSilence{false};
    // Threads in LockCuttingIn waiting for the lock.
    std::atomic<int> m_usersWaiting{0};
};
