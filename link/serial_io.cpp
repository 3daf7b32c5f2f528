#include "link/serial_io.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>

#include "link/private_exception.h"
#include "link/serial_io_failure.h"
#include "platform/resource_module.h"
#include "platform/timing.h"
#include "res/string_ids.h"

namespace {
constexpr unsigned kWaitStep = 10;

bool SpeedFor(unsigned baudRate, speed_t* speed) {
    switch (baudRate) {
        case 1200: *speed = B1200; return true;
        case 2400: *speed = B2400; return true;
        case 4800: *speed = B4800; return true;
        case 9600: *speed = B9600; return true;
        case 19200: *speed = B19200; return true;
        case 38400: *speed = B38400; return true;
        default: return false;
    }
}

// Sets the parity bits of the control flags; false for a code the line cannot do.
bool ApplyParity(int32_t parity, tcflag_t* cflag) {
    *cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (parity) {
        case CComSettings::kParityNone: return true;
        case CComSettings::kParityOdd: *cflag |= PARENB | PARODD; return true;
        case CComSettings::kParityEven: *cflag |= PARENB; return true;
        case CComSettings::kParityMark: *cflag |= PARENB | PARODD | CMSPAR; return true;
        case CComSettings::kParitySpace: *cflag |= PARENB | CMSPAR; return true;
        default: return false;
    }
}

// Slave side of a Unix98 pseudo-terminal (majors 136 to 143).
bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned deviceMajor = major(st.st_rdev);
    return deviceMajor >= 136 && deviceMajor <= 143;
}

constexpr short kLineDown = POLLHUP | POLLERR | POLLNVAL;

using Clock = std::chrono::steady_clock;

int64_t MicrosUntil(Clock::time_point end) {
    return std::chrono::duration_cast<std::chrono::microseconds>(end - Clock::now()).count();
}

// A message about the port with its name in place of "%s".
std::string PortMessage(unsigned id, const std::string& name) {
    std::string text = LoadString(id);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}
}  // namespace

CSerialIO::CSerialIO() : CSerialIO(CComSettings()) {}

CSerialIO::CSerialIO(const CComSettings& settings) : m_settings(settings) {
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

CSerialIO::~CSerialIO() {
    Close();
    ::close(m_wakeFd);
}

void CSerialIO::Open() {
    OpenPort();
    ConfigureLine();
}

void CSerialIO::OpenPort() {
    Close();
    ResetAbort();
    OpenPath();
}

void CSerialIO::Reopen() {
    Close();
    OpenPath();
    ConfigureLine();
}

void CSerialIO::OpenPath() {
    m_portPath = m_settings.GetPortName();
    const int fd = ::open(m_portPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // The lock keeps out every other open, the other protocol object of this process and root
    // included; TIOCEXCL keeps out programs that do not lock. A non-tty fails later, in Configure.
    if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        const std::string name = m_settings.GetDisplayName();
        throw CPrivateException(PortOpenFailureMessage(error, m_portPath, name.empty() ? m_portPath : name));
    }
    ioctl(fd, TIOCEXCL);
    m_fd = fd;
}

void CSerialIO::ConfigureLine() {
    Configure(CComSettings::BaudRate(m_settings.m_baudIndex),
              CComSettings::DataBits(m_settings.m_dataBitsIndex), m_settings.m_parity,
              CComSettings::StopBits(m_settings.m_stopBitsIndex));
}

void CSerialIO::Configure(unsigned baudRate, int32_t byteSize, int32_t parity, int32_t stopBits) {
    termios tio{};
    speed_t speed{};
    if (m_fd < 0 || tcgetattr(m_fd, &tio) != 0 || !SpeedFor(baudRate, &speed))
        throw CPrivateException(kStrPortSettingsFailed);
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF | IXANY);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD;
    if (byteSize == 7) {
        tio.c_cflag |= CS7;
    } else if (byteSize == 8) {
        tio.c_cflag |= CS8;
    } else {
        throw CPrivateException(kStrPortSettingsFailed);
    }
    if (!ApplyParity(parity, &tio.c_cflag)) throw CPrivateException(kStrPortSettingsFailed);
    if (stopBits == CComSettings::kTwoStopBits) {
        tio.c_cflag |= CSTOPB;
    } else if (stopBits != CComSettings::kOneStopBit) {
        throw CPrivateException(kStrPortSettingsFailed);
    }
    // A pseudo-terminal carries no bits on a wire: it holds 8 bits without parity whatever is asked,
    // and asking otherwise fails.
    if (IsPseudoTerminal(m_fd)) {
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR);
        tio.c_cflag |= CS8;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) throw CPrivateException(kStrPortSettingsFailed);

    // tcsetattr succeeds when any one change was made; read back to see the line really is as asked.
    termios check{};
    constexpr tcflag_t kLineBits = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR;
    if (tcgetattr(m_fd, &check) != 0 || (check.c_cflag & kLineBits) != (tio.c_cflag & kLineBits) ||
        cfgetispeed(&check) != speed || cfgetospeed(&check) != speed) {
        throw CPrivateException(kStrPortSettingsFailed);
    }
    // A pty has no modem lines; its refusal is of no consequence.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(m_fd, TIOCMBIC, &lines);
}

