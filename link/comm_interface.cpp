#include "link/comm_interface.h"

#include <algorithm>

#include "link/private_exception.h"
#include "platform/c_number.h"
#include "platform/message_format.h"
#include "res/string_ids.h"

CCommInterface::CCommInterface() : CCommInterface(CComSettings()) {}

CCommInterface::CCommInterface(const CComSettings& settings) : m_serial(settings) {}

CCommInterface::~CCommInterface() { Close(); }

void CCommInterface::SendCommand(const std::string& command, std::string& reply, unsigned timeoutMs) {
    m_line->SetReadTimeout(timeoutMs);
    m_line->PurgeInput();
    m_line->Write(command.data(), command.size());
    try {
        reply = m_line->ReadLine();
    } catch (const CException&) {
        // A line that hung up says so, the lent one included, also when it goes while the line is drained;
        // anything else is a reply that did not come, and must not be taken for the answer to the next
        // command when it comes after all. A lost line refuses every later command unsent.
        if (m_line->IsLineLost()) throw;
        m_line->DrainUntilQuiet(kPauseAfterTimeout, CSerialIO::kReadIntervalTimeout,
                                std::max(kPauseAfterTimeout, timeoutMs));
        throw CPrivateException(kStrReplyTimeout);
    }
}

std::string CCommInterface::SendAccepted(const std::string& command, unsigned timeoutMs) {
    std::string reply;
    SendCommand(command, reply, timeoutMs);
    if (reply.empty() || reply[0] != 'D') {
        const std::string shown = command.substr(0, command.find('\r'));
        throw CPrivateException(FormatMessageId(kStrCommandRefused, {shown}));
    }
    return reply;
}

void CCommInterface::SelectGroup(int32_t group) {
    std::string reply;
    SendCommand(FormatC("G%02d\r", group), reply, kCommandTimeout);
    if (reply.rfind("Denter item", 0) != 0) throw CPrivateException(kStrBadGReply);
}

void CCommInterface::SelectItem(int32_t item) {
    std::string reply;
    SendCommand(FormatC("I%02d\r", item), reply, kCommandTimeout);
    if (reply.empty() || reply[0] != 'D') throw CPrivateException(kStrBadIReply);
}

std::string CCommInterface::WriteItem(int32_t item, const std::string& value, unsigned timeoutMs) {
    SelectItem(item);
    std::string reply;
    SendCommand("D" + value + "\r", reply, timeoutMs);
    return reply.empty() ? std::string() : reply.substr(1);
}

std::string CCommInterface::ReadItem(int32_t item) {
    SelectItem(item);
    std::string reply;
    SendCommand("D\r", reply, kCommandTimeout);
    if (reply.empty() || reply[0] != 'D') throw CPrivateException(kStrBadDReply);
    return reply.substr(1);
}

void CCommInterface::Close() {
    m_serial.Abort();
    std::unique_lock lock(m_mutex);
    m_serial.Close();
    m_portOpen.store(false);
}
