#include <cstdint>
#include <string>
#include <string_view>

#include "link/modbus_interface.h"
#include "model/set/par_type_v.h"
#include "platform/admin_mode.h"
#include "platform/c_number.h"

namespace {

// Blocks of the transfer parts.
constexpr int32_t kBasicCount = 12;
constexpr int32_t kParamBasicCount = 7;  // 1280 to 1286: what a single basic parameter writes
constexpr int32_t kStageCount = 9;
constexpr int32_t kCoefficientBlockCount = 7;
constexpr int32_t kFineAdjustCount = 4;
constexpr int32_t kTagReadCount = 16;
constexpr int32_t kSerialHardwareCount = 9;
constexpr int32_t kStatusBlockCount = 7;

// A character of a device's text as the set keeps it: a line end, which no line of a configuration file
// can carry, becomes a blank, as the file would make it.
char TextCharacter(unsigned char c) { return c == '\r' || c == '\n' ? ' ' : static_cast<char>(c); }

}  // namespace

uint16_t CParTypeV::DampingCoefficient(uint32_t damping) {
    // No damping means no filtering; the series would start from an infinite x.
    if (damping == 0) return 0;
    const double t = damping / 10000.0;
    const double x = -0.4 / t;
    // The device expects exactly this truncated series, overshoot below about 0.14 s included.
    double a = x / 7 + 1;
    a = a * x / 6 + 1;
    a = a * x / 5 + 1;
    a = a * x * 0.25 + 1;
    a = a * x / 3 + 1;
    a = a * x * 0.5 + 1;
    const double e = a * x + 1;
    const int32_t c = ToInt32Trunc((1 - e) * 65536);
    return static_cast<uint16_t>(static_cast<uint32_t>(c) & 0xFFFFu);
}

int32_t CParTypeV::GetRegisterSigned(int32_t reg) const { return static_cast<int16_t>(GetRegister(reg)); }

