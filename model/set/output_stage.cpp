#include "model/set/output_stage.h"

#include "link/modbus_interface.h"
#include "link/private_exception.h"
#include "platform/c_number.h"
#include "platform/message_format.h"
#include "res/string_ids.h"

namespace {

constexpr uint16_t kBurnoutBit = 0x0008;

bool IsCurrentCode(int32_t code) {
    return code == CParOutputStage::kBurnoutValue || code == CParOutputStage::kOutputHigh ||
           code == CParOutputStage::kOutputLow;
}

// The register of a code of the stage; 0 for any other code.
int32_t RegisterOf(int32_t code) {
    switch (code) {
        case CParOutputStage::kBurnout: return CParOutputStage::kRegStageBits;
        case CParOutputStage::kBurnoutValue: return CParOutputStage::kRegBurnoutValue;
        case CParOutputStage::kOutputHigh: return CParOutputStage::kRegOutputHigh;
        case CParOutputStage::kOutputLow: return CParOutputStage::kRegOutputLow;
        default: return 0;
    }
}

}  // namespace

CParOutputStage::CParOutputStage(uint16_t keep, uint16_t set) : m_burnoutKeep(keep), m_burnoutSet(set) {}

void CParOutputStage::CopyStage(const CParOutputStage& src) {
    m_burnout = src.m_burnout;
    m_burnoutValue = src.m_burnoutValue;
    m_outputHigh = src.m_outputHigh;
    m_outputLow = src.m_outputLow;
    m_outputFollowsInput = src.m_outputFollowsInput;
}

void CParOutputStage::SetLiveOutput(int32_t outputValue, bool forced) {
    if (!forced && m_outputFollowsInput) m_inputPercent = m_outputPercent;
    m_outputValue = outputValue;
    m_outputPercent = OutputPercent(outputValue);
    m_outputFollowsInput = !forced;
}

int32_t CParOutputStage::GetValue(int32_t code) const {
    switch (code) {
        case kBurnout: return m_burnout;
        case kBurnoutValue: return m_burnoutValue;
        case kOutputHigh: return m_outputHigh;
        case kOutputLow: return m_outputLow;
        default: return CParTypeV::GetValue(code);
    }
}

void CParOutputStage::SetValue(int32_t code, int32_t value, bool check) {
    switch (code) {
        case kBurnout:
            if (check) CheckChoice(code, value);
            m_burnout = value;
            return;
        case kBurnoutValue: {
            // Within 3.75 to 3.8 mA or 21.5 to 23 mA; the message names both windows.
            if (check && (value < 37500 || value > 38000) && (value < 215000 || value > 230000)) {
                const auto window = [&](int32_t low, int32_t high) {
                    return FormatValue(code, low, false) + "-" + FormatValue(code, high, false);
                };
                throw CPrivateException(
                    FormatMessageId(kStrValueEitherWindow,
                                    {GetParamName(code), window(37500, 38000), window(215000, 230000)}));
            }
            m_burnoutValue = value;
            return;
        }
        case kOutputHigh:
            if (check) CheckRange(code, value, 200000, 215000);
            m_outputHigh = value;
            return;
        case kOutputLow:
            if (check) CheckRange(code, value, 38000, 40000);
            m_outputLow = value;
            return;
        default: CParTypeV::SetValue(code, value, check); return;
    }
}

void CParOutputStage::SetValueFromString(int32_t code, const std::string& text, bool check) {
    if (code == kBurnout) return SetValue(code, ParseInt32(text), check);
    CParTypeV::SetValueFromString(code, text, check);
}

std::string CParOutputStage::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    if (code == kBurnout) return ChoiceText(kStrBurnoutChoices, 2, value);
    if (!IsCurrentCode(code)) return CParTypeV::FormatValue(code, value, withUnit);
    const std::string text = FormatRawValue(code, value);
    return withUnit ? WithUnit(text, GetOutputUnit()) : text;
}

std::string CParOutputStage::FormatRawValue(int32_t code, int32_t value) const {
    if (code == kBurnout) return FormatC("%d", value);
    return CParTypeV::FormatRawValue(code, value);
}

