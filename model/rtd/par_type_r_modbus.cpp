#include <algorithm>

#include "link/modbus_interface.h"
#include "model/set/output_stage.h"
#include "model/rtd/par_type_r.h"
#include "platform/c_number.h"

namespace {

constexpr int32_t kTableBlockCount = 16;
constexpr int32_t kOutputTableBlocks = CParTypeR::kOutputTablePoints / kTableBlockCount;
constexpr int32_t kStageBlockCount = 5;  // 2058 to 2062
constexpr int32_t kLiveBlockCount = 5;   // 2069 to 2073
// The output-stage codes in the order they are encoded into, and decoded from, 2058 to 2062.
constexpr int32_t kStageCodes[] = {CParTypeR::kSensorWires,     CParTypeR::kBurnout,
                                   CParTypeV::kResistanceRange, CParTypeR::kBurnoutValue,
                                   CParTypeR::kOutputHigh,      CParTypeR::kOutputLow};

// Full scale of the output table's resistance axis by resistance range, in Ohm. The device's 2.5 kOhm
// range ends one count below 3276.8 Ohm.
double FullScale(int32_t resistanceRange) {
    switch (resistanceRange) {
        case 0: return 6553.6;
        case 1: return 3276.7;
        case 2: return 655.36;
        default: return 0.0;
    }
}

// 1e-4 Ohm per count of the raw resistance by resistance range.
int64_t ResistanceCountScale(int32_t resistanceRange) {
    switch (resistanceRange) {
        case 0: return 500;
        case 1: return 250;
        default: return 50;
    }
}

}  // namespace

void CParTypeR::ParamToRegisters(int32_t code) {
    // The fields of register 2058 each clear bits 8 to 15. A value is cut to its field's bits, so that a
    // file's out-of-range value cannot change the other fields.
    const auto stageBits = [this](uint16_t keep, int64_t bits) {
        const auto reg = static_cast<uint16_t>(GetRegister(kRegStageBits) & keep);
        SetRegisterLow(kRegStageBits, reg | static_cast<int32_t>(bits & ~keep & 0xFF));
    };
    switch (code) {
        case kSensorWires: stageBits(0xF8, int64_t{m_sensorWires} + 1); return;
        case kResistanceRange: stageBits(0x0F, (m_resistanceRange & 0xF) << 4); return;
        case kDisplayUnit: SetRegisterLow(kRegDisplayUnit, m_displayUnit); return;
        // 0.01 Ohm per count.
        case kInputFineZero: SetRegisterLow(kRegInputFineZero, m_inputFineZero / 100); return;
        default: CParCustomTable::ParamToRegisters(code); return;
    }
}

void CParTypeR::RegistersToParam(int32_t code) {
    const int32_t stage = GetRegister(kRegStageBits);
    switch (code) {
        case kSensorWires: m_sensorWires = (stage - 1) & 7; return;
        case kResistanceRange: m_resistanceRange = (stage >> 4) & 0xF; return;
        case kDisplayUnit: m_displayUnit = GetRegister(kRegDisplayUnit); return;
        case kInputFineZero: m_inputFineZero = GetRegisterSigned(kRegInputFineZero) * 100; return;
        default: CParCustomTable::RegistersToParam(code); return;
    }
}

void CParTypeR::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kSensorWires && code != kResistanceRange)
        return CParCustomTable::WriteParamModbus(modbus, code);
    ParamToRegisters(code);
    WriteBlock(modbus, kRegStageBits, 1);
}

void CParTypeR::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kSensorWires && code != kResistanceRange)
        return CParCustomTable::ReadParamModbus(modbus, code);
    ReadBlock(modbus, kRegStageBits, 1);
    RegistersToParam(code);
}

void CParTypeR::CheckOutputTableSpan() const {
    if (m_input100 != m_input0) return;
    const CTypeRange range = InputTypeRange(m_inputType);
    CheckRange(kInput100, m_input100, int64_t{m_input0} + std::max(1, range.minSpan), range.high);
}

