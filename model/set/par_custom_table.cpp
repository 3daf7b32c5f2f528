#include "model/set/par_custom_table.h"

#include <algorithm>
#include <string>

#include "link/comm_interface.h"
#include "link/modbus_interface.h"
#include "model/hooks/table_dialog_service.h"
#include "platform/c_number.h"

namespace {

constexpr int32_t kHeadCount = 6;
constexpr int32_t kPointsPerBlock = 8;
constexpr int32_t kBlockCount = 16;

}  // namespace

int32_t CParCustomTable::GetValue(int32_t code) const {
    if (IsCustomValueCode(code)) return m_customValues[static_cast<size_t>(code - kCustomValueFirst)];
    switch (code) {
        case kCustomStart: return m_customStart;
        case kCustomStep: return m_customStep;
        case kCustomPoints: return m_customPoints;
        default: return CParOutputStage::GetValue(code);
    }
}

void CParCustomTable::ParamToRegisters(int32_t code) {
    if (code >= kCustomStart && code <= kCustomPoints) {
        SetLowFirst(Registers(kRegCustomHead, kHeadCount), static_cast<size_t>(code - kCustomStart),
                    GetValue(code));
        return;
    }
    if (!IsCustomValueCode(code)) return CParOutputStage::ParamToRegisters(code);
    const int32_t i = code - kCustomValueFirst;
    SetLowFirst(Registers(kRegCustomTable + 2 * i, 2), 0, m_customValues[static_cast<size_t>(i)]);
}

void CParCustomTable::RegistersToParam(int32_t code) {
    if (code >= kCustomStart && code <= kCustomPoints) {
        const auto head = Registers(kRegCustomHead, kHeadCount);
        return SetValue(code, GetLowFirst(head, static_cast<size_t>(code - kCustomStart)), false);
    }
    if (!IsCustomValueCode(code)) return CParOutputStage::RegistersToParam(code);
    SetValue(code, GetLowFirst(Registers(kRegCustomTable + 2 * (code - kCustomValueFirst), 2), 0), false);
}

void CParCustomTable::CopyCustomTable(const CParCustomTable& src) {
    m_customStart = src.m_customStart;
    m_customStep = src.m_customStep;
    m_customPoints = src.m_customPoints;
    m_customValues = src.m_customValues;
}

int32_t CParCustomTable::WalkCustomPoints() const {
    return std::clamp(m_customPoints, 0, kCustomTableCapacity);
}

int32_t CParCustomTable::CustomTableEnd() const {
    // In doubles: a file's step and count can reach the int32 limits, whose product overflows 64 bits;
    // any result beyond int32 saturates, and below 2^53 the arithmetic is exact.
    const double steps = std::max(1.0, static_cast<double>(m_customPoints) - 1.0);
    const double end = m_customStart + static_cast<double>(m_customStep) * 10000.0 * steps;
    return ToInt32Trunc(end);
}

int32_t CParCustomTable::CustomTableBreak() const {
    if (m_customValues[0] == m_customValues[1]) return 1;
    const bool rising = m_customValues[0] < m_customValues[1];
    const auto points = static_cast<size_t>(WalkCustomPoints());
    for (size_t i = 2; i < points; ++i) {
        const int32_t previous = m_customValues[i - 1];
        const int32_t value = m_customValues[i];
        if (value == previous || (value > previous) != rising) return static_cast<int32_t>(i);
    }
    return 0;
}

bool CParCustomTable::EditCustomSensorTable(int32_t displayUnit) {
    CTableDialogService* service = GetTableDialogService();
    if (!service) return false;
    CCustomSensorTable table;
    table.start = m_customStart / 10000.0;
    table.step = m_customStep;
    const auto shown = static_cast<size_t>(WalkCustomPoints());
    for (size_t i = 0; i < shown; ++i) table.values.push_back(m_customValues[i] / 10000.0);
    if (!service->EditCustomSensorTable(table, displayUnit)) return false;
    const size_t accepted = std::min(table.values.size(), static_cast<size_t>(kCustomTableCapacity));
    m_customPoints = static_cast<int32_t>(accepted);
    m_customStart = SnapTrunc(table.start * 10000.0);
    m_customStep = table.step;
    for (size_t i = 0; i < m_customValues.size(); ++i)
        m_customValues[i] = i < accepted ? SnapTrunc(table.values[i] * 10000.0) : 0;
    return true;
}

