#include <algorithm>

#include "link/modbus_interface.h"
#include "model/set/output_stage.h"
#include "model/potentiometer/par_type_pm.h"
#include "platform/c_number.h"

namespace {

constexpr int32_t kHeadCount = 6;
constexpr int32_t kValuesPerBlock = 8;
constexpr int32_t kBlockCount = 16;
constexpr int32_t kStageBlockCount = 5;   // 2058 to 2062
constexpr int32_t kLiveBlockCount = 11;   // 2069 to 2079
constexpr int32_t kStatusBlockCount = 9;  // 2055 to 2063
constexpr int32_t kPointValues = 2 * CParTypeV::kMaxPoints;

// The output-stage codes in the order they are encoded into 2058 to 2062.
constexpr int32_t kStageCodes[] = {CParTypePM::kBurnout, CParTypePM::kOutputHigh, CParTypePM::kOutputLow,
                                   CParTypePM::kBurnoutValue};

}  // namespace

void CParTypePM::WriteParamAscii(CCommInterface&, int32_t) {}
void CParTypePM::ReadParamAscii(CCommInterface&, int32_t) {}
void CParTypePM::DownloadAscii(CCommInterface&, int32_t) {}
void CParTypePM::UploadAscii(CCommInterface&, int32_t) {}

void CParTypePM::ParamToRegisters(int32_t code) {
    if (code == kLinearization) return SetRegisterLow(kRegLinearization, m_linearization);
    CParOutputStage::ParamToRegisters(code);
}

void CParTypePM::RegistersToParam(int32_t code) {
    if (code == kLinearization) {
        m_linearization = GetRegister(kRegLinearization);
        return;
    }
    CParOutputStage::RegistersToParam(code);
}

void CParTypePM::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kLinearization) return CParOutputStage::WriteParamModbus(modbus, code);
    ParamToRegisters(code);
    WriteBlock(modbus, kRegLinearization, 1);
}

void CParTypePM::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kLinearization) return CParOutputStage::ReadParamModbus(modbus, code);
    ReadBlock(modbus, kRegLinearization, 1);
    RegistersToParam(code);
}

int32_t CParTypePM::TransferProgressTotal() const {
    return SaturateInt32(int64_t{KeptProgressTotal()} + 2 * int64_t{WalkPointCount()} - kPointValues);
}

void CParTypePM::DownloadModbus(CModbusInterface& modbus, int32_t part) {
    if (part != kPartAll && part != kPartIdentity) return CParTypeV::DownloadModbus(modbus, part);
    DownloadFramed(modbus, part, {0, TransferProgressTotal(), KeptProgressTotal()},
                   [&] { DownloadParts(modbus, part); });
}

void CParTypePM::DownloadParts(CModbusInterface& modbus, int32_t part) {
    for (int32_t code : kStageCodes) ParamToRegisters(code);
    // 2060 inside the block is the damping coefficient: sent as the set holds it.
    ParamToRegisters(kDamping);
    WriteBlock(modbus, kRegStageBits, kStageBlockCount);
    if (part == kPartAll) {
        const auto head = Registers(kRegLinearizerHead, kHeadCount);
        SetLowFirst(head, 0, 0);
        SetLowFirst(head, 1, 0);
        SetLowFirst(head, 2, m_pointCount);
        WriteBlock(modbus, kRegLinearizerHead, kHeadCount, 3);
        const int32_t values = 2 * WalkPointCount();
        for (int32_t i = 0; i < values; i += kValuesPerBlock) {
            const int32_t start = kRegLinearizerPoints + 2 * i;
            const auto block = Registers(start, kBlockCount);
            for (int32_t j = 0; j < kValuesPerBlock; ++j) {
                const int32_t code = kPointFirst + i + j;
                SetLowFirst(block, static_cast<size_t>(j), IsPointCode(code) ? GetValue(code) : 0);
            }
            WriteBlock(modbus, start, kBlockCount, kValuesPerBlock);
        }
        const auto regs = Registers(0, kOutputTablePoints);
        for (size_t i = 0; i < regs.size(); ++i) {
            const int32_t position = (static_cast<int32_t>(i) + kOutputTableFirstPercent) * 10000;
            m_outputTable[i] = PositionToOutputRegister(position);
            regs[i] = static_cast<uint16_t>(m_outputTable[i]);
        }
        // Whole blocks: registers 131 to 143 go as the image holds them.
        for (int32_t start = 0; start < kOutputTablePoints; start += kBlockCount)
            WriteBlock(modbus, start, kBlockCount, kBlockCount);
    }
    CParTypeV::DownloadModbus(modbus, part);
}

void CParTypePM::UploadModbus(CModbusInterface& modbus, int32_t part) {
    if (part == kPartAll) SetProgressTotal(TransferProgressTotal());
    CParTypeV::UploadModbus(modbus, part);
    if (Runs(part, kPartTable)) {
        ReadBlock(modbus, kRegLinearizerHead, kHeadCount, 3);
        SetValue(kPointCount, GetLowFirst(Registers(kRegLinearizerHead, kHeadCount), 2), false);
        const int32_t values = 2 * WalkPointCount();
        int32_t next = 0;
        for (; next < values; next += kValuesPerBlock) {
            const int32_t start = kRegLinearizerPoints + 2 * next;
            ReadBlock(modbus, start, kBlockCount, kValuesPerBlock);
            const auto block = Registers(start, kBlockCount);
            for (int32_t j = 0; j < kValuesPerBlock && next + j < kPointValues; ++j)
                SetValue(kPointFirst + next + j, GetLowFirst(block, static_cast<size_t>(j)), false);
        }
        for (int32_t k = next; k < kPointValues; ++k) SetValue(kPointFirst + k, 0, false);
    }
    if (Runs(part, kPartOutputTable)) {
        for (int32_t start = 0; start < kOutputTablePoints; start += kBlockCount)
            ReadBlock(modbus, start, kBlockCount, kBlockCount);
        const auto regs = Registers(0, kOutputTablePoints);
        for (size_t i = 0; i < regs.size(); ++i) m_outputTable[i] = regs[i];
    }
    if (Runs(part, kPartLive)) {
        ReadBlock(modbus, kRegPosition, kLiveBlockCount, 2);
        ReadBlock(modbus, kRegStage, kStatusBlockCount, 6);
        DecodeLiveValues();
        for (int32_t code : {kBurnout, kBurnoutValue, kOutputHigh, kOutputLow}) RegistersToParam(code);
    }
}

void CParTypePM::DecodeLiveValues() {
    const bool looptest = GetRegister(kRegOutputHold) != 0;
    const uint32_t status = (looptest ? uint32_t{kStatusLooptest} : 0u) |
                            DeviceStatusBits(GetRegister(kRegDeviceStatus));
    SetStatus(status);
    const int32_t source = looptest                         ? int32_t{kRegOutputHold}
                           : (status & kStatusBurnout) != 0 ? int32_t{kRegBurnoutValue}
                                                            : int32_t{kRegPresentOutput};
    m_outputValue = 4 * GetRegister(source);
    m_outputPercent = OutputPercent(m_outputValue);
    m_inputValue = static_cast<int32_t>(uint32_t{GetRegister(kRegPosition)} << 16 |
                                        GetRegister(kRegPosition + 1));
    // A device that holds equal 0 % and 100 % inputs (all zero when new) gives no percentage.
    const int64_t span = int64_t{m_input100} - m_input0;
    m_inputPercent = span == 0 ? 0 : SaturateInt32((int64_t{m_inputValue} - m_input0) * 1000000 / span);
}
