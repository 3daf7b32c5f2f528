#pragma once

#include <memory>
#include <string>

#include "sim/sim_model.h"

// A device model that answers the common ASCII items as the devices do: items 20, 31, 62 and 90 take a
// sub-command letter or digit after the 'D' that selects one of their fields; every other item keeps
// the plain read-or-store behaviour of CSimModel. Fields are kept as items of their own, numbered by
// Field(), so tests reach them through CSimDevice::GetItem and SetItem of group 1.
class CSimAsciiModel : public CSimModel {
public:
    explicit CSimAsciiModel(const SimModelInfo& info);

    // The DC-input device ("K9R"): no model registers beyond the common ones, common items only.
    static std::unique_ptr<CSimAsciiModel> CreateDcInput();

    // Item number of a field: Field(90, '6') the tag, Field(62, 'X', 5) the X value of point 5,
    // Field(62, 'W') how many times the linearizer table was stored.
    static int Field(int item, char sub, int index = 0);

    std::string AnswerItem(int group, int item, const std::string& data) override;

private:
    std::string AnswerSettingsField(int item, const std::string& data);
    std::string AnswerIdentity(const std::string& data);
    std::string AnswerTable(const std::string& data);
};
