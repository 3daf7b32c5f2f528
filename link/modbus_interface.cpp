#include "link/modbus_interface.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "link/modbus_crc.h"
#include "link/private_exception.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {
// Function codes of the two requests the device serves.
constexpr uint8_t kReadHoldingRegisters = 3;
constexpr uint8_t kWriteMultipleRegisters = 16;
// A slave refuses a request by answering with the function code's top bit set and an exception code.
constexpr uint8_t kExceptionBit = 0x80;
// Slave address, function and exception code: a refusal without its CRC.
constexpr std::size_t kExceptionReplyLength = 3;
// A read reply without CRC: slave address, function and byte count, then two bytes a register.
constexpr std::size_t kReadReplyHeader = 3;
// A write reply without CRC: slave address, function, then the start address and count echoed.
constexpr std::size_t kWriteReplyLength = 6;
constexpr std::size_t kCrcLength = 2;

// The reply time-out allows each byte of both frames (their CRCs counted as 4 more) 17 bit times, half
// again an 11-bit character, plus the device's allowance to act on the request.
constexpr std::size_t kTimeoutCrcBytes = 4;
constexpr unsigned kTimeoutBitTimesPerByte = 17;

constexpr unsigned kPauseAfterSend = 10;
constexpr unsigned kPauseAfterRead = 100;
constexpr unsigned kPauseBetweenAttempts = 500;
constexpr unsigned kConnectReadTimeout = 3000;

// After each reply the line is left alone for about 120 bit times (some eleven characters, three times
// the silence that ends a frame), rounded up, so the device is listening again before the next frame.
unsigned InterFrameGap(unsigned baudRate) { return 120000 / baudRate + 1; }

uint8_t High(unsigned value) { return static_cast<uint8_t>((value >> 8) & 0xFFu); }
uint8_t Low(unsigned value) { return static_cast<uint8_t>(value & 0xFFu); }

CPrivateException Failure(const char* command, unsigned address, int32_t count, const std::string& reason) {
    return CPrivateException(FormatMessageId(kStrModbusFailed, {command, address, count, reason}));
}

CPrivateException Failure(const char* command, unsigned address, int32_t count, unsigned reasonId) {
    return Failure(command, address, count, LoadString(reasonId));
}

// A refusal of this request by this slave.
bool IsExceptionReply(const std::vector<uint8_t>& request, const std::vector<uint8_t>& reply, std::size_t n) {
    return n == kExceptionReplyLength && reply[0] == request[0] && reply[1] == (request[1] | kExceptionBit);
}

// A frame of the expected length is this request's answer only when it comes from the slave asked, for
// the function asked, and carries what that function answers: a read the byte count of its registers,
// a write the start address and count it was given. Anything else is another device's or another
// request's frame.
bool AnswersRequest(const std::vector<uint8_t>& request, const std::vector<uint8_t>& reply) {
    if (reply[0] != request[0] || reply[1] != request[1]) return false;
    if (request[1] == kReadHoldingRegisters) return reply[2] == Low(2u * request[5]);
    return std::equal(request.begin() + 2, request.begin() + kWriteReplyLength, reply.begin() + 2);
}
}  // namespace

CModbusInterface::CModbusInterface() : CModbusInterface(CComSettings()) {}

CModbusInterface::CModbusInterface(const CComSettings& settings) : m_serial(settings), m_settings(settings) {}

CModbusInterface::~CModbusInterface() { Close(); }

void CModbusInterface::Update(CObservable*) {}

std::vector<uint8_t> CModbusInterface::ReadRequest(uint8_t slave, uint16_t start, int32_t count) {
    return {slave, kReadHoldingRegisters, High(start), Low(start), 0, Low(static_cast<unsigned>(count))};
}

std::vector<uint8_t> CModbusInterface::WriteRequest(uint8_t slave, uint16_t start, int32_t count,
                                                    const uint16_t* values) {
    const auto n = static_cast<unsigned>(count);
    std::vector<uint8_t> request = {slave,     kWriteMultipleRegisters, High(start), Low(start), 0, Low(n),
                                    Low(2 * n)};
    for (unsigned i = 0; i < n; ++i) {
        request.push_back(High(values[i]));
        request.push_back(Low(values[i]));
    }
    return request;
}

unsigned CModbusInterface::ReplyTimeout(std::size_t requestLength, std::size_t replyLength, unsigned baudRate,
                                        unsigned deviceAllowance) {
    const std::size_t bytes = requestLength + replyLength + kTimeoutCrcBytes;
    return static_cast<unsigned>(bytes * kTimeoutBitTimesPerByte * 1000 / baudRate + deviceAllowance);
}

unsigned CModbusInterface::BaudRate() const { return CComSettings::BaudRate(m_settings.m_baudIndex); }

bool CModbusInterface::ReadHoldingRegister(uint16_t start, int32_t count, uint16_t* values) {
    if (count < 1 || count > kMaxReadCount)
        throw std::invalid_argument("ReadHoldingRegister: count out of range");
    const auto slave = static_cast<uint8_t>(m_settings.m_slaveAddress);
    const std::size_t replyLength = kReadReplyHeader + 2 * static_cast<std::size_t>(count);
    // A failed read names start + 1 and a failed write start itself: the messages have always read so,
    // and users compare them with earlier reports.
    Request(ReadRequest(slave, start, count), replyLength, "ReadHoldingRegister", start + 1u, count, values);
    return true;
}

bool CModbusInterface::WriteMultipleRegisters(uint16_t start, int32_t count, const uint16_t* values) {
    if (count < 1 || count > kMaxWriteCount) {
        throw std::invalid_argument("WriteMultipleRegisters: count out of range");
    }
    const auto slave = static_cast<uint8_t>(m_settings.m_slaveAddress);
    Request(WriteRequest(slave, start, count, values), kWriteReplyLength, "WriteMultipleRegisters", start,
            count, nullptr);
    return true;
}

