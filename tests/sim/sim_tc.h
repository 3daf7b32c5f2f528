#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/sim_ascii_model.h"
#include "sim/sim_custom_table.h"

// A thermocouple device ("K9TS") or the universal device ("K9U0" to "K9U5"). The universal device is one
// device whatever its kind: a download's write of the fourth model-code character (register 2077)
// switches the kind it reports. Live registers: the TC voltage in 2069 (high word) and 2070 in uV, the
// cold-junction Pt1000 resistance in 2079 in 0.1 Ohm, the second TC voltage in 2080 and 2081. ASCII:
// item 61 of group 01 holds the custom TC table behind sub-commands (S start, P step, Z points, T<i>
// value i), item 06 the TC voltage and item 07 the cold-junction temperature, both read-only.
class CSimTcModel : public CSimAsciiModel {
public:
    static constexpr int kCustomPoints = CSimCustomTable::kPoints;

    static std::unique_ptr<CSimTcModel> Create(const std::string& code);

    std::string AnswerItem(int group, int item, const std::string& data) override;

    // The custom table as the device holds it, texts as written.
    std::string GetTableField(char field) const { return m_table.GetField(field); }
    const std::string& GetVoltage(int index) const { return m_table.GetPoint(index); }
    void SetVoltage(int index, std::string text) { m_table.SetPoint(index, std::move(text)); }

private:
    explicit CSimTcModel(const SimModelInfo& info) : CSimAsciiModel(info) {}

    CSimCustomTable m_table{"SPZ", {"0.0000", "1", "2"}, "0.0000"};
};

// The live inputs of a thermocouple device: TC voltage (uV), cold-junction resistance (0.1 Ohm) and the
// second TC voltage (uV) of the two-thermocouple kinds.
void SetSimTcInputs(CSimModel& model, int32_t tcMicrovolt, int16_t cjDeciOhm, int32_t tc2Microvolt = 0);
