#include "sim/sim_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "sim/sim_crc.h"

namespace {

constexpr size_t kMaxLine = 1024;
constexpr int kMaxReadCount = 125;
constexpr int kMaxWriteCount = 123;

std::runtime_error SystemError(const char* what) {
    return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

bool IsLetter(uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

// A decimal number of 1 to 6 digits making up the whole text; -1 otherwise.
int ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 6) return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<uint8_t> ExceptionFrame(uint8_t address, uint8_t function, uint8_t code) {
    std::vector<uint8_t> frame = {address, static_cast<uint8_t>(function | 0x80), code};
    SimAppendCrc(frame);
    return frame;
}

uint16_t Word(const std::vector<uint8_t>& frame, size_t at) {
    return static_cast<uint16_t>(frame[at] << 8 | frame[at + 1]);
}

}  // namespace

CSimDevice::CSimDevice(const std::string& modelCode) : CSimDevice(CSimModel::Create(modelCode)) {}

CSimDevice::CSimDevice(std::unique_ptr<CSimModel> model) : m_model(std::move(model)) {
    if (!m_model) throw std::runtime_error("unknown model code");
    OpenPty();
    m_thread = std::thread([this] { Serve(); });
}

CSimDevice::~CSimDevice() {
    m_stop = true;
    Wake();
    m_thread.join();
    CloseLine();
    close(m_wake);
}

void CSimDevice::OpenPty() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) throw SystemError("posix_openpt");
    char name[128] = {};
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || ptsname_r(m_master, name, sizeof name) != 0) {
        const auto error = SystemError("pty slave");
        close(m_master);
        throw error;
    }
    m_slavePath = name;
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_slave < 0 || tcgetattr(m_slave, &raw) != 0) {
        const auto error = SystemError("pty slave open");
        if (m_slave >= 0) close(m_slave);
        close(m_master);
        throw error;
    }
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    tcsetattr(m_slave, TCSANOW, &raw);
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0) {
        const auto error = SystemError("eventfd");
        close(m_slave);
        close(m_master);
        throw error;
    }
}

void CSimDevice::CloseLine() {
    if (m_master >= 0) close(m_master);
    if (m_slave >= 0) close(m_slave);
    m_master = -1;
    m_slave = -1;
}

void CSimDevice::HangUpLocked() {
    CloseLine();
    m_input.clear();
    m_output.clear();
    m_pending.clear();
    m_hungUp = true;
    m_changed.notify_all();
}

void CSimDevice::HangUpAfter(std::chrono::milliseconds delay) {
    m_hangUpAt = Clock::now() + delay;
    if (delay.count() == 0) HangUpLocked();
}

void CSimDevice::Wake() const {
    const uint64_t one = 1;
    // A full counter already means a wake-up is pending.
    [[maybe_unused]] const ssize_t n = write(m_wake, &one, sizeof one);
}

void CSimDevice::SetAddress(uint8_t address) {
    std::lock_guard lock(m_mutex);
    m_address = address;
}

void CSimDevice::SetFrameGap(std::chrono::milliseconds gap) {
    std::lock_guard lock(m_mutex);
    m_gap = gap;
}

uint16_t CSimDevice::GetRegister(int address) const {
    std::lock_guard lock(m_mutex);
    return m_model->GetRegister(address);
}

std::vector<uint16_t> CSimDevice::GetRegisters(int start, int count) const {
    std::lock_guard lock(m_mutex);
    std::vector<uint16_t> values;
    for (int i = 0; i < count; ++i) values.push_back(m_model->GetRegister(start + i));
    return values;
}

void CSimDevice::SetRegister(int address, uint16_t value) {
    std::lock_guard lock(m_mutex);
    m_model->SetRegister(address, value);
}

void CSimDevice::SetRegisters(int start, const std::vector<uint16_t>& values) {
    std::lock_guard lock(m_mutex);
    for (size_t i = 0; i < values.size(); ++i) m_model->SetRegister(start + static_cast<int>(i), values[i]);
}

std::string CSimDevice::GetModelCode() const {
    std::lock_guard lock(m_mutex);
    return m_model->GetModelCode();
}

std::string CSimDevice::GetItem(int group, int item) const {
    std::lock_guard lock(m_mutex);
    return m_model->GetItem(group, item);
}

void CSimDevice::SetItem(int group, int item, std::string value) {
    std::lock_guard lock(m_mutex);
    m_model->SetItem(group, item, std::move(value));
}

