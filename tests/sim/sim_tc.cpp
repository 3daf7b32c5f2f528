#include "sim/sim_tc.h"

#include <cstdlib>

namespace {

constexpr int kGroupSettings = 1;
constexpr int kItemTcVoltage = 6;
constexpr int kItemCjmTemperature = 7;
constexpr int kItemCustomTable = 61;
constexpr char kFieldLetters[] = "SPZ";

std::string TrimLeft(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

void SetPair(CSimModel& model, int high, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    model.SetRegister(high, static_cast<uint16_t>(bits >> 16));
    model.SetRegister(high + 1, static_cast<uint16_t>(bits & 0xFFFFu));
}

}  // namespace

std::unique_ptr<CSimTcModel> CSimTcModel::Create(const std::string& code) {
    const SimModelInfo* info = FindInfo(code);
    if (!info || (code != "K9TS" && code.compare(0, 3, "K9U") != 0)) return nullptr;
    std::unique_ptr<CSimTcModel> model(new CSimTcModel(*info));
    model->SetItem(kGroupSettings, kItemTcVoltage, "4.0962");
    model->SetItem(kGroupSettings, kItemCjmTemperature, "25.0000");
    model->m_fields = {"0.0000", "1", "2"};
    model->m_voltage.fill("0.0000");
    SetSimTcInputs(*model, 4096, 10975);
    return model;
}

std::string CSimTcModel::GetTableField(char field) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (kFieldLetters[i] == field) return m_fields[i];
    return std::string();
}

std::string CSimTcModel::AnswerItem(int group, int item, const std::string& data) {
    if (group == kGroupSettings && item == kItemCustomTable) return AnswerCustomTable(data);
    if (group == kGroupSettings && (item == kItemTcVoltage || item == kItemCjmTemperature) && !data.empty())
        return "E";
    return CSimAsciiModel::AnswerItem(group, item, data);
}

std::string CSimTcModel::AnswerCustomTable(const std::string& data) {
    if (data.empty()) return "E";
    const char letter = data[0];
    if (letter == 'T') {
        char* end = nullptr;
        const long index = std::strtol(data.c_str() + 1, &end, 10);
        if (end == data.c_str() + 1 || index < 0 || index >= kCustomPoints) return "E";
        std::string& value = m_voltage[static_cast<size_t>(index)];
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

void SetSimTcInputs(CSimModel& model, int32_t tcMicrovolt, int16_t cjDeciOhm, int32_t tc2Microvolt) {
    SetPair(model, 2069, tcMicrovolt);
    model.SetRegister(2079, static_cast<uint16_t>(cjDeciOhm));
    SetPair(model, 2080, tc2Microvolt);
}
