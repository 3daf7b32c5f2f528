#include "model/par_universal.h"

#include <algorithm>

#include "link/modbus_interface.h"
#include "model/monitor_decode.h"
#include "model/output_stage.h"
#include "platform/c_number.h"

namespace {

bool Runs(int32_t part, int32_t wanted) { return part == wanted || part == kPartAll; }

// Registers 2058 to 2062 travel as one block; 2055 to 2063 and 2069 to 2079 as the monitor blocks.
constexpr int32_t kStageCount = 5;
constexpr int32_t kMonitorCount = 11;
constexpr int32_t kStageReadCount = 9;

}  // namespace

CParUniversal::CParUniversal(char kind, std::initializer_list<int32_t> stageCodes, int32_t fineZeroDivisor)
    : m_kind(kind), m_fineZeroDivisor(fineZeroDivisor) {
    for (const int32_t code : stageCodes)
        if (m_stageCodeCount < static_cast<int32_t>(std::size(m_stageCodes))) m_stageCodes[m_stageCodeCount++] = code;
}

void CParUniversal::CopyStage(const CParUniversal& src) {
    m_burnoutValue = src.m_burnoutValue;
    m_burnout = src.m_burnout;
    m_range = src.m_range;
    m_outputHigh = src.m_outputHigh;
    m_outputLow = src.m_outputLow;
}

int32_t CParUniversal::GetValue(int32_t code) const {
    switch (code) {
        case kBurnout: return m_burnout;
        case kRange: return m_range;
        case kBurnoutValue: return m_burnoutValue;
        case kOutputHigh: return m_outputHigh;
        case kOutputLow: return m_outputLow;
        default: return CParTypeV::GetValue(code);
    }
}

void CParUniversal::SetValue(int32_t code, int32_t value, bool check) {
    // The output stage is checked whatever `check` says; an upload decodes the registers directly.
    switch (code) {
        case kBurnout: m_burnout = value; return;
        case kRange: m_range = value; return;
        case kBurnoutValue:
            CheckBurnoutValue(*this, code, value);
            m_burnoutValue = value;
            return;
        case kOutputHigh:
            CheckRange(code, value, 200000, 215000);
            m_outputHigh = value;
            return;
        case kOutputLow:
            CheckRange(code, value, 38000, 40000);
            m_outputLow = value;
            return;
        default: CParTypeV::SetValue(code, value, check); return;
    }
}

void CParUniversal::SetValueFromString(int32_t code, const std::string& text, bool check) {
    if (code == kBurnout || code == kRange) return SetValue(code, ParseInt32(text), check);
    CParTypeV::SetValueFromString(code, text, check);
}

std::string CParUniversal::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    switch (code) {
        case kBurnout: return ChoiceText(2105, 2, value);
        case kBurnoutValue:
        case kOutputHigh:
        case kOutputLow: {
            const std::string text = FormatRawValue(code, value);
            return withUnit ? WithUnit(text, GetOutputUnit()) : text;
        }
        default: return CParTypeV::FormatValue(code, value, withUnit);
    }
}

std::string CParUniversal::FormatRawValue(int32_t code, int32_t value) const {
    if (code == kBurnout || code == kSensorWires || code == kRange) return FormatC("%d", value);
    return CParTypeV::FormatRawValue(code, value);
}

std::string CParUniversal::GetValueString(int32_t code) const {
    switch (code) {
        case kBurnout:
        case kRange:
        case kBurnoutValue:
        case kOutputHigh:
        case kOutputLow:
            return FormatRawValue(code, GetValue(code));
        case kInputLive:
            if (GetStatus() != 0) return GetValueString(kStatusText);
            return CParTypeV::GetValueString(code);
        default: return CParTypeV::GetValueString(code);
    }
}

void CParUniversal::WriteParamAscii(CCommInterface&, int32_t) {}
void CParUniversal::ReadParamAscii(CCommInterface&, int32_t) {}
void CParUniversal::DownloadAscii(CCommInterface&, int32_t) {}
void CParUniversal::UploadAscii(CCommInterface&, int32_t) {}

std::string CParUniversal::GetTableTitle(int32_t, int32_t) const { return std::string(); }
void CParUniversal::EditTable(int32_t, int32_t) {}
void CParUniversal::EditTable2(int32_t, int32_t) {}

void CParUniversal::ParamToRegisters(int32_t code) {
    switch (code) {
        case kBurnoutValue: SetRegister(kRegBurnoutValue, OutputToRegister(m_burnoutValue)); return;
        case kOutputHigh: SetRegister(kRegOutputHigh, OutputToRegister(m_outputHigh)); return;
        case kOutputLow: SetRegister(kRegOutputLow, OutputToRegister(m_outputLow)); return;
        case kInputFineZero: SetRegisterLow(kRegInputFineZero, m_inputFineZero / m_fineZeroDivisor); return;
        case kInputType: SetRegisterLow(kRegBasic, SaturateInt32(int64_t{m_inputType} + TypeOffset())); return;
        default: CParTypeV::ParamToRegisters(code); return;
    }
}

