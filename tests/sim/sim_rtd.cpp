#include "sim/sim_rtd.h"

#include "sim/sim_factory.h"

namespace {

constexpr int kGroupSettings = 1;
constexpr int kItemResistance = 6;
constexpr int kItemDisplayUnit = 21;
constexpr int kItemCustomTable = 61;

}  // namespace

std::unique_ptr<CSimRtdModel> CSimRtdModel::Create(const std::string& code) {
    const std::unique_ptr<CSimModel> plain = CSimModel::Create(code);
    if (!plain || (code != "K9RS" && code != "K9U1")) return nullptr;
    SimModelInfo info{code, code == "K9RS" ? "K9RS" : "K9U", {}, SimFactoryRtd};
    std::unique_ptr<CSimRtdModel> model(new CSimRtdModel(info));
    for (int reg = 0; reg < kRegisterCount; ++reg) model->MapRegisters(reg, 1, plain->GetAccess(reg));
    model->SetItem(kGroupSettings, kItemResistance, "100.0000");
    return model;
}

std::string CSimRtdModel::AnswerItem(int group, int item, const std::string& data) {
    if (group == kGroupSettings && item == kItemCustomTable) return m_table.Answer(data);
    if (group == kGroupSettings && item == kItemResistance && !data.empty()) return "E";
    if (group == kGroupSettings && item == kItemDisplayUnit && !data.empty() && data != "0" && data != "1" &&
        data != "2" && data != "7")
        return "E";
    return CSimModel::AnswerItem(group, item, data);
}

void SetSimPosition(CSimModel& model, int32_t position) {
    const auto bits = static_cast<uint32_t>(position);
    model.SetRegister(2069, static_cast<uint16_t>(bits >> 16));
    model.SetRegister(2070, static_cast<uint16_t>(bits & 0xFFFFu));
}
