#include "model/device/device_identity.h"

#include <array>

#include "link/modbus_interface.h"
#include "model/set/par_type_v.h"

std::string ReadModelCode(CModbusInterface& modbus) {
    std::array<uint16_t, kModelCodeLength> regs{};
    modbus.ReadHoldingRegister(kRegModelCode, kModelCodeLength, regs.data());
    std::string code;
    for (uint16_t reg : regs) code.push_back(static_cast<char>(reg & 0xFFu));
    return code;
}

std::string ReadSerial(CModbusInterface& modbus) {
    // Decoded as every set decodes it, so that it compares with what an identification read.
    CParTypeV scratch;
    scratch.ReadParamModbus(modbus, CParTypeV::kSerial);
    return scratch.GetValueString(CParTypeV::kSerial);
}

CDeviceIdentity ReadDeviceIdentity(CModbusInterface& modbus) {
    std::string code = ReadModelCode(modbus);
    return MakeDeviceIdentity(modbus, std::move(code), ReadSerial(modbus));
}

CDeviceIdentity MakeDeviceIdentity(CModbusInterface& modbus, std::string modelCode, std::string serial) {
    return {modbus.GetSerial().GetSettings().GetPortName(), std::move(modelCode), std::move(serial)};
}