void CSerialIO::SetReadTimeout(unsigned milliseconds) {
    m_readTotalTimeout = milliseconds;
    if (m_fd < 0) throw CPrivateException(kStrPortSettingsFailed);
}

unsigned CSerialIO::InputQueueLength() const {
    int length = 0;
    if (ioctl(m_fd, FIONREAD, &length) != 0 || length < 0) return 0;
    return static_cast<unsigned>(length);
}

bool CSerialIO::CarrierDetect() const {
    int status = 0;
    return ioctl(m_fd, TIOCMGET, &status) == 0 && (status & TIOCM_CD) != 0;
}

// The first byte is awaited up to the read time-out, measured against the clock so that a loaded machine
// does not stretch it. A time-out shorter than one wait step does not wait.
Clock::time_point CSerialIO::FirstByteDeadline() const {
    const int64_t total = CTiming::TimeoutToMicros(m_readTotalTimeout);
    return Clock::now() + std::chrono::microseconds(total >= CTiming::ToMicros(kWaitStep) ? total : 0);
}

bool CSerialIO::AwaitInput(Clock::time_point deadline) {
    if (m_fd < 0) return false;
    if (m_lineLost) ThrowLineLost();
    unsigned queued = InputQueueLength();
    bool carrier = CarrierDetect();
    // Steps of at most 10 ms, as carrier detect wakes no wait and is looked at between them.
    const int64_t step = CTiming::ToMicros(kWaitStep);
    while (queued == 0 && !carrier) {
        const int64_t left = MicrosUntil(deadline);
        if (left <= 0) return false;
        const int events = CTiming::WaitReadable(m_fd, m_wakeFd, std::min(step, left));
        if (events < 0) return false;
        queued = InputQueueLength();
        // A hung-up tty reports itself readable too, with nothing to read.
        if (queued == 0 && (events & kLineDown) != 0) ThrowLineLost();
        carrier = CarrierDetect();
    }
    return true;
}

unsigned CSerialIO::Read(uint8_t* buffer, unsigned count) {
    if (count == 0 || !AwaitInput(FirstByteDeadline())) return 0;
    return ReadAvailable(
        buffer, count,
        Clock::now() + std::chrono::microseconds(CTiming::TimeoutToMicros(m_readTotalTimeout)));
}

