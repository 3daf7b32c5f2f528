#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/com_settings.h"

// One serial port, opened exclusively: open by path, line settings, read time-out, a read that waits
// for the first byte and then reads with an interval and a total time-out, a line read, and a write.
// Not locked by itself: each owner serialises its use with its own mutex. Abort() is the one call
// another thread may make at any time: it wakes every wait at once and keeps them short until the
// port is opened again.
class CSerialIO {
public:
    static constexpr unsigned kReadIntervalTimeout = 100;
    static constexpr std::size_t kMaxLineLength = 1024;

    // Settings loaded from the user profile.
    CSerialIO();
    explicit CSerialIO(const CComSettings& settings);
    virtual ~CSerialIO();

    CSerialIO(const CSerialIO&) = delete;
    CSerialIO& operator=(const CSerialIO&) = delete;

    // OpenPort, then Configure with the settings' line.
    void Open();
    // Opens the settings' port exclusively; an open port is closed first. Clears an earlier abort. A
    // failure says why: busy, permission denied (with the group that may use it), no such device.
    void OpenPort();
    // Closes the port and opens the settings' path again with the settings' line, for a device that
    // came back behind it. Unlike Open, an abort on its way is kept: the close that sent it follows.
    void Reopen();
    // Raw line with the given speed, data bits (7 or 8), parity code and stop-bit code; 306 on failure.
    void Configure(unsigned baudRate, int32_t byteSize, int32_t parity, int32_t stopBits);
    // The total read time-out in milliseconds; 306 when the port is not open.
    void SetReadTimeout(unsigned milliseconds);
    unsigned GetReadTimeout() const { return m_readTotalTimeout; }

    // Waits up to the read time-out for the first byte, then reads up to `count` bytes until 100 ms of
    // silence or the read time-out, taking what has come in by then. Returns the number of bytes read
    // (0 when nothing came in time).
    // A port that reports a hang-up or an I/O error throws 307 at once, here and in every later read or
    // write until the port is opened again.
    unsigned Read(uint8_t* buffer, unsigned count);
    // Bytes up to a carriage return, which is dropped; 300 when the whole line has not come within the
    // read time-out or it grows beyond kMaxLineLength.
    std::string ReadLine();
    // Writes every byte and waits until they are sent. Nothing is written once aborted or closed.
    void Write(const void* data, std::size_t size);
    // Discards what has been received and not yet read.
    void PurgeInput();
    // Discards what comes in until the line has been quiet for `quietMs`, taking at least `minimumMs`
    // and at most `limitMs` (all pauses); an abort ends it at once. A line that is down throws 307 as a
    // read does.
    void DrainUntilQuiet(unsigned minimumMs, unsigned quietMs, unsigned limitMs);
    // The port reported a hang-up or an I/O error since it was opened.
    bool IsLineLost() const { return m_lineLost.load(); }
    // A pause that Abort ends at once; false when it was cut short.
    bool Pause(unsigned milliseconds);

    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    void Abort();
    void ResetAbort();
    bool IsAborted() const { return m_aborted.load(); }

    CComSettings& GetSettings() { return m_settings; }
    void SetSettings(const CComSettings& settings) { m_settings = settings; }

private:
    void OpenPath();
    void ConfigureLine();
    unsigned InputQueueLength() const;
    bool CarrierDetect() const;
    std::chrono::steady_clock::time_point FirstByteDeadline() const;
    // Waits until a byte is queued or carrier detect is on; false when `deadline` passes first, on an
    // abort, or when the port is closed.
    bool AwaitInput(std::chrono::steady_clock::time_point deadline);
    unsigned ReadAvailable(uint8_t* buffer, unsigned count, std::chrono::steady_clock::time_point deadline);
    [[noreturn]] void ThrowLineLost();

    int m_fd = -1;
    unsigned m_readTotalTimeout = 1000;
    std::string m_portPath;
    CComSettings m_settings;
    int m_wakeFd = -1;
    std::atomic<bool> m_aborted{false};
    std::atomic<bool> m_lineLost{false};
};
