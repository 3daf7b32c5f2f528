#pragma once

#include <mutex>

class CCommInterface;
class CModbusInterface;

// While it lives, the ASCII interface talks over the line the Modbus interface holds open: the port is
// opened exclusively, so a second open would fail, and both protocols use the same line settings. It
// holds the ASCII lock and then the Modbus lock, so the poll waits between its exchanges and no Modbus
// frame can come between an ASCII command and its reply. It takes the Modbus lock as a user's write does
// (CModbusInterface::LockCuttingIn): the window that opens a lend waits for a healthy poll to end, but
// not for a poll's attempts at a silent device. Without a Modbus interface it holds the ASCII lock only
// and the ASCII interface keeps its own port.
class CLineLend {
public:
    CLineLend(CCommInterface& ascii, CModbusInterface* modbus);
    ~CLineLend();
    CLineLend(const CLineLend&) = delete;
    CLineLend& operator=(const CLineLend&) = delete;

private:
    CCommInterface& m_ascii;
    std::unique_lock<std::recursive_mutex> m_asciiLock;
    std::unique_lock<std::recursive_mutex> m_modbusLock;
};
