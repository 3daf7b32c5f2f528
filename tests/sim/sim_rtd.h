#pragma once

#include <memory>
#include <string>

#include "sim/sim_custom_table.h"
#include "sim/sim_model.h"

// An RTD device ("K9RS", or the universal device in its RTD kind, "K9U1") as far as its ASCII items go
// beyond plain stored texts: item 61 of group 01 holds the custom RTD table behind sub-commands (M type,
// R A B C coefficients, S start, P step, Z points, T<i> resistance i), item 06 the sensor resistance,
// and item 21 takes only the display units the device knows (0, 1, 2 and its Ohm unit 7).
class CSimRtdModel : public CSimModel {
public:
    static constexpr int kCustomPoints = CSimCustomTable::kPoints;

    static std::unique_ptr<CSimRtdModel> Create(const std::string& code);

    std::string AnswerItem(int group, int item, const std::string& data) override;

    // The custom table as the device holds it, texts as written.
    std::string GetTableField(char field) const { return m_table.GetField(field); }
    const std::string& GetResistance(int index) const { return m_table.GetPoint(index); }
    void SetResistance(int index, std::string text) { m_table.SetPoint(index, std::move(text)); }

private:
    explicit CSimRtdModel(const SimModelInfo& info) : CSimModel(info) {}

    CSimCustomTable m_table{"MRABCSPZ", {"0", "0", "0", "0", "0", "0", "0", "2"}, "0.0000"};
};

// A potentiometer device ("K9PM"): its live wiper position in 2069 (high word) and 2070, 1e-4 %.
void SetSimPosition(CSimModel& model, int32_t position);