std::string CParOutputStage::GetValueString(int32_t code) const {
    if (RegisterOf(code) != 0) return FormatRawValue(code, GetValue(code));
    return CParTypeV::GetValueString(code);
}

void CParOutputStage::ParamToRegisters(int32_t code) {
    switch (code) {
        case kBurnout: {
            const auto keep = static_cast<uint16_t>(GetRegister(kRegStageBits) & m_burnoutKeep & 0x00FFu);
            SetRegister(kRegStageBits,
                        static_cast<uint16_t>(keep | m_burnoutSet | (m_burnout != 0 ? kBurnoutBit : 0)));
            return;
        }
        case kBurnoutValue: SetRegister(kRegBurnoutValue, OutputToRegister(m_burnoutValue)); return;
        case kOutputHigh: SetRegister(kRegOutputHigh, OutputToRegister(m_outputHigh)); return;
        case kOutputLow: SetRegister(kRegOutputLow, OutputToRegister(m_outputLow)); return;
        default: CParTypeV::ParamToRegisters(code); return;
    }
}

void CParOutputStage::RegistersToParam(int32_t code) {
    if (code == kBurnout) {
        m_burnout = (GetRegister(kRegStageBits) & kBurnoutBit) != 0 ? 1 : 0;
        return;
    }
    if (!IsCurrentCode(code)) return CParTypeV::RegistersToParam(code);
    // Stored as the device holds it: a device outside the typed ranges must still be reachable.
    SetValue(code, RegisterToOutput(GetRegister(RegisterOf(code))), false);
}

void CParOutputStage::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    const int32_t reg = RegisterOf(code);
    if (reg == 0) return CParTypeV::WriteParamModbus(modbus, code);
    ParamToRegisters(code);
    WriteBlock(modbus, reg, 1);
}

void CParOutputStage::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    const int32_t reg = RegisterOf(code);
    if (reg == 0) return CParTypeV::ReadParamModbus(modbus, code);
    ReadBlock(modbus, reg, 1);
    RegistersToParam(code);
}

void CParOutputStage::DownloadWithOutputHeld(CModbusInterface& modbus,
                                             const std::function<void()>& download) {
    ReadBlock(modbus, kRegDeviceStatus, 1);
    const bool burnout = (GetRegister(kRegDeviceStatus) & 1u) != 0;
    SetStatus(burnout ? GetStatus() | kStatusBurnout : GetStatus() & ~uint32_t{kStatusBurnout});
    const int32_t source = burnout ? kRegBurnoutValue : kRegPresentOutput;
    ReadBlock(modbus, source, 1);
    // From the write of the hold on, the device may hold its output, even when that write's reply is lost.
    const auto release = [&] {
        try {
            SetRegister(kRegOutputHold, 0);
            WriteBlock(modbus, kRegOutputHold, 1);
        } catch (const std::exception& e) {
            throw CPrivateException(FormatMessageId(kStrOutputStillHeld, {e.what()}));
        }
    };
    try {
        SetRegister(kRegOutputHold, GetRegister(source));
        WriteBlock(modbus, kRegOutputHold, 1);
        download();
    } catch (const std::exception& failure) {
        try {
            release();
        } catch (const std::exception& releaseFailure) {
            throw CPrivateException(std::string(failure.what()) + "\n" + releaseFailure.what());
        }
        throw;
    }
    release();
}

void CParOutputStage::DownloadFramed(CModbusInterface& modbus, int32_t part, const DownloadFrame& frame,
                                     const std::function<void()>& download) {
    struct RestoreTotal {
        CParOutputStage& set;
        int32_t total;
        ~RestoreTotal() { set.SetProgressTotal(total); }
    } restoreTotal{*this, frame.keptTotal};
    if (part != kPartAll) return download();
    if (frame.kind != 0) {
        SetRegister(kRegKind, frame.kind);
        WriteBlock(modbus, kRegKind, 1);
    }
    SetProgressTotal(frame.total);
    DownloadWithOutputHeld(modbus, download);
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
