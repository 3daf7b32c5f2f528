#include "model/universal/par_universal.h"

#include <algorithm>

#include "link/modbus_interface.h"
#include "model/set/monitor_decode.h"
#include "model/set/output_stage.h"
#include "platform/c_number.h"

namespace {

// Registers 2058 to 2062 travel as one block; 2055 to 2063 and 2069 to 2079 as the monitor blocks.
constexpr int32_t kStageCount = 5;
constexpr int32_t kMonitorCount = 11;
constexpr int32_t kStageReadCount = 9;

}  // namespace

CParUniversal::CParUniversal(char kind, uint16_t burnoutKeep, uint16_t burnoutSet,
                             std::initializer_list<int32_t> stageCodes, int32_t fineZeroDivisor)
    : CParOutputStage(burnoutKeep, burnoutSet), m_kind(kind), m_fineZeroDivisor(fineZeroDivisor) {
    for (const int32_t code : stageCodes)
        if (m_stageCodeCount < static_cast<int32_t>(std::size(m_stageCodes)))
            m_stageCodes[m_stageCodeCount++] = code;
}

void CParUniversal::CopyUniversalStage(const CParUniversal& src) {
    CopyStage(src);
    m_range = src.m_range;
}

int32_t CParUniversal::GetValue(int32_t code) const {
    return code == kRange ? m_range : CParOutputStage::GetValue(code);
}

void CParUniversal::SetValue(int32_t code, int32_t value, bool check) {
    if (code != kRange) return CParOutputStage::SetValue(code, value, check);
    if (check) CheckChoice(code, value);
    m_range = value;
}

void CParUniversal::SetValueFromString(int32_t code, const std::string& text, bool check) {
    if (code == kRange) return SetValue(code, ParseInt32(text), check);
    CParOutputStage::SetValueFromString(code, text, check);
}

std::string CParUniversal::FormatRawValue(int32_t code, int32_t value) const {
    if (code == kSensorWires || code == kRange) return FormatC("%d", value);
    return CParOutputStage::FormatRawValue(code, value);
}

std::string CParUniversal::GetValueString(int32_t code) const {
    if (code == kRange) return FormatRawValue(code, m_range);
    if (code == kInputLive && GetStatus() != 0) return GetValueString(kStatusText);
    return CParOutputStage::GetValueString(code);
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
        case kInputFineZero: SetRegisterLow(kRegInputFineZero, m_inputFineZero / m_fineZeroDivisor); return;
        case kInputType:
            SetRegisterLow(kRegBasic, SaturateInt32(int64_t{m_inputType} + TypeOffset()));
            return;
        default: CParOutputStage::ParamToRegisters(code); return;
    }
}

void CParUniversal::RegistersToParam(int32_t code) {
    switch (code) {
        case kInputType: SetValue(kInputType, GetRegister(kRegBasic) - TypeOffset(), false); return;
        case kInputFineZero:
            m_inputFineZero = SaturateInt32(int64_t{GetRegisterSigned(kRegInputFineZero)} *
                                            m_fineZeroDivisor);
            return;
        default: CParOutputStage::RegistersToParam(code); return;
    }
}

void CParUniversal::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kSensorWires && code != kRange) return CParOutputStage::WriteParamModbus(modbus, code);
    ParamToRegisters(code);
    WriteBlock(modbus, kRegKindFlags, 1);
}

void CParUniversal::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kSensorWires && code != kRange) return CParOutputStage::ReadParamModbus(modbus, code);
    ReadBlock(modbus, kRegKindFlags, 1);
    RegistersToParam(code);
}

void CParUniversal::DownloadModbus(CModbusInterface& modbus, int32_t part) {
    SetRegister(kRegKind, static_cast<uint16_t>(m_kind));
    WriteBlock(modbus, kRegKind, 1);
    DownloadWithOutputHeld(modbus, [&] {
        for (int32_t i = 0; i < m_stageCodeCount; ++i) ParamToRegisters(m_stageCodes[i]);
        // Register 2060 inside the block is the damping coefficient: sent as the set holds it.
        ParamToRegisters(kDamping);
        WriteBlock(modbus, kRegKindFlags, kStageCount);
        CParTypeV::DownloadModbus(modbus, part);
    });
}

void CParUniversal::UploadModbus(CModbusInterface& modbus, int32_t part) {
    CParTypeV::UploadModbus(modbus, part);
    if (Runs(part, kPartLive)) {
        ReadBlock(modbus, kRegMonitor, kMonitorCount, 2);
        ReadBlock(modbus, kRegStage, kStageReadCount, 6);
        const CMonitorDecode d = DecodeMonitor(GetStatus(), GetRegister(kRegPresentOutput),
                                               GetRegister(kRegOutputHold), GetRegister(kRegDeviceStatus),
                                               GetRegister(kRegBurnoutValue));
        SetStatus(d.status);
        SetLiveOutput(d.outputValue, d.forced);
        m_inputValue = InputFromPercent(m_input0, m_input100, m_inputPercent);
    }
    // The stage registers are decoded only when a block that holds them was read.
    if (Runs(part, kPartLive) || Runs(part, kPartBasic))
        for (int32_t i = 0; i < m_stageCodeCount; ++i) RegistersToParam(m_stageCodes[i]);
}
