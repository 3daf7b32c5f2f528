#pragma once

#include <cstdint>
#include <string>

class CModbusInterface;

// Who answers behind the port, as the program tells one conditioner from the next: the port, the model
// code and the serial number the device reports. Two conditioners of one model differ by serial only.
struct CDeviceIdentity {
    std::string port;
    std::string modelCode;
    std::string serial;
    bool operator==(const CDeviceIdentity&) const = default;
};

// The model code the device reports: one character in the low byte of each of four registers.
inline constexpr uint16_t kRegModelCode = 2074;
inline constexpr int32_t kModelCodeLength = 4;

// Each reads from the device behind `modbus`; the caller holds the Modbus lock. A link failure is thrown.
std::string ReadModelCode(CModbusInterface& modbus);
std::string ReadSerial(CModbusInterface& modbus);
CDeviceIdentity ReadDeviceIdentity(CModbusInterface& modbus);
// The identity of what `modbus` reached with the given model code and serial number.
CDeviceIdentity MakeDeviceIdentity(CModbusInterface& modbus, std::string modelCode, std::string serial);
