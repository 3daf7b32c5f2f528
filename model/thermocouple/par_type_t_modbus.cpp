#include <algorithm>
#include <limits>

#include "link/modbus_interface.h"
#include "link/private_exception.h"
#include "model/set/monitor_decode.h"
#include "model/set/output_stage.h"
#include "model/thermocouple/par_type_t.h"
#include "model/set/temperature_unit.h"
#include "platform/c_number.h"
#include "res/string_ids.h"

namespace {

constexpr int32_t kTableBlockCount = 16;
constexpr int32_t kStageBlockCount = 9;     // 2055 to 2063
constexpr int32_t kMonitorBlockCount = 11;  // 2069 to 2079

// The codes of the output-stage block 2055 to 2063, in their encoding order.
constexpr int32_t kStageCodes[] = {
    CParTypeT::kBurnout,    CParTypeT::kVoltageRange,   CParTypeT::kBurnoutValue,
    CParTypeT::kOutputHigh, CParTypeT::kOutputLow,      CParTypeT::kStartVolt,
    CParTypeT::kVoltPeriod, CParTypeT::kTerminalSelect, CParTypeT::kColdJunctionVolt};
// Range code of register 2058 bits 4 to 7: 2 for the 100 mV range, 3 for the 50 mV range.
constexpr int32_t kRange100mV = 2;
constexpr int32_t kRange50mV = 3;

bool FitsSigned16(int32_t value) {
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

// The cold-junction table's Pt1000 resistances: 680.0 Ohm, then 12.8 Ohm more per point, accumulated.
constexpr double kCjFirstOhm = 680.0;
constexpr double kCjStepOhm = 12.8;

}  // namespace

int32_t CParTypeT::GetVoltagePair(int32_t high) const {
    // Composed unsigned, then read as the device's signed voltage: no signed shift overflows.
    const auto bits = uint32_t{GetRegister(high)} << 16 | GetRegister(high + 1);
    return SaturateInt32(int64_t{static_cast<int32_t>(bits)} * 10);
}

void CParTypeT::ParamToRegisters(int32_t code) {
    if (IsOutputTableCode(code)) {
        const int32_t i = code - kOutputTableFirst;
        SetRegister(i, OutputToRegister(m_outputTable[static_cast<size_t>(i)]));
        return;
    }
    if (IsCjTableCode(code)) {
        const int32_t i = code - kCjTableFirst;
        SetRegisterLow(kRegCjTable + i, m_cjTable[static_cast<size_t>(i)]);
        return;
    }
    const int32_t stage = GetRegister(kRegStageBits);
    switch (code) {
        case kVoltageRange:
            SetRegisterLow(kRegStageBits, (stage & 0x08) | (m_voltageRange == 1 ? kRange50mV : kRange100mV)
                                                               << 4);
            return;
        case kDisplayUnit: SetRegisterLow(kRegDisplayUnit, m_displayUnit); return;
        case kColdJunction: SetRegisterLow(kRegColdJunction, m_coldJunction / 1000); return;
        case kStartVolt: SetRegisterLow(kRegStartVolt, m_startVolt); return;
        case kVoltPeriod: SetRegisterLow(kRegVoltPeriod, m_voltPeriod); return;
        case kColdJunctionVolt: SetRegisterLow(kRegColdJunctionVolt, m_coldJunctionVolt / 10); return;
        case kTerminalSelect: SetRegisterLow(kRegTerminalSelect, m_terminalSelect); return;
        // 1 uV per count.
        case kInputFineZero: SetRegisterLow(kRegInputFineZero, m_inputFineZero / 10); return;
        default: CParCustomTable::ParamToRegisters(code); return;
    }
}

void CParTypeT::RegistersToParam(int32_t code) {
    const int32_t stage = GetRegister(kRegStageBits);
    switch (code) {
        case kVoltageRange: m_voltageRange = (stage >> 4 & 3) == kRange50mV ? 1 : 0; return;
        case kDisplayUnit: m_displayUnit = GetRegister(kRegDisplayUnit); return;
        case kColdJunction: m_coldJunction = GetRegisterSigned(kRegColdJunction) * 1000; return;
        case kStartVolt: m_startVolt = GetRegisterSigned(kRegStartVolt); return;
        case kVoltPeriod: m_voltPeriod = GetRegisterSigned(kRegVoltPeriod); return;
        case kColdJunctionVolt: m_coldJunctionVolt = GetRegisterSigned(kRegColdJunctionVolt) * 10; return;
        case kTerminalSelect: m_terminalSelect = GetRegister(kRegTerminalSelect); return;
        case kInputFineZero: m_inputFineZero = GetRegisterSigned(kRegInputFineZero) * 10; return;
        case kTcVoltage: m_tcVoltage = GetVoltagePair(kRegTcVoltage); return;
        case kCjmTemperature:
            m_cjmTemperature = ToInt32Trunc(Pt1000ToTemperature(GetRegisterSigned(kRegCjResistance) / 10.0) *
                                            10000.0);
            return;
        default: CParCustomTable::RegistersToParam(code); return;
    }
}

void CParTypeT::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    int32_t reg = 0;
    switch (code) {
        // The range shares the register: encoded from the set too, never taken from a stale image.
        case kBurnout:
            ParamToRegisters(kVoltageRange);
            return CParCustomTable::WriteParamModbus(modbus, code);
        // The common block 1280 to 1286 does not reach these two.
        case kTerminalSelect: reg = kRegTerminalSelect; break;
        case kColdJunction: reg = kRegColdJunction; break;
        default: CParCustomTable::WriteParamModbus(modbus, code); return;
    }
    ParamToRegisters(code);
    WriteBlock(modbus, reg, 1);
}

