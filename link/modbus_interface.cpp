#include "link/modbus_interface.h"

#include <exception>
#include <stdexcept>

#include "link/modbus_crc.h"
#include "link/private_exception.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"

namespace {
constexpr unsigned kPauseAfterSend = 10;
constexpr unsigned kPauseAfterRead = 100;
constexpr unsigned kPauseBetweenAttempts = 500;
constexpr unsigned kConnectReadTimeout = 3000;

uint8_t High(unsigned value) { return static_cast<uint8_t>((value >> 8) & 0xFFu); }
uint8_t Low(unsigned value) { return static_cast<uint8_t>(value & 0xFFu); }

CPrivateException Failure(const char* command, unsigned address, int32_t count, const std::string& reason) {
    return CPrivateException(FormatMessageId(11015, {command, address, count, reason}));
}

CPrivateException Failure(const char* command, unsigned address, int32_t count, unsigned reasonId) {
    return Failure(command, address, count, LoadString(reasonId));
}
}  // namespace

CModbusInterface::CModbusInterface() : CModbusInterface(CComSettings()) {}

CModbusInterface::CModbusInterface(const CComSettings& settings) : m_serial(settings), m_settings(settings) {}

CModbusInterface::~CModbusInterface() { Close(); }

void CModbusInterface::Update(CObservable*) {}

std::vector<uint8_t> CModbusInterface::ReadRequest(uint8_t slave, uint16_t start, int32_t count) {
    return {slave, 3, High(start), Low(start), 0, Low(static_cast<unsigned>(count))};
}

std::vector<uint8_t> CModbusInterface::WriteRequest(uint8_t slave, uint16_t start, int32_t count,
                                                    const uint16_t* values) {
    const auto n = static_cast<unsigned>(count);
    std::vector<uint8_t> request = {slave, 16, High(start), Low(start), 0, Low(n), Low(2 * n)};
    for (unsigned i = 0; i < n; ++i) {
        request.push_back(High(values[i]));
        request.push_back(Low(values[i]));
    }
    return request;
}

unsigned CModbusInterface::ReplyTimeout(std::size_t requestLength, std::size_t replyLength, unsigned baudRate) {
    return static_cast<unsigned>((requestLength + replyLength + 4) * 17000 / baudRate + 2000);
}

unsigned CModbusInterface::BaudRate() const { return CComSettings::BaudRate(m_settings.m_baudIndex); }

bool CModbusInterface::ReadHoldingRegister(uint16_t start, int32_t count, uint16_t* values) {
    if (count < 1 || count > kMaxReadCount) throw std::invalid_argument("ReadHoldingRegister: count out of range");
    const auto slave = static_cast<uint8_t>(m_settings.m_slaveAddress);
    Request(ReadRequest(slave, start, count), 3 + 2 * static_cast<std::size_t>(count), "ReadHoldingRegister",
            start + 1u, count, values);
    return true;
}

bool CModbusInterface::WriteMultipleRegisters(uint16_t start, int32_t count, const uint16_t* values) {
    if (count < 1 || count > kMaxWriteCount) {
        throw std::invalid_argument("WriteMultipleRegisters: count out of range");
    }
    const auto slave = static_cast<uint8_t>(m_settings.m_slaveAddress);
    Request(WriteRequest(slave, start, count, values), 6, "WriteMultipleRegisters", start, count, nullptr);
    return true;
}

// Up to six attempts; a close from another thread ends the loop before the next attempt or pause,
// failing with what the last attempt failed with.
void CModbusInterface::Request(const std::vector<uint8_t>& request, std::size_t replyLength, const char* command,
                               unsigned address, int32_t count, uint16_t* values) {
    std::exception_ptr last;
    for (int attempt = 1; attempt <= kAttempts && !m_serial.IsAborted(); ++attempt) {
        try {
            std::vector<uint8_t> reply(replyLength + 2);
            Attempt(request, reply, command, address, count);
            if (values != nullptr) {
                m_serial.Pause(kPauseAfterRead);
                for (int32_t i = 0; i < count; ++i) {
                    const auto at = static_cast<std::size_t>(3 + 2 * i);
                    values[i] = static_cast<uint16_t>(reply[at] * 256u + reply[at + 1]);
                }
            }
            return;
        } catch (const CException&) {
            last = std::current_exception();
        }
        if (attempt == kAttempts || m_serial.IsAborted()) break;
        m_serial.Pause(kPauseBetweenAttempts);
    }
    if (!last) last = std::make_exception_ptr(Failure(command, address, count, 11011u));
    std::rethrow_exception(last);
}

void CModbusInterface::Attempt(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply,
                               const char* command, unsigned address, int32_t count) {
    const std::size_t expected = reply.size() - 2;
    const unsigned baud = BaudRate();

    // A reply that came after an earlier attempt gave up must not pass for this one's.
    m_serial.PurgeInput();
    std::vector<uint8_t> frame = request;
    const uint16_t crc = ModbusCrc16(frame.data(), frame.size());
    frame.push_back(Low(crc));
    frame.push_back(High(crc));
    m_serial.Write(frame.data(), frame.size());
    m_serial.Pause(kPauseAfterSend);
    m_serial.SetReadTimeout(ReplyTimeout(request.size(), expected, baud));

    std::size_t n = m_serial.Read(reply.data(), static_cast<unsigned>(reply.size()));
    if (n >= 2) n -= 2;
    if (n == expected) {
        const uint16_t got = static_cast<uint16_t>(reply[n] | (reply[n + 1] << 8));
        if (ModbusCrc16(reply.data(), n) != got) throw Failure(command, address, count, 11013u);
    }
    m_serial.Pause(120000 / baud + 1);
    if (n == 0) throw Failure(command, address, count, 11011u);
    // An exception reply is known by its length and the function's bit 7 alone.
    if (n == 3 && (reply[1] & 0x80u) != 0) {
        throw Failure(command, address, count, FormatMessageId(11014, {static_cast<int>(reply[2])}));
    }
    if (n != expected) throw Failure(command, address, count, 11012u);
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

void CModbusInterface::Close() {
    m_serial.Abort();
    std::unique_lock lock(m_mutex);
    m_serial.Close();
    m_connected.store(false);
}
