#include "sim/sim_tc.h"

namespace {

constexpr int kGroupSettings = 1;
constexpr int kItemTcVoltage = 6;
constexpr int kItemCjmTemperature = 7;
constexpr int kItemCustomTable = 61;
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
    SetSimTcInputs(*model, 4096, 10975);
    return model;
}

std::string CSimTcModel::AnswerItem(int group, int item, const std::string& data) {
    if (group == kGroupSettings && item == kItemCustomTable) return m_table.Answer(data);
    if (group == kGroupSettings && (item == kItemTcVoltage || item == kItemCjmTemperature) && !data.empty())
        return "E";
    return CSimAsciiModel::AnswerItem(group, item, data);
}

void SetSimTcInputs(CSimModel& model, int32_t tcMicrovolt, int16_t cjDeciOhm, int32_t tc2Microvolt) {
    SetPair(model, 2069, tcMicrovolt);
    model.SetRegister(2079, static_cast<uint16_t>(cjDeciOhm));
    SetPair(model, 2080, tc2Microvolt);
}