void CParTypeV::SetRegisterLow(int32_t reg, int32_t value) {
    SetRegister(reg, static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
}

int32_t CParTypeV::GetRegisterPair(int32_t high) const {
    const auto regs = Registers(high, 2);
    return static_cast<int32_t>(uint32_t{regs[0]} << 16 | regs[1]);
}

void CParTypeV::SetRegisterPair(int32_t high, int32_t value) {
    const auto regs = Registers(high, 2);
    const auto bits = static_cast<uint32_t>(value);
    regs[0] = static_cast<uint16_t>(bits >> 16);
    regs[1] = static_cast<uint16_t>(bits & 0xFFFFu);
}

void CParTypeV::SetRegisterText(int32_t start, int32_t count, std::string_view text) {
    const auto regs = Registers(start, count);
    for (size_t i = 0; i < regs.size(); ++i)
        regs[i] = i < text.size() ? static_cast<unsigned char>(text[i]) : uint16_t{0};
}

std::string CParTypeV::GetRegisterText(int32_t start, int32_t count) const {
    std::string text;
    for (const uint16_t reg : Registers(start, count)) {
        const auto c = static_cast<unsigned char>(reg & 0xFFu);
        if (c == 0) break;
        text.push_back(TextCharacter(c));
    }
    return text;
}

void CParTypeV::ReadBlock(CModbusInterface& modbus, int32_t start, int32_t count, int32_t steps) {
    const auto regs = Registers(start, count);
    modbus.ReadHoldingRegister(static_cast<uint16_t>(start), count, regs.data());
    AddProgress(steps);
}

void CParTypeV::WriteBlock(CModbusInterface& modbus, int32_t start, int32_t count, int32_t steps) {
    const auto regs = Registers(start, count);
    modbus.WriteMultipleRegisters(static_cast<uint16_t>(start), count, regs.data());
    AddProgress(steps);
}

void CParTypeV::EncodeFineAdjust() {
    ParamToRegisters(kInputFineZero);
    SetRegisterLow(kRegInputFineSpan, m_inputFineSpan);
    SetRegisterLow(kRegOutputFineZero, m_outputFineZero);
    SetRegisterLow(kRegOutputFineSpan, m_outputFineSpan);
}

void CParTypeV::ParamToRegisters(int32_t code) {
    switch (code) {
        case kInputType: SetRegisterLow(kRegBasic, m_inputType); return;
        case kInput0: SetRegisterPair(kRegInput0, m_input0); return;
        case kInput100: SetRegisterPair(kRegInput100, m_input100); return;
        case kDamping:
            SetRegisterLow(kRegDamping, static_cast<int32_t>(m_damping) / 1000);
            SetRegister(kRegDampingCoefficient, DampingCoefficient(m_damping));
            return;
        case kOutput0: SetRegisterLow(kRegOutput0, m_output0 / 10); return;
        case kOutput100: SetRegisterLow(kRegOutput100, m_output100 / 10); return;
        case kInputFineZero: SetRegisterLow(kRegInputFineZero, m_inputFineZero); return;
        case kInputFineSpan: SetRegisterLow(kRegInputFineSpan, m_inputFineSpan); return;
        case kOutputFineZero: SetRegisterLow(kRegOutputFineZero, m_outputFineZero); return;
        case kOutputFineSpan: SetRegisterLow(kRegOutputFineSpan, m_outputFineSpan); return;
        case kTag: {
            const auto regs = Registers(kRegTag, kTagLength / 2);
            const auto byteAt = [this](size_t i) -> uint16_t {
                return i < m_tag.size() ? static_cast<unsigned char>(m_tag[i]) : uint16_t{0};
            };
            for (size_t i = 0; i < regs.size(); ++i)
                regs[i] = static_cast<uint16_t>(byteAt(2 * i) | byteAt(2 * i + 1) << 8);
            return;
        }
        default: break;
    }
    // Identity travels to the device only in the administrator mode.
    if (!IsAdminMode()) return;
    switch (code) {
        case kModel: SetRegisterText(kRegModel, kModelLength, GetModelText()); return;
        case kSerial: SetRegisterText(kRegSerial, kSerialLength, m_serial); return;
        case kHardware: SetRegisterLow(kRegHardware, m_hardware); return;
        default: return;
    }
}

void CParTypeV::RegistersToParam(int32_t code) {
    switch (code) {
        case kInputType: SetValue(kInputType, GetRegister(kRegBasic), false); return;
        case kInput0: m_input0 = GetRegisterPair(kRegInput0); return;
        case kInput100: m_input100 = GetRegisterPair(kRegInput100); return;
        // The basic block does not carry these two; a Modbus read always resets them.
        case kResponseSpeed: SetValue(kResponseSpeed, 0, false); return;
        case kOutputType: SetValue(kOutputType, 0, false); return;
        case kDamping: SetValue(kDamping, GetRegister(kRegDamping) * 1000, false); return;
        case kOutput0: m_output0 = GetRegister(kRegOutput0) * 10; return;
        case kOutput100: m_output100 = GetRegister(kRegOutput100) * 10; return;
        case kTag: {
            std::string tag;
            for (const uint16_t reg : Registers(kRegTag, kTagLength / 2)) {
                const auto low = static_cast<unsigned char>(reg & 0xFFu);
                const auto high = static_cast<unsigned char>(reg >> 8);
                if (low == 0) break;
                tag.push_back(TextCharacter(low));
                if (high == 0) break;
                tag.push_back(TextCharacter(high));
            }
            m_tag = tag;
            return;
        }
        case kModel:
            // The universal model's input kinds report "K9U" whatever the registers hold.
            m_model = IsUniversalType(GetTypeId()) ? std::string("K9U")
                                                   : GetRegisterText(kRegModel, kModelLength);
            return;
        case kSerial: m_serial = GetRegisterText(kRegSerial, kSerialLength); return;
        case kHardware: m_hardware = GetRegister(kRegHardware); return;
        case kFirmware: m_firmware = GetRegister(kRegFirmware); return;
        default: return;
    }
}

void CParTypeV::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    ParamToRegisters(code);
    switch (code) {
        case kInputFineZero: WriteBlock(modbus, kRegInputFineZero, 1); return;
        case kInput0: WriteBlock(modbus, kRegInput0, 2); return;
        case kInput100: WriteBlock(modbus, kRegInput100, 2); return;
        case kDamping:
            WriteBlock(modbus, kRegDamping, 1);
            WriteBlock(modbus, kRegDampingCoefficient, 1);
            return;
        case kTag: WriteBlock(modbus, kRegTag, kTagLength / 2); return;
        case kModel:
            if (IsAdminMode()) WriteBlock(modbus, kRegModel, kModelLength);
            return;
        case kSerial:
            if (IsAdminMode()) WriteBlock(modbus, kRegSerial, kSerialLength);
            return;
        case kHardware:
            if (IsAdminMode()) WriteBlock(modbus, kRegHardware, 1);
            return;
        case kInputFineSpan: WriteBlock(modbus, kRegInputFineSpan, 1); return;
        case kOutputFineZero: WriteBlock(modbus, kRegOutputFineZero, 1); return;
        case kOutputFineSpan: WriteBlock(modbus, kRegOutputFineSpan, 1); return;
        default: WriteBlock(modbus, kRegBasic, kParamBasicCount); return;
    }
}