void CSimDevice::WithModel(const std::function<void(CSimModel&)>& action) {
    std::lock_guard lock(m_mutex);
    action(*m_model);
}

void CSimDevice::SetScenario(Scenario scenario) {
    std::lock_guard lock(m_mutex);
    m_scenario = std::move(scenario);
    m_liveReads = 0;
}

CSimDevice::Scenario CSimDevice::Steps(std::vector<std::vector<std::pair<int, uint16_t>>> steps) {
    return [steps = std::move(steps)](CSimModel& model, int readIndex) {
        if (steps.empty()) return;
        const size_t step = std::min(static_cast<size_t>(readIndex), steps.size() - 1);
        for (const auto& [address, value] : steps[step]) model.SetRegister(address, value);
    };
}

std::vector<SimRequest> CSimDevice::GetRequests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

size_t CSimDevice::GetRequestCount() const {
    std::lock_guard lock(m_mutex);
    return m_requests.size();
}

bool CSimDevice::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
}

void CSimDevice::SetRequestHook(RequestHook hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

void CSimDevice::InjectFault(const SimFault& fault, size_t first, size_t last) {
    std::lock_guard lock(m_mutex);
    m_faults.push_back({first, last, fault, nullptr});
}

void CSimDevice::InjectFaultNext(const SimFault& fault) {
    std::lock_guard lock(m_mutex);
    const size_t next = m_requests.size();
    m_faults.push_back({next, next, fault, nullptr});
}

void CSimDevice::InjectFaultWhere(const SimFault& fault, std::function<bool(const SimRequest&)> applies) {
    std::lock_guard lock(m_mutex);
    m_faults.push_back({0, kForever, fault, std::move(applies)});
}

void CSimDevice::ClearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

void CSimDevice::SendUnsolicited(std::vector<uint8_t> bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_pending.push_back({Clock::now(), std::move(bytes)});
    }
    Wake();
}

void CSimDevice::HangUp() {
    std::unique_lock lock(m_mutex);
    m_hangUpWanted = true;
    Wake();
    m_changed.wait(lock, [&] { return m_hungUp; });
}

bool CSimDevice::IsHungUp() const {
    std::lock_guard lock(m_mutex);
    return m_hungUp;
}

void CSimDevice::Serve() {
    while (!m_stop) {
        {
            std::lock_guard lock(m_mutex);
            const bool due = m_hangUpWanted || (m_hangUpAt && *m_hangUpAt <= Clock::now());
            if (due && !m_hungUp) HangUpLocked();
        }
        pollfd fds[2] = {{m_wake, POLLIN, 0}, {m_master, 0, 0}};
        nfds_t count = 1;
        if (m_master >= 0) {
            fds[1].events = static_cast<short>(POLLIN | (m_output.empty() ? 0 : POLLOUT));
            count = 2;
        }
        if (poll(fds, count, PollTimeout(Clock::now())) < 0 && errno != EINTR) return;
        if (fds[0].revents & POLLIN) {
            uint64_t value = 0;
            [[maybe_unused]] const ssize_t n = read(m_wake, &value, sizeof value);
        }
        if (count == 2 && (fds[1].revents & POLLIN)) ReadInput();
        if (count == 2 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(fds[1].revents & POLLIN)) {
            std::lock_guard lock(m_mutex);
            HangUpLocked();
        }
        ParseInput();
        const auto now = Clock::now();
        bool gapOver = false;
        {
            std::lock_guard lock(m_mutex);
            gapOver = !m_input.empty() && now - m_lastInput >= m_gap;
            for (auto it = m_pending.begin(); it != m_pending.end();) {
                if (it->due <= now) {
                    m_output.insert(m_output.end(), it->bytes.begin(), it->bytes.end());
                    it = m_pending.erase(it);
                } else {
                    ++it;
                }
            }
        }
        if (gapOver) DropFragment();
        WriteOutput();
    }
}

int CSimDevice::PollTimeout(Clock::time_point now) const {
    std::lock_guard lock(m_mutex);
    std::optional<Clock::time_point> next;
    if (!m_input.empty()) next = m_lastInput + m_gap;
    if (m_hangUpAt && !m_hungUp && (!next || *m_hangUpAt < *next)) next = *m_hangUpAt;
    for (const Pending& pending : m_pending) {
        if (!next || pending.due < *next) next = pending.due;
    }
    if (!next) return -1;
    if (*next <= now) return 0;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    return static_cast<int>(std::min<long long>(wait, 60000));
}