// Reads until `count` bytes, a gap of the interval time-out after a byte, or `deadline` with nothing
// more received.
unsigned CSerialIO::ReadAvailable(uint8_t* buffer, unsigned count, Clock::time_point deadline) {
    const int64_t interval = CTiming::TimeoutToMicros(kReadIntervalTimeout);
    unsigned got = 0;
    while (got < count) {
        int64_t wait = MicrosUntil(deadline);
        if (got > 0 && interval < wait) wait = interval;
        // What came in before the time ran out is taken all the same; only the wait for more ends.
        if (wait <= 0 && InputQueueLength() == 0) break;
        const int events = wait > 0 ? CTiming::WaitReadable(m_fd, m_wakeFd, wait) : POLLIN;
        if (events <= 0) break;
        const ssize_t n = ::read(m_fd, buffer + got, count - got);
        if (n > 0) {
            got += static_cast<unsigned>(n);
        } else if ((n == 0 && (events & kLineDown) != 0) || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            ThrowLineLost();
        } else if (n == 0) {
            break;
        }
    }
    return got;
}

void CSerialIO::ThrowLineLost() {
    m_lineLost.store(true);
    const std::string name = m_settings.GetDisplayName();
    throw CPrivateException(PortMessage(kStrPortLost, name.empty() ? m_portPath : name));
}

std::string CSerialIO::ReadLine() {
    // One deadline for the whole line: a line that sends bytes but never ends would otherwise hold the
    // reader for a time-out per byte.
    const auto deadline = FirstByteDeadline();
    std::string line;
    for (;;) {
        uint8_t byte = 0;
        if (!AwaitInput(deadline) || ReadAvailable(&byte, 1, deadline) != 1)
            throw CPrivateException(kStrReplyTimeout);
        if (byte == '\r') return line;
        // A device that streams without ever ending the line must not grow it without bound.
        if (line.size() >= kMaxLineLength) throw CPrivateException(kStrReplyTimeout);
        line.push_back(static_cast<char>(byte));
    }
}

void CSerialIO::Write(const void* data, std::size_t size) {
    if (m_fd >= 0 && m_lineLost) ThrowLineLost();
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::size_t done = 0;
    while (done < size && m_fd >= 0 && !IsAborted()) {
        const ssize_t n = ::write(m_fd, bytes + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) ThrowLineLost();
        pollfd fds[2] = {{m_fd, POLLOUT, 0}, {m_wakeFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if ((fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & kLineDown) != 0) ThrowLineLost();
    }
    if (m_fd >= 0 && done == size) tcdrain(m_fd);
}

void CSerialIO::PurgeInput() {
    if (m_fd >= 0) tcflush(m_fd, TCIFLUSH);
}

void CSerialIO::DrainUntilQuiet(unsigned minimumMs, unsigned quietMs, unsigned limitMs) {
    const auto start = Clock::now();
    const auto limit = start + std::chrono::microseconds(CTiming::ToMicros(limitMs));
    const auto minimum = start + std::chrono::microseconds(CTiming::ToMicros(minimumMs));
    const auto quiet = std::chrono::microseconds(CTiming::ToMicros(quietMs));
    auto quietAt = start + quiet;
    while (m_fd >= 0) {
        PurgeInput();
        const auto end = std::min(std::max(minimum, quietAt), limit);
        const int64_t left = MicrosUntil(end);
        if (left <= 0) return;
        const int events = CTiming::WaitReadable(m_fd, m_wakeFd, left);
        if (events < 0) return;
        if ((events & kLineDown) != 0) ThrowLineLost();
        if (events != 0) quietAt = Clock::now() + quiet;
    }
}

bool CSerialIO::Pause(unsigned milliseconds) { return CTiming::Sleep(milliseconds, m_wakeFd); }

void CSerialIO::Close() {
    m_lineLost.store(false);
    if (m_fd < 0) return;
    ioctl(m_fd, TIOCNXCL);
    flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

void CSerialIO::Abort() {
    m_aborted.store(true);
    const uint64_t one = 1;
    // The counter only saturates after 2^64 - 2 aborts; a failed write leaves it readable anyway.
    [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

void CSerialIO::ResetAbort() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &count, sizeof count);
    m_aborted.store(false);
}