// Up to six attempts; a close from another thread, or a user's request cutting in, ends the loop
// before the next attempt or pause, failing with what the last attempt failed with. A port that has hung
// up ends it at once.
void CModbusInterface::Request(const std::vector<uint8_t>& request, std::size_t replyLength,
                               const char* command, unsigned address, int32_t count, uint16_t* values) {
    m_metSilence.store(false);
    std::exception_ptr last;
    for (int attempt = 1; attempt <= kAttempts && !m_serial.IsAborted(); ++attempt) {
        try {
            std::vector<uint8_t> reply(replyLength + kCrcLength);
            Attempt(request, reply, command, address, count);
            m_metSilence.store(false);
            if (values != nullptr) {
                m_serial.Pause(kPauseAfterRead);
                for (int32_t i = 0; i < count; ++i) {
                    const auto at = kReadReplyHeader + 2 * static_cast<std::size_t>(i);
                    values[i] = static_cast<uint16_t>(reply[at] * 256u + reply[at + 1]);
                }
            }
            return;
        } catch (const CException&) {
            last = std::current_exception();
        }
        if (m_serial.IsLineLost()) break;
        // A reply the attempt gave up on, or the real one behind a stray frame, may still be coming in;
        // it must not be taken for the answer to the next request, whether a retry or the caller's next.
        // So the last attempt, too, is followed by the pause between attempts before the failure is
        // reported: the caller may send a request of the same length at once. An abort ends the pause.
        const unsigned baud = BaudRate();
        m_serial.DrainUntilQuiet(kPauseBetweenAttempts, InterFrameGap(baud),
                                 ReplyTimeout(request.size(), replyLength, baud, m_deviceAllowance.load()));
        if (attempt == kAttempts || m_serial.IsAborted()) break;
    }
    if (!last) last = std::make_exception_ptr(Failure(command, address, count, kStrModbusTimeout));
    std::rethrow_exception(last);
}

void CModbusInterface::Attempt(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply,
                               const char* command, unsigned address, int32_t count) {
    const std::size_t expected = reply.size() - kCrcLength;
    const unsigned baud = BaudRate();

    // A reply that came after an earlier attempt gave up must not pass for this one's.
    m_serial.PurgeInput();
    std::vector<uint8_t> frame = request;
    const uint16_t crc = ModbusCrc16(frame.data(), frame.size());
    frame.push_back(Low(crc));
    frame.push_back(High(crc));
    m_serial.Write(frame.data(), frame.size());
    m_serial.Pause(kPauseAfterSend);
    m_serial.SetReadTimeout(ReplyTimeout(request.size(), expected, baud, m_deviceAllowance.load()));

    std::size_t n = m_serial.Read(reply.data(), static_cast<unsigned>(reply.size()));
    if (n >= kCrcLength) n -= kCrcLength;
    if (n == 0) NoteSilence();
    const bool refusal = n == kExceptionReplyLength && (reply[1] & kExceptionBit) != 0;
    if (n == expected || refusal) {
        const uint16_t got = static_cast<uint16_t>(reply[n] | (reply[n + 1] << 8));
        if (ModbusCrc16(reply.data(), n) != got) throw Failure(command, address, count, kStrModbusCrcError);
    }
    m_serial.Pause(InterFrameGap(baud));
    if (n == 0) throw Failure(command, address, count, kStrModbusTimeout);
    if (IsExceptionReply(request, reply, n)) {
        throw Failure(command, address, count,
                      FormatMessageId(kStrModbusException, {static_cast<int>(reply[2])}));
    }
    if (n != expected || !AnswersRequest(request, reply))
        throw Failure(command, address, count, kStrModbusInvalidResponse);
}

// A device that does not answer at all would keep the line for all the attempts: a user waiting for it
// cuts in now, one that comes later at once (LockCuttingIn). A garbled or wrong reply comes from a device
// that answers, and the user waits for it.
void CModbusInterface::NoteSilence() {
    m_metSilence.store(true);
    if (m_usersWaiting.load() > 0) m_serial.Abort();
}

void CModbusInterface::Connect(const CComSettings& settings) {
    m_serial.Abort();
    std::unique_lock lock(m_mutex);
    m_connected.store(false);
    m_settings = settings;
    m_serial.SetSettings(settings);
    // Opening clears the cancellation; a request that was cut short has given up the lock by now.
    m_serial.Open();
    m_serial.SetReadTimeout(kConnectReadTimeout);
    m_connected.store(true);
}

// The user's thread announces itself before it reads the flag, the holder sets the flag before it looks
// for a waiting user (NoteSilence): whichever comes second sees the other, so a holder at a silent device
// is always cut. The user waits in the lock itself, woken when the holder lets go, as any other waiter.
std::unique_lock<std::recursive_mutex> CModbusInterface::LockCuttingIn() {
    std::unique_lock lock(m_mutex, std::try_to_lock);
    if (lock.owns_lock()) return lock;
    m_usersWaiting.fetch_add(1);
    if (m_metSilence.load()) m_serial.Abort();
    lock.lock();
    m_usersWaiting.fetch_sub(1);
    // Whoever cut the holder short, the line is the user's now and must not stay cancelled.
    m_serial.ResetAbort();
    return lock;
}

void CModbusInterface::Reopen() {
    std::unique_lock lock(m_mutex);
    if (!m_connected.load()) return;
    m_serial.Reopen();
    m_serial.SetReadTimeout(kConnectReadTimeout);
}

void CModbusInterface::Close() {
    m_serial.Abort();
    std::unique_lock lock(m_mutex);
    m_serial.Close();
    m_connected.store(false);
}