void CSimDevice::ReadInput() {
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n <= 0) return;
        m_input.insert(m_input.end(), buffer, buffer + n);
        m_lastInput = Clock::now();
    }
}

void CSimDevice::WriteOutput() {
    while (!m_output.empty() && m_master >= 0) {
        const ssize_t n = write(m_master, m_output.data(), m_output.size());
        if (n <= 0) return;
        m_output.erase(m_output.begin(), m_output.begin() + n);
    }
}

// Splits the input into Modbus frames (by the length their function code implies) and ASCII lines
// (up to the carriage return). A frame of an unknown function has no known length and waits for the gap.
void CSimDevice::ParseInput() {
    for (;;) {
        while (!m_input.empty() && (m_input.front() == '\r' || m_input.front() == '\n')) {
            m_input.erase(m_input.begin());
        }
        if (m_input.empty()) return;
        if (IsLetter(m_input.front())) {
            const auto end = std::find(m_input.begin(), m_input.end(), '\r');
            if (end == m_input.end()) {
                if (m_input.size() > kMaxLine) DropFragment();
                return;
            }
            std::vector<uint8_t> line(m_input.begin(), end + 1);
            m_input.erase(m_input.begin(), end + 1);
            HandleAscii(std::move(line));
            continue;
        }
        if (m_input.size() < 2) return;
        size_t length = 0;
        if (m_input[1] == 3) {
            length = 8;
        } else if (m_input[1] == 16) {
            if (m_input.size() < 7) return;
            length = 9 + size_t{m_input[6]};
        } else {
            return;
        }
        if (m_input.size() < length) return;
        std::vector<uint8_t> frame(m_input.begin(), m_input.begin() + static_cast<ptrdiff_t>(length));
        m_input.erase(m_input.begin(), m_input.begin() + static_cast<ptrdiff_t>(length));
        HandleModbus(std::move(frame));
    }
}

void CSimDevice::DropFragment() {
    std::vector<uint8_t> bytes;
    bytes.swap(m_input);
    if (bytes.size() >= 4 && !IsLetter(bytes.front()) && bytes[1] != 3 && bytes[1] != 16) {
        HandleModbus(std::move(bytes));
        return;
    }
    SimRequest request;
    request.kind = ESimRequestKind::Fragment;
    request.raw = std::move(bytes);
    request.received = Clock::now();
    Record(request, nullptr);
}

void CSimDevice::Record(SimRequest& request, const std::function<void()>& answer) {
    RequestHook hook;
    {
        std::lock_guard lock(m_mutex);
        request.index = m_requests.size();
        if (answer) answer();
        m_requests.push_back(request);
        hook = m_hook;
        m_changed.notify_all();
    }
    if (hook) hook(request);
}

const SimFault* CSimDevice::FindFault(const SimRequest& request) const {
    for (auto it = m_faults.rbegin(); it != m_faults.rend(); ++it) {
        const bool inRange = request.index >= it->first && request.index <= it->last;
        if (inRange && (!it->applies || it->applies(request))) return &it->fault;
    }
    return nullptr;
}

void CSimDevice::HandleModbus(std::vector<uint8_t> frame) {
    SimRequest request;
    request.received = Clock::now();
    request.crcOk = SimCheckCrc(frame);
    request.address = frame[0];
    request.function = frame[1];
    if (request.function == 3 || request.function == 16) {
        request.kind = request.function == 3 ? ESimRequestKind::Read : ESimRequestKind::Write;
        request.start = Word(frame, 2);
        request.count = Word(frame, 4);
    } else {
        request.kind = ESimRequestKind::OtherFunction;
    }
    if (request.function == 16) {
        for (size_t at = 7; at + 3 < frame.size(); at += 2) request.values.push_back(Word(frame, at));
    }
    request.raw = std::move(frame);
    Record(request, [&] {
        if (!request.crcOk || request.address != m_address) return;
        const SimFault* fault = FindFault(request);
        if (fault && fault->kind == ESimFault::Silence) return;
        if (fault && fault->kind == ESimFault::HangUp) {
            HangUpAfter(fault->delay);
            return;
        }
        std::vector<uint8_t> reply = fault && fault->kind == ESimFault::Exception
                                         ? ExceptionFrame(m_address, request.function, fault->exceptionCode)
                                         : ExecuteModbus(request);
        Reply(std::move(reply), fault, true);
    });
}

