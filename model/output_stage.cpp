#include "model/output_stage.h"

#include "link/modbus_interface.h"
#include "link/private_exception.h"
#include "model/par_type_v.h"
#include "platform/c_number.h"
#include "platform/message_format.h"

namespace {

constexpr int32_t kRegBurnoutValue = 2059;
constexpr int32_t kRegPresentOutput = 2071;

void ReadRegister(CParTypeV& set, CModbusInterface& modbus, int32_t reg) {
    modbus.ReadHoldingRegister(static_cast<uint16_t>(reg), 1, set.Registers(reg, 1).data());
}

void WriteRegister(CParTypeV& set, CModbusInterface& modbus, int32_t reg) {
    modbus.WriteMultipleRegisters(static_cast<uint16_t>(reg), 1, set.Registers(reg, 1).data());
}

}  // namespace

void CheckBurnoutValue(const CParTypeV& set, int32_t code, int32_t value) {
    if ((value >= 37500 && value <= 38000) || (value >= 215000 && value <= 230000)) return;
    const auto window = [&](int32_t low, int32_t high) {
        return set.FormatValue(code, low, false) + "-" + set.FormatValue(code, high, false);
    };
    throw CPrivateException(
        FormatMessageId(228, {set.GetParamName(code), window(37500, 38000), window(215000, 230000)}));
}

uint16_t OutputToRegister(int32_t value) {
    const int64_t counts = (int64_t{value} * 40000 - 1600000000) / 160000 + 10000;
    return static_cast<uint16_t>(static_cast<uint64_t>(counts) & 0xFFFFu);
}

int32_t RegisterToOutput(uint16_t reg) { return (int32_t{reg} - 10000) * 4 + 40000; }

uint32_t DeviceStatusBits(uint16_t deviceStatus) {
    uint32_t bits = 0;
    if (deviceStatus & 1u) bits |= kStatusBurnout;
    if (deviceStatus & 2u) bits |= kStatusAdError;
    if (deviceStatus & 4u) bits |= kStatusRomError;
    return bits;
}

bool HoldOutput(CParTypeV& set, CModbusInterface& modbus) {
    ReadRegister(set, modbus, CParTypeV::kRegDeviceStatus);
    const bool burnout = (set.Registers(CParTypeV::kRegDeviceStatus, 1)[0] & 1u) != 0;
    const int32_t source = burnout ? kRegBurnoutValue : kRegPresentOutput;
    ReadRegister(set, modbus, source);
    set.Registers(CParTypeV::kRegOutputHold, 1)[0] = set.Registers(source, 1)[0];
    WriteRegister(set, modbus, CParTypeV::kRegOutputHold);
    return burnout;
}

void ReleaseOutput(CParTypeV& set, CModbusInterface& modbus) {
    set.Registers(CParTypeV::kRegOutputHold, 1)[0] = 0;
    WriteRegister(set, modbus, CParTypeV::kRegOutputHold);
}

int32_t GetLowFirst(std::span<const uint16_t> regs, std::size_t index) {
    return static_cast<int32_t>(uint32_t{regs[2 * index + 1]} << 16 | regs[2 * index]);
}

void SetLowFirst(std::span<uint16_t> regs, std::size_t index, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    regs[2 * index] = static_cast<uint16_t>(bits & 0xFFFFu);
    regs[2 * index + 1] = static_cast<uint16_t>(bits >> 16);
}

int32_t OutputPercent(int32_t outputValue) {
    return SaturateInt32((int64_t{outputValue} - 40000) / 16 * 100);
}
