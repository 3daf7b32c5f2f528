#include "model/thermocouple/par_two_tc.h"

#include "link/modbus_interface.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

// Register 2058 of the two-thermocouple kinds carries bits 0 and 2 besides the thermocouple's.
constexpr uint16_t kTwoTcStageBits = 0x05;

}  // namespace

CParTwoTc::CParTwoTc(int32_t typeId, const char* modelCode, const ParDef* table)
    : CParTypeT(typeId), m_kind(static_cast<unsigned char>(modelCode[3])) {
    SetTypeId(typeId);
    SetModelCode(modelCode);
    m_model = "K9U";
    SetDefTable(table);
    // The kind's own rows, not the thermocouple model's.
    CountProgressTotal();
}

void CParTwoTc::CopySecondInput(const CParTwoTc& src) {
    m_input2FineZero = src.m_input2FineZero;
    m_input2FineSpan = src.m_input2FineSpan;
}

int32_t CParTwoTc::GetValue(int32_t code) const {
    switch (code) {
        case kInput2FineZero: return m_input2FineZero;
        case kInput2FineSpan: return m_input2FineSpan;
        default: return CParTypeT::GetValue(code);
    }
}

void CParTwoTc::SetValue(int32_t code, int32_t value, bool check) {
    switch (code) {
        case kInput2FineZero:
            if (check) {
                double low = 0.0;
                double high = 0.0;
                GetInputAdjustLimits(low, high);
                CheckRange(code, value, ToInt32Trunc(low * 10000.0), ToInt32Trunc(high * 10000.0));
            }
            m_input2FineZero = value;
            return;
        case kInput2FineSpan:
            if (check) CheckRange(code, value, kFineSpanLow, kFineSpanHigh);
            m_input2FineSpan = value;
            return;
        default: CParTypeT::SetValue(code, value, check); return;
    }
}

std::string CParTwoTc::FormatRawValue(int32_t code, int32_t value) const {
    switch (code) {
        case kInput2FineZero:
        case kInput2FineSpan:
        case kTc1Voltage:
        case kTc2Voltage: return FormatC("%.4lf", value / 10000.0);
        default: return CParTypeT::FormatRawValue(code, value);
    }
}

std::string CParTwoTc::GetValueString(int32_t code) const {
    switch (code) {
        case kInput2FineZero: return FormatRawValue(code, m_input2FineZero);
        case kInput2FineSpan: return FormatRawValue(code, m_input2FineSpan);
        case kTc1Voltage: return FormatRawValue(code, m_tc1Voltage);
        case kTc2Voltage: return FormatRawValue(code, m_tc2Voltage);
        default: return CParTypeT::GetValueString(code);
    }
}

std::string CParTwoTc::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    const std::string millivolt = LoadString(kStrUnitMillivolt);
    switch (code) {
        case kInput2FineZero: {
            std::string text = FormatC("%.4lf", value / 10000.0);
            if (!withUnit) return text;
            text = WithUnit(text, millivolt);
            return !text.empty() && text.front() == '-' ? text : "+" + text;
        }
        case kInput2FineSpan: return FormatC("%.4lf", value / 10000.0);
        case kTc1Voltage:
        case kTc2Voltage: {
            // The stored voltage, not `value`: these rows show the last monitor read.
            const std::string text = GetValueString(code);
            return withUnit ? WithUnit(text, millivolt) : text;
        }
        default: return CParTypeT::FormatValue(code, value, withUnit);
    }
}

void CParTwoTc::ParamToRegisters(int32_t code) {
    switch (code) {
        case kBurnout:
        case kVoltageRange:
            CParTypeT::ParamToRegisters(code);
            SetRegister(kRegStageBits, GetRegister(kRegStageBits) | kTwoTcStageBits);
            return;
        // 1 uV per count.
        case kInput2FineZero: SetRegisterLow(kRegInput2FineZero, m_input2FineZero / 10); return;
        case kInput2FineSpan: SetRegisterLow(kRegInput2FineSpan, m_input2FineSpan); return;
        default: CParTypeT::ParamToRegisters(code); return;
    }
}

void CParTwoTc::RegistersToParam(int32_t code) {
    switch (code) {
        case kInput2FineZero: m_input2FineZero = GetRegisterSigned(kRegInput2FineZero) * 10; return;
        case kInput2FineSpan: m_input2FineSpan = GetRegisterSigned(kRegInput2FineSpan); return;
        case kTc1Voltage: m_tc1Voltage = GetVoltagePair(kRegTcVoltage); return;
        case kTc2Voltage: m_tc2Voltage = GetVoltagePair(kRegTc2Voltage); return;
        default: CParTypeT::RegistersToParam(code); return;
    }
}

void CParTwoTc::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kInput2FineZero && code != kInput2FineSpan) return CParTypeT::WriteParamModbus(modbus, code);
    ParamToRegisters(code);
    WriteBlock(modbus, code == kInput2FineZero ? kRegInput2FineZero : kRegInput2FineSpan, 1);
}

void CParTwoTc::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kInput2FineZero && code != kInput2FineSpan) return CParTypeT::ReadParamModbus(modbus, code);
    ReadBlock(modbus, code == kInput2FineZero ? kRegInput2FineZero : kRegInput2FineSpan, 1);
    RegistersToParam(code);
}

void CParTwoTc::ReadMonitorExtra(CModbusInterface& modbus) { ReadBlock(modbus, kRegTc2Voltage, 2); }

void CParTwoTc::DecodeTcVoltages() {
    RegistersToParam(kTc1Voltage);
    RegistersToParam(kTc2Voltage);
}

void CParTwoTc::DownloadExtra(CModbusInterface& modbus, int32_t part) {
    if (!Runs(part, kPartFineAdjust)) return;
    ParamToRegisters(kInput2FineZero);
    ParamToRegisters(kInput2FineSpan);
    WriteBlock(modbus, kRegInput2FineZero, 2, 2);
}

void CParTwoTc::UploadModbus(CModbusInterface& modbus, int32_t part) {
    CParTypeT::UploadModbus(modbus, part);
    if (!Runs(part, kPartFineAdjust)) return;
    ReadBlock(modbus, kRegInput2FineZero, 2, 2);
    RegistersToParam(kInput2FineZero);
    RegistersToParam(kInput2FineSpan);
}