std::vector<uint8_t> CSimDevice::ExecuteModbus(const SimRequest& request) {
    const int start = request.start;
    const int count = request.count;
    if (request.kind == ESimRequestKind::Read) {
        if (count < 1 || count > kMaxReadCount) return ExceptionFrame(m_address, 3, kSimIllegalValue);
        bool live = false;
        for (int a = start; a < start + count; ++a)
            live = live || m_model->GetAccess(a) == ESimAccess::ReadOnly;
        if (live && m_scenario) m_scenario(*m_model, m_liveReads++);
        std::vector<uint16_t> values;
        if (const uint8_t code = m_model->ReadRegisters(start, count, values); code != kSimNoException) {
            return ExceptionFrame(m_address, 3, code);
        }
        std::vector<uint8_t> reply = {m_address, 3, static_cast<uint8_t>(2 * count)};
        for (uint16_t value : values) {
            reply.push_back(static_cast<uint8_t>(value >> 8));
            reply.push_back(static_cast<uint8_t>(value & 0xFF));
        }
        SimAppendCrc(reply);
        return reply;
    }
    if (request.kind == ESimRequestKind::Write) {
        if (count < 1 || count > kMaxWriteCount || request.raw[6] != 2 * count ||
            request.values.size() != static_cast<size_t>(count)) {
            return ExceptionFrame(m_address, 16, kSimIllegalValue);
        }
        if (const uint8_t code = m_model->WriteRegisters(start, request.values); code != kSimNoException) {
            return ExceptionFrame(m_address, 16, code);
        }
        std::vector<uint8_t> reply(request.raw.begin(), request.raw.begin() + 6);
        SimAppendCrc(reply);
        return reply;
    }
    return ExceptionFrame(m_address, request.function, kSimIllegalFunction);
}

void CSimDevice::HandleAscii(std::vector<uint8_t> raw) {
    SimRequest request;
    request.kind = ESimRequestKind::Ascii;
    request.received = Clock::now();
    request.line.assign(raw.begin(), raw.end() - 1);
    request.raw = std::move(raw);
    Record(request, [&] {
        const SimFault* fault = FindFault(request);
        if (fault && fault->kind == ESimFault::Silence) return;
        if (fault && fault->kind == ESimFault::HangUp) {
            HangUpAfter(fault->delay);
            return;
        }
        const bool refused = fault && fault->kind == ESimFault::Exception;
        const std::string text = (refused ? std::string("E") : ExecuteAscii(request.line)) + "\r";
        Reply(std::vector<uint8_t>(text.begin(), text.end()), fault, false);
    });
}

std::string CSimDevice::ExecuteAscii(const std::string& line) {
    const char command = line.front();
    const std::string rest = line.substr(1);
    if (command == 'G') {
        const int group = ParseNumber(rest);
        if (group < 0) return "E";
        m_group = group;
        m_item = 0;
        return "Denter item number";
    }
    if (command == 'I') {
        const int item = ParseNumber(rest);
        if (item < 0) return "E";
        m_item = item;
        char text[16];
        std::snprintf(text, sizeof text, "D%02d", item);
        return text;
    }
    if (command == 'D') return m_model->AnswerItem(m_group, m_item, rest);
    return "E";
}

void CSimDevice::Reply(std::vector<uint8_t> reply, const SimFault* fault, bool modbus) {
    auto due = Clock::now();
    if (fault) {
        switch (fault->kind) {
            case ESimFault::BadCrc:
                if (modbus) reply.back() = static_cast<uint8_t>(reply.back() ^ 0x5A);
                break;
            case ESimFault::ShortFrame:
                reply.resize(reply.size() - std::min(fault->trim, reply.size()));
                break;
            case ESimFault::Late: due += fault->delay; break;
            case ESimFault::Garbage:
                reply.insert(reply.begin(), fault->bytes.begin(), fault->bytes.end());
                break;
            case ESimFault::Replace: reply = fault->bytes; break;
            case ESimFault::Chatter:
                for (const uint8_t byte : fault->bytes) m_pending.push_back({due += fault->delay, {byte}});
                reply.clear();
                break;
            case ESimFault::Precede:
                m_pending.push_back({due, fault->bytes});
                due += fault->delay;
                break;
            case ESimFault::Silence:
            case ESimFault::Exception:
            case ESimFault::HangUp: break;
        }
    }
    m_pending.push_back({due, std::move(reply)});
}
