#include "link/line_lend.h"

#include "link/comm_interface.h"
#include "link/modbus_interface.h"

CLineLend::CLineLend(CCommInterface& ascii, CModbusInterface* modbus)
    : m_ascii(ascii), m_asciiLock(ascii.GetMutex()) {
    if (modbus == nullptr) return;
    m_modbusLock = modbus->LockCuttingIn();
    // A late Modbus reply still in the buffer would be read as the first ASCII reply.
    modbus->GetSerial().PurgeInput();
    m_ascii.UseLine(&modbus->GetSerial());
}

CLineLend::~CLineLend() {
    if (m_modbusLock.owns_lock()) m_ascii.UseLine(nullptr);
}