void CParCustomTable::DownloadCustomTableModbus(CModbusInterface& modbus) {
    for (int32_t code = kCustomStart; code <= kCustomPoints; ++code) ParamToRegisters(code);
    WriteBlock(modbus, kRegCustomHead, kHeadCount, 3);
    const int32_t points = WalkCustomPoints();
    for (int32_t first = 0; first < points; first += kPointsPerBlock) {
        // Fewer than eight points at the table's end: nothing reaches the registers after it.
        const int32_t start = kRegCustomTable + 2 * first;
        const int32_t count = std::min(kBlockCount, kRegCustomTableEnd - start);
        for (int32_t j = 0; j < count / 2; ++j) ParamToRegisters(kCustomValueFirst + first + j);
        WriteBlock(modbus, start, count, kPointsPerBlock);
    }
}

void CParCustomTable::UploadCustomTableModbus(CModbusInterface& modbus) {
    ReadBlock(modbus, kRegCustomHead, kHeadCount, 3);
    for (int32_t code = kCustomStart; code <= kCustomPoints; ++code) RegistersToParam(code);
    SetProgressTotal(TransferProgressTotal());
    const int32_t points = WalkCustomPoints();
    int32_t next = 0;
    for (; next < points; next += kPointsPerBlock) {
        const int32_t start = kRegCustomTable + 2 * next;
        const int32_t count = std::min(kBlockCount, kRegCustomTableEnd - start);
        ReadBlock(modbus, start, count, kPointsPerBlock);
        for (int32_t j = 0; j < count / 2; ++j) RegistersToParam(kCustomValueFirst + next + j);
    }
    for (int32_t k = next; k < kCustomTableCapacity; ++k) m_customValues[static_cast<size_t>(k)] = 0;
}

void CParCustomTable::DownloadCustomTableAscii(CCommInterface& comm) {
    const auto send = [&](const std::string& command) {
        Exchange(comm, command);
        AddProgress(1);
    };
    send(FormatC("DS %.4lf\r", m_customStart / 10000.0));
    send(FormatC("DP %d\r", m_customStep));
    send("DZ " + GetValueString(kCustomPoints) + "\r");
    // Every value the device holds goes, whatever the point count.
    for (int32_t i = 0; i < kCustomTableCapacity; ++i)
        send(FormatC("DT%dD%s\r", i, GetValueString(kCustomValueFirst + i).c_str()));
}

void CParCustomTable::UploadCustomTableAscii(CCommInterface& comm) {
    // Each reply repeats its command's letters before the value; a value the reply does not hold stays.
    const auto ask = [&](const std::string& command, size_t skip) {
        const std::string tail(ReplyTail(Exchange(comm, command), skip));
        AddProgress(1);
        return tail;
    };
    if (const auto start = ScanNumbers(ask("DS\r", 2), 1); !start.empty())
        m_customStart = DeviceScaled(start[0]);
    if (const auto step = ParseInt32Checked(ask("DP\r", 2))) m_customStep = *step;
    StoreNumberText(kCustomPoints, ask("DZ\r", 2));
    for (int32_t i = 0; i < kCustomTableCapacity; ++i) {
        const auto value = ScanNumbers(ask(FormatC("DT%d\r", i), 1), 1);
        if (!value.empty()) m_customValues[static_cast<size_t>(i)] = DeviceScaled(value[0]);
    }
}

void CParCustomTable::KeepProgressTotal(int32_t total) {
    m_keptProgressTotal = total;
    SetProgressTotal(total);
}

int32_t CParCustomTable::TransferProgressTotal() const {
    return SaturateInt32(int64_t{WalkCustomPoints()} + m_keptProgressTotal - kCustomTableCapacity);
}