std::array<int32_t, CParTypeR::kOutputTablePoints> CParTypeR::ComputeOutputTable() const {
    const double fullScale = FullScale(m_resistanceRange);
    const double in0 = m_input0 / 10000.0;
    const double span = (static_cast<double>(m_input100) - m_input0) / 10000.0;
    const double out0 = m_output0 / 10000.0;
    const double outSpan = (static_cast<double>(m_output100) - m_output0) / 10000.0;
    std::array<int32_t, kOutputTablePoints> table{};
    for (size_t i = 0; i < table.size(); ++i) {
        const double resistance = static_cast<double>(i) * fullScale * 0.001953125;
        const double temperature = ResistanceToTemperature(m_inputType, resistance);
        const double fraction = span != 0.0 ? (temperature - in0) / span : 0.0;
        const double output = std::clamp(outSpan * fraction + out0, 1.6, 21.6);
        table[i] = SnapTrunc(output * 10000.0);
    }
    return table;
}

void CParTypeR::DownloadModbus(CModbusInterface& modbus, int32_t part) {
    // Refused before anything is written, so that the device keeps a table that works.
    if (Runs(part, kPartOutputTable)) CheckOutputTableSpan();
    const uint16_t kind = GetTypeId() == kTypeUniversalRtd ? '1' : 0;
    DownloadFramed(modbus, part, {kind, TransferProgressTotal(), KeptProgressTotal()},
                   [&] { DownloadParts(modbus, part); });
}

void CParTypeR::DownloadParts(CModbusInterface& modbus, int32_t part) {
    if (Runs(part, kPartIdentity)) {
        for (int32_t code : kStageCodes) ParamToRegisters(code);
        // 2060 inside the block is the damping coefficient: sent as the set holds it.
        ParamToRegisters(kDamping);
        WriteBlock(modbus, kRegStageBits, kStageBlockCount, 6);
    }
    if (Runs(part, kPartTable)) DownloadCustomTableModbus(modbus);
    if (Runs(part, kPartOutputTable)) {
        m_outputTable = ComputeOutputTable();
        const auto regs = Registers(0, kOutputTablePoints);
        for (size_t i = 0; i < regs.size(); ++i) regs[i] = OutputToRegister(m_outputTable[i]);
        for (int32_t block = 0; block < kOutputTableBlocks; ++block)
            WriteBlock(modbus, block * kTableBlockCount, kTableBlockCount, kTableBlockCount);
    }
    CParTypeV::DownloadModbus(modbus, part);
}

void CParTypeR::UploadModbus(CModbusInterface& modbus, int32_t part) {
    if (Runs(part, kPartTable)) UploadCustomTableModbus(modbus);
    CParTypeV::UploadModbus(modbus, part);
    if (Runs(part, kPartOutputTable)) {
        for (int32_t block = 0; block < kOutputTableBlocks; ++block)
            ReadBlock(modbus, block * kTableBlockCount, kTableBlockCount, kTableBlockCount);
        const auto regs = Registers(0, kOutputTablePoints);
        for (size_t i = 0; i < regs.size(); ++i) m_outputTable[i] = RegisterToOutput(regs[i]);
    }
    if (Runs(part, kPartLive)) {
        ReadBlock(modbus, kRegRawResistance, kLiveBlockCount, 2);
        ReadBlock(modbus, kRegStageBits, kStageBlockCount, 6);
        DecodeLiveValues();
        for (int32_t code : kStageCodes) RegistersToParam(code);
    }
}

void CParTypeR::DecodeLiveValues() {
    const bool looptest = GetRegister(kRegOutputHold) != 0;
    const uint32_t status = (looptest ? uint32_t{kStatusLooptest} : 0u) |
                            DeviceStatusBits(GetRegister(kRegDeviceStatus));
    SetStatus(status);
    RegistersToParam(kResistanceRange);
    const auto raw = static_cast<int64_t>(uint32_t{GetRegister(kRegRawResistance)} << 16 |
                                          GetRegister(kRegRawResistance + 1));
    m_rtdResistance = SaturateInt32(raw * ResistanceCountScale(m_resistanceRange));
    const bool burnout = (status & kStatusBurnout) != 0;
    const int32_t source = looptest  ? int32_t{kRegOutputHold}
                           : burnout ? int32_t{kRegBurnoutValue}
                                     : int32_t{kRegPresentOutput};
    SetLiveOutput(GetRegister(source) * 4, looptest || burnout);
    const int64_t span = int64_t{m_input100} - m_input0;
    m_inputValue = SaturateInt32(m_input0 + span * m_inputPercent / 1000000);
}