void CParTypeV::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    switch (code) {
        case kTag: ReadBlock(modbus, kRegTag, kTagReadCount); break;
        case kModel: ReadBlock(modbus, kRegModel, kModelLength); break;
        case kSerial: ReadBlock(modbus, kRegSerial, kSerialLength); break;
        case kHardware: ReadBlock(modbus, kRegHardware, 1); break;
        case kFirmware: ReadBlock(modbus, kRegFirmware, 1); break;
        default: ReadBlock(modbus, kRegBasic, kBasicCount); break;
    }
    RegistersToParam(code);
}

void CParTypeV::DownloadModbus(CModbusInterface& modbus, int32_t part) {
    if (Runs(part, kPartBasic)) {
        const int32_t rows = GetParamCount(kGroupBasic);
        for (int32_t i = 0; i < rows; ++i) ParamToRegisters(GetParamId(kGroupBasic, i));
        // The coefficient block reaches into the fine adjustment: it must carry the set's own values,
        // never what an earlier upload or a fresh image left there.
        EncodeFineAdjust();
        WriteBlock(modbus, kRegBasic, kBasicCount);
        WriteBlock(modbus, kRegDampingCoefficient, kCoefficientBlockCount, rows);
    }
    if (Runs(part, kPartFineAdjust)) {
        EncodeFineAdjust();
        WriteBlock(modbus, kRegInputFineZero, kFineAdjustCount, 4);
    }
    if (Runs(part, kPartIdentity)) {
        ParamToRegisters(kTag);
        WriteBlock(modbus, kRegTag, kTagLength / 2, 1);
        if (IsAdminMode()) {
            ParamToRegisters(kModel);
            WriteBlock(modbus, kRegModel, kModelLength, 1);
            ParamToRegisters(kSerial);
            ParamToRegisters(kHardware);
            WriteBlock(modbus, kRegSerial, kSerialHardwareCount, 2);
        }
    }
}

void CParTypeV::UploadModbus(CModbusInterface& modbus, int32_t part) {
    if (Runs(part, kPartBasic)) {
        ReadBlock(modbus, kRegBasic, kBasicCount);
        ReadBlock(modbus, kRegStage, kStageCount, 7);
        const int32_t rows = GetParamCount(kGroupBasic);
        for (int32_t i = 0; i < rows; ++i) RegistersToParam(GetParamId(kGroupBasic, i));
    }
    if (Runs(part, kPartFineAdjust)) {
        ReadBlock(modbus, kRegInputFineZero, kFineAdjustCount, 4);
        RegistersToParam(kInputFineZero);
        m_inputFineSpan = GetRegisterSigned(kRegInputFineSpan);
        SetValue(kOutputFineZero, GetRegisterSigned(kRegOutputFineZero), false);
        SetValue(kOutputFineSpan, GetRegisterSigned(kRegOutputFineSpan), false);
    }
    if (Runs(part, kPartIdentity)) {
        ReadBlock(modbus, kRegTag, kTagReadCount, 1);
        RegistersToParam(kTag);
        ReadBlock(modbus, kRegModel, kModelLength, 1);
        RegistersToParam(kModel);
    }
    if (Runs(part, kPartStatus)) {
        ReadBlock(modbus, kRegSerial, kSerialHardwareCount, 2);
        ReadBlock(modbus, kRegOutputHold, kStatusBlockCount, 2);
        RegistersToParam(kSerial);
        RegistersToParam(kHardware);
        RegistersToParam(kFirmware);
        const uint16_t deviceStatus = GetRegister(kRegDeviceStatus);
        uint32_t status = GetStatus() & ~uint32_t{kStatusLooptest | kStatusBurnout | kStatusAdError};
        if (GetRegister(kRegOutputHold) != 0) status |= kStatusLooptest;
        if (deviceStatus & 1u) status |= kStatusBurnout;
        if (deviceStatus & 2u) status |= kStatusAdError;
        SetStatus(status);
    }
}