void CParTypeT::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    int32_t reg = 0;
    switch (code) {
        case kVoltageRange: reg = kRegStageBits; break;
        case kTerminalSelect: reg = kRegTerminalSelect; break;
        case kColdJunction: reg = kRegColdJunction; break;
        case kColdJunctionVolt: reg = kRegColdJunctionVolt; break;
        default: CParCustomTable::ReadParamModbus(modbus, code); return;
    }
    ReadBlock(modbus, reg, 1);
    RegistersToParam(code);
}

std::array<int32_t, CParTypeT::kOutputTablePoints> CParTypeT::ComputeOutputTable() const {
    constexpr double kPeriods[] = {32.0, 64.0, 128.0, 256.0};
    const double start = GetTableStartVolt(m_inputType);
    const double period = kPeriods[std::clamp(GetTableVoltPeriod(m_inputType), 0, 3)];
    const double in0 = m_input0 / 10000.0;
    const double span = (static_cast<double>(m_input100) - m_input0) / 10000.0;
    const double out0 = m_output0 / 10000.0;
    const double outSpan = (static_cast<double>(m_output100) - m_output0) / 10000.0;
    std::array<int32_t, kOutputTablePoints> table{};
    for (size_t i = 0; i < table.size(); ++i) {
        const double temperature = VoltageToTemperature(m_inputType, start + static_cast<double>(i) * period);
        const double fraction = span != 0.0 ? (temperature - in0) / span : 0.0;
        const double output = std::clamp(outSpan * fraction + out0, 1.6, 21.6);
        table[i] = SnapTrunc(output * 10000.0);
    }
    return table;
}

std::array<int32_t, CParTypeT::kCjTablePoints> CParTypeT::ComputeCjTable() const {
    std::array<int32_t, kCjTablePoints> table{};
    double ohm = kCjFirstOhm;
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = ToInt32Trunc(TemperatureToVoltage(m_inputType, Pt1000ToTemperature(ohm)));
        ohm += kCjStepOhm;
    }
    return table;
}

void CParTypeT::CheckModbusDownload(int32_t part) const {
    if (Runs(part, kPartOutputTable) && m_input100 == m_input0) {
        const CTypeRange range = InputTypeRange(m_inputType);
        CheckRange(kInput100, m_input100, int64_t{m_input0} + std::max(1, range.minSpan), range.high);
    }
    if (Runs(part, kPartIdentity) && !FitsSigned16(m_startVolt))
        throw CPrivateException(kStrTcFirstValueTooLarge);
    // A custom table may give voltages the device's signed registers cannot carry: refused, not wrapped.
    if (Runs(part, kPartCjTable)) {
        const auto cj = ComputeCjTable();
        if (!std::all_of(cj.begin(), cj.end(), FitsSigned16))
            throw CPrivateException(kStrTcCjVoltageTooLarge);
    }
}

uint16_t CParTypeT::KindCharacter() const {
    return GetTypeId() == kTypeUniversalTc ? uint16_t{'0'} : uint16_t{0};
}

void CParTypeT::ReadMonitorExtra(CModbusInterface&) {}

