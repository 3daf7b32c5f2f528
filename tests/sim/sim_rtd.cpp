#include "sim/sim_rtd.h"

#include <cstdlib>

#include "sim/sim_factory.h"

namespace {

constexpr int kGroupSettings = 1;
constexpr int kItemResistance = 6;
constexpr int kItemDisplayUnit = 21;
constexpr int kItemCustomTable = 61;
constexpr char kFieldLetters[] = "MRABCSPZ";

std::string TrimLeft(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

std::unique_ptr<CSimRtdModel> CSimRtdModel::Create(const std::string& code) {
    const std::unique_ptr<CSimModel> plain = CSimModel::Create(code);
    if (!plain || (code != "K9RS" && code != "K9U1")) return nullptr;
    SimModelInfo info{code, code == "K9RS" ? "K9RS" : "K9U", {}, SimFactoryRtd};
    std::unique_ptr<CSimRtdModel> model(new CSimRtdModel(info));
    for (int reg = 0; reg < kRegisterCount; ++reg) model->MapRegisters(reg, 1, plain->GetAccess(reg));
    model->SetItem(kGroupSettings, kItemResistance, "100.0000");
    model->m_fields.fill("0");
    model->m_fields[7] = "2";
    model->m_resistance.fill("0.0000");
    return model;
}

std::string CSimRtdModel::GetTableField(char field) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (kFieldLetters[i] == field) return m_fields[i];
    return std::string();
}

std::string CSimRtdModel::AnswerItem(int group, int item, const std::string& data) {
    if (group == kGroupSettings && item == kItemCustomTable) return AnswerCustomTable(data);
    if (group == kGroupSettings && item == kItemResistance && !data.empty()) return "E";
    if (group == kGroupSettings && item == kItemDisplayUnit && !data.empty() && data != "0" && data != "1" &&
        data != "2" && data != "7")
        return "E";
    return CSimModel::AnswerItem(group, item, data);
}

std::string CSimRtdModel::AnswerCustomTable(const std::string& data) {
    if (data.empty()) return "E";
    const char letter = data[0];
    if (letter == 'T') {
        char* end = nullptr;
        const long index = std::strtol(data.c_str() + 1, &end, 10);
        if (end == data.c_str() + 1 || index < 0 || index >= kCustomPoints) return "E";
        std::string& value = m_resistance[static_cast<size_t>(index)];
        if (*end == 'D') value = end + 1;
        else if (*end != '\0') return "E";
        return "D" + value;
    }
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (kFieldLetters[i] != letter) continue;
        if (data.size() > 1) m_fields[i] = TrimLeft(data.substr(1));
        return std::string("D") + letter + m_fields[i];
    }
    return "E";
}

void SetSimPosition(CSimModel& model, int32_t position) {
    const auto bits = static_cast<uint32_t>(position);
    model.SetRegister(2069, static_cast<uint16_t>(bits >> 16));
    model.SetRegister(2070, static_cast<uint16_t>(bits & 0xFFFFu));
}
