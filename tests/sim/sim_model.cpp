#include "sim/sim_model.h"

#include <algorithm>
#include <optional>

#include "sim/sim_calibration.h"
#include "sim/sim_factory.h"

namespace {

constexpr ESimAccess RW = ESimAccess::ReadWrite;
constexpr ESimAccess RO = ESimAccess::ReadOnly;

// Registers every model answers: tag, model text, serial and hardware, the basic block, the fine
// adjustments, the output hold and the live and identity registers the master only reads.
const std::vector<SimRange>& CommonRanges() {
    static const std::vector<SimRange> ranges = {
        {1024, 16, RW},  // tag (read as 16, written as 8)
        {1042, 10, RW},  // model text
        {1056, 9, RW},   // serial number, hardware version
        {1280, 12, RW},  // basic block
        {2055, 14, RW},  // output stage, damping coefficient, fine adjustments
        {2069, 3, RO},   // live input and output
        {2072, 1, RW},   // output hold
        {2073, 9, RO},   // status, model code, firmware, live extras
    };
    return ranges;
}

const std::vector<SimModelInfo>& Catalogue() {
    // Output tables from register 0, the cold-junction table at 768, custom tables from 1344.
    static const std::vector<SimRange> thermocouple = {
        {0, 512, RW}, {768, 64, RW}, {1344, 6, RW}, {1360, 600, RW}};
    static const std::vector<SimRange> rtd = {{0, 512, RW}, {1344, 6, RW}, {1360, 600, RW}};
    static const std::vector<SimRange> potentiometer = {{0, 144, RW}, {1344, 6, RW}, {1360, 416, RW}};
    // One universal device serves every kind: the union of the kinds' registers, and the fourth
    // model-code character written by a download selects the kind.
    static const std::vector<SimRange> universal = {{0, 512, RW},  {768, 64, RW},   {1292, 4, RW},
                                                    {1344, 6, RW}, {1360, 600, RW}, {2053, 2, RW},
                                                    {2077, 1, RW}};
    static const std::vector<SimModelInfo> catalogue = {
        {"K9TS", "K9TS", thermocouple, SimFactoryThermocouple},
        {"K9RS", "K9RS", rtd, SimFactoryRtd},
        {"K9PM", "K9PM", potentiometer, SimFactoryPotentiometer},
        {"K9U0", "K9U", universal, SimFactoryThermocouple},
        {"K9U1", "K9U", universal, SimFactoryRtd},
        {"K9U2", "K9U", universal, SimFactoryMillivolt},
        {"K9U3", "K9U", universal, SimFactoryResistance},
        {"K9U4", "K9U", universal, SimFactoryTwoThermocouples},
        {"K9U5", "K9U", universal, SimFactoryTwoThermocouples},
    };
    return catalogue;
}

bool InMap(int address) { return address >= 0 && address < CSimModel::kRegisterCount; }

}  // namespace

CSimModel::CSimModel(const SimModelInfo& info) {
    m_access.fill(ESimAccess::None);
    for (const SimRange& range : CommonRanges()) MapRegisters(range.start, range.count, range.access);
    for (const SimRange& range : info.ranges) MapRegisters(range.start, range.count, range.access);
    SetModelCode(info.code);
    SetText(1042, 10, info.modelText);
    SetRegister(1064, 1);      // hardware version
    SetRegister(2071, 10000);  // 4 mA
    SetRegister(2078, 100);    // firmware version
    SimFactoryShared(*this);
    SimCalibration::Preset(*this);
    if (info.factory) info.factory(*this);
}

const SimModelInfo* CSimModel::FindInfo(const std::string& code) {
    for (const SimModelInfo& info : Catalogue()) {
        if (info.code == code) return &info;
    }
    return nullptr;
}

std::unique_ptr<CSimModel> CSimModel::Create(const std::string& code) {
    const SimModelInfo* info = FindInfo(code);
    return info ? std::make_unique<CSimModel>(*info) : nullptr;
}

std::vector<std::string> CSimModel::KnownCodes() {
    std::vector<std::string> codes;
    for (const SimModelInfo& info : Catalogue()) codes.push_back(info.code);
    return codes;
}

std::string CSimModel::GetModelCode() const {
    std::string code;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<char>(m_registers[static_cast<size_t>(kModelCodeRegister + i)] & 0xFF);
        if (c == '\0') break;
        code.push_back(c);
    }
    return code;
}

void CSimModel::SetModelCode(const std::string& code) { SetText(kModelCodeRegister, 4, code); }

void CSimModel::MapRegisters(int start, int count, ESimAccess access) {
    for (int a = start; a < start + count; ++a) {
        if (InMap(a)) m_access[static_cast<size_t>(a)] = access;
    }
}

ESimAccess CSimModel::GetAccess(int address) const {
    return InMap(address) ? m_access[static_cast<size_t>(address)] : ESimAccess::None;
}

uint16_t CSimModel::GetRegister(int address) const {
    return InMap(address) ? m_registers[static_cast<size_t>(address)] : 0;
}

void CSimModel::SetRegister(int address, uint16_t value) {
    if (InMap(address)) m_registers[static_cast<size_t>(address)] = value;
}

void CSimModel::SetText(int start, int count, const std::string& text) {
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i);
        SetRegister(start + i, at < text.size() ? static_cast<unsigned char>(text[at]) : 0);
    }
}

bool CSimModel::BlockHas(int start, int count, ESimAccess least) const {
    if (start < 0 || count < 0 || start + count > kRegisterCount) return false;
    const auto first = m_access.begin() + start;
    return std::all_of(first, first + count, [least](ESimAccess a) {
        return least == ESimAccess::ReadWrite ? a == ESimAccess::ReadWrite : a != ESimAccess::None;
    });
}

uint8_t CSimModel::ReadRegisters(int start, int count, std::vector<uint16_t>& values) {
    if (!BlockHas(start, count, ESimAccess::ReadOnly)) return kSimIllegalAddress;
    const auto first = m_registers.begin() + start;
    values.assign(first, first + count);
    return kSimNoException;
}

uint8_t CSimModel::WriteRegisters(int start, const std::vector<uint16_t>& values) {
    const int count = static_cast<int>(values.size());
    if (!BlockHas(start, count, ESimAccess::ReadWrite)) return kSimIllegalAddress;
    std::copy(values.begin(), values.end(), m_registers.begin() + start);
    OnRegistersWritten(start, count);
    return kSimNoException;
}

void CSimModel::OnRegistersWritten(int /*start*/, int /*count*/) {}

void CSimModel::SetItem(int group, int item, std::string value) { m_items[{group, item}] = std::move(value); }

std::string CSimModel::GetItem(int group, int item) const {
    const auto found = m_items.find({group, item});
    return found == m_items.end() ? std::string() : found->second;
}

std::string CSimModel::AnswerItem(int group, int item, const std::string& data) {
    if (group == SimCalibration::kGroup) {
        if (std::optional<std::string> reply = SimCalibration::Answer(*this, item, data)) return *reply;
    }
    if (!data.empty()) SetItem(group, item, data);
    return "D" + GetItem(group, item);
}