void CParTypeT::DecodeTcVoltages() { RegistersToParam(kTcVoltage); }

int32_t CParTypeT::MonitorInput() const { return InputFromPercent(m_input0, m_input100, m_inputPercent); }

void CParTypeT::DownloadExtra(CModbusInterface&, int32_t) {}

void CParTypeT::CheckDeviceTypeForModbus(CModbusInterface& modbus) const {
    // The universal device's kinds read their model text as "K9U", which marks no restricted device.
    if (IsUniversalType(GetTypeId())) return;
    CParTypeT device(GetTypeId());
    device.ReadParamModbus(modbus, kModel);
    CheckTypeForDevice(device.m_model);
}

void CParTypeT::DownloadModbus(CModbusInterface& modbus, int32_t part) {
    CheckModbusDownload(part);
    if (Runs(part, kPartBasic)) CheckDeviceTypeForModbus(modbus);
    DownloadFramed(modbus, part, {KindCharacter(), TransferProgressTotal(), KeptProgressTotal()},
                   [&] { DownloadParts(modbus, part); });
}

void CParTypeT::DownloadParts(CModbusInterface& modbus, int32_t part) {
    if (Runs(part, kPartIdentity)) {
        for (int32_t code : kStageCodes) ParamToRegisters(code);
        // 2060 inside the block is the damping coefficient: sent as the set holds it.
        ParamToRegisters(kDamping);
        WriteBlock(modbus, kRegStartVolt, kStageBlockCount, 6);
    }
    if (Runs(part, kPartTable)) DownloadCustomTableModbus(modbus);
    if (Runs(part, kPartOutputTable)) {
        m_outputTable = ComputeOutputTable();
        for (int32_t i = 0; i < kOutputTablePoints; ++i) ParamToRegisters(kOutputTableFirst + i);
        for (int32_t start = 0; start < kOutputTablePoints; start += kTableBlockCount)
            WriteBlock(modbus, start, kTableBlockCount, kTableBlockCount);
    }
    if (Runs(part, kPartCjTable)) {
        m_cjTable = ComputeCjTable();
        for (int32_t i = 0; i < kCjTablePoints; ++i) ParamToRegisters(kCjTableFirst + i);
        for (int32_t start = 0; start < kCjTablePoints; start += kTableBlockCount)
            WriteBlock(modbus, kRegCjTable + start, kTableBlockCount, kTableBlockCount);
    }
    CParTypeV::DownloadModbus(modbus, part);
    DownloadExtra(modbus, part);
}

void CParTypeT::UploadModbus(CModbusInterface& modbus, int32_t part) {
    if (Runs(part, kPartTable)) UploadCustomTableModbus(modbus);
    CParTypeV::UploadModbus(modbus, part);
    if (Runs(part, kPartOutputTable)) {
        for (int32_t start = 0; start < kOutputTablePoints; start += kTableBlockCount)
            ReadBlock(modbus, start, kTableBlockCount, kTableBlockCount);
        for (size_t i = 0; i < m_outputTable.size(); ++i)
            m_outputTable[i] = RegisterToOutput(GetRegister(static_cast<int32_t>(i)));
    }
    if (Runs(part, kPartCjTable)) {
        for (int32_t start = 0; start < kCjTablePoints; start += kTableBlockCount)
            ReadBlock(modbus, kRegCjTable + start, kTableBlockCount, kTableBlockCount);
        for (size_t i = 0; i < m_cjTable.size(); ++i)
            m_cjTable[i] = GetRegisterSigned(kRegCjTable + static_cast<int32_t>(i));
    }
    if (Runs(part, kPartLive)) {
        ReadBlock(modbus, kRegTcVoltage, kMonitorBlockCount, 2);
        ReadMonitorExtra(modbus);
        ReadBlock(modbus, kRegStartVolt, kStageBlockCount, 6);
        DecodeMonitorValues();
    }
}

void CParTypeT::DecodeMonitorValues() {
    const CMonitorDecode d = DecodeMonitor(GetStatus(), GetRegister(kRegPresentOutput),
                                           GetRegister(kRegOutputHold), GetRegister(kRegDeviceStatus),
                                           GetRegister(kRegBurnoutValue));
    SetStatus(d.status);
    SetLiveOutput(d.outputValue, d.forced);
    m_inputValue = MonitorInput();
    RegistersToParam(kCjmTemperature);
    DecodeTcVoltages();
    for (int32_t code : kStageCodes) RegistersToParam(code);
}