void CParUniversal::RegistersToParam(int32_t code) {
    switch (code) {
        case kInputType: SetValue(kInputType, GetRegister(kRegBasic) - TypeOffset(), false); return;
        case kBurnoutValue: m_burnoutValue = RegisterToOutput(GetRegister(kRegBurnoutValue)); return;
        case kOutputHigh: m_outputHigh = RegisterToOutput(GetRegister(kRegOutputHigh)); return;
        case kOutputLow: m_outputLow = RegisterToOutput(GetRegister(kRegOutputLow)); return;
        case kInputFineZero:
            m_inputFineZero = SaturateInt32(int64_t{GetRegisterSigned(kRegInputFineZero)} * m_fineZeroDivisor);
            return;
        default: CParTypeV::RegistersToParam(code); return;
    }
}

void CParUniversal::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    switch (code) {
        case kBurnout:
        case kSensorWires:
        case kRange:
            ParamToRegisters(code);
            WriteBlock(modbus, kRegKindFlags, 1);
            return;
        case kBurnoutValue:
            ParamToRegisters(code);
            WriteBlock(modbus, kRegBurnoutValue, 1);
            return;
        case kOutputHigh:
            ParamToRegisters(code);
            WriteBlock(modbus, kRegOutputHigh, 1);
            return;
        case kOutputLow:
            ParamToRegisters(code);
            WriteBlock(modbus, kRegOutputLow, 1);
            return;
        default: CParTypeV::WriteParamModbus(modbus, code); return;
    }
}

void CParUniversal::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    int32_t reg = 0;
    switch (code) {
        case kBurnout:
        case kSensorWires:
        case kRange: reg = kRegKindFlags; break;
        case kBurnoutValue: reg = kRegBurnoutValue; break;
        case kOutputHigh: reg = kRegOutputHigh; break;
        case kOutputLow: reg = kRegOutputLow; break;
        default: CParTypeV::ReadParamModbus(modbus, code); return;
    }
    ReadBlock(modbus, reg, 1);
    RegistersToParam(code);
}

void CParUniversal::DownloadModbus(CModbusInterface& modbus, int32_t part) {
    SetRegister(kRegKind, static_cast<uint16_t>(m_kind));
    WriteBlock(modbus, kRegKind, 1);
    ReadBlock(modbus, kRegDeviceStatus, 1);
    const bool burnout = (GetRegister(kRegDeviceStatus) & 1u) != 0;
    SetStatus(burnout ? GetStatus() | kStatusBurnout : GetStatus() & ~uint32_t{kStatusBurnout});
    const int32_t held = burnout ? kRegBurnoutValue : kRegOutput;
    ReadBlock(modbus, held, 1);
    SetRegister(kRegOutputHold, GetRegister(held));
    WriteBlock(modbus, kRegOutputHold, 1);
    for (int32_t i = 0; i < m_stageCodeCount; ++i) ParamToRegisters(m_stageCodes[i]);
    // Register 2060 inside the block is the damping coefficient: sent as the set holds it.
    ParamToRegisters(kDamping);
    WriteBlock(modbus, kRegKindFlags, kStageCount);
    CParTypeV::DownloadModbus(modbus, part);
    SetRegister(kRegOutputHold, 0);
    WriteBlock(modbus, kRegOutputHold, 1);
}

void CParUniversal::UploadModbus(CModbusInterface& modbus, int32_t part) {
    CParTypeV::UploadModbus(modbus, part);
    if (Runs(part, kPartLive)) {
        ReadBlock(modbus, kRegMonitor, kMonitorCount, 2);
        ReadBlock(modbus, kRegStage, kStageReadCount, 6);
        const CMonitorDecode d = DecodeMonitor(GetStatus(), GetRegister(kRegOutput), GetRegister(kRegOutputHold),
                                               GetRegister(kRegDeviceStatus), GetRegister(kRegBurnoutValue));
        SetStatus(d.status);
        if (d.inputFollows) m_inputPercent = m_outputPercent;
        m_outputValue = d.outputValue;
        m_outputPercent = d.outputPercent;
        m_inputValue = InputFromPercent(m_input0, m_input100, m_inputPercent);
    }
    // The stage registers are decoded only when a block that holds them was read.
    if (Runs(part, kPartLive) || Runs(part, kPartBasic))
        for (int32_t i = 0; i < m_stageCodeCount; ++i) RegistersToParam(m_stageCodes[i]);
}
