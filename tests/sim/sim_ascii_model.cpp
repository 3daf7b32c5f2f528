#include "sim/sim_ascii_model.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

constexpr int kGroupStatus = 0;
constexpr int kGroupSettings = 1;
constexpr int kGroupFactory = 99;
constexpr int kItemFineSpan = 20;
constexpr int kItemFineZero = 31;
constexpr int kItemTable = 62;
constexpr int kItemIdentity = 90;
constexpr int kPoints = 101;

bool IsDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

CSimAsciiModel::CSimAsciiModel(const SimModelInfo& info) : CSimModel(info) {
    const struct {
        int item;
        const char* value;
    } settings[] = {
        {1, "0"},  {2, "12.0000"},         {3, "50.0000"},         {4, "25.0000"}, {5, "50.0000"}, {10, "0"},
        {11, "0"}, {12, "4.0000 20.0000"}, {14, "0.0000 50.0000"}, {18, "0.0"},    {19, "0.0000"}, {25, "0"},
        {50, "0"},
    };
    for (const auto& s : settings) SetItem(kGroupSettings, s.item, s.value);
    SetItem(kGroupSettings, Field(kItemFineSpan, 'S'), "1.0000");
    SetItem(kGroupSettings, Field(kItemFineZero, 'Z'), "0.0000 0.0000");
    SetItem(kGroupSettings, Field(kItemFineZero, 'S'), "1.0000");
    SetItem(kGroupSettings, Field(kItemTable, 'Z'), "3");
    SetItem(kGroupSettings, Field(kItemTable, 'W'), "0");
    for (int i = 0; i < kPoints; ++i) {
        SetItem(kGroupSettings, Field(kItemTable, 'X', i), "0.0000");
        SetItem(kGroupSettings, Field(kItemTable, 'Y', i), "0.0000");
    }
    SetItem(kGroupSettings, Field(kItemIdentity, '6'), "SIMTAG");
    SetItem(kGroupSettings, Field(kItemIdentity, '3'), "S0000001");
    SetItem(kGroupSettings, Field(kItemIdentity, '5'), "0");
    SetItem(kGroupSettings, Field(kItemIdentity, '0'), info.modelText);
    SetItem(kGroupStatus, 1, "0");
}

std::unique_ptr<CSimAsciiModel> CSimAsciiModel::CreateDcInput() {
    return std::make_unique<CSimAsciiModel>(SimModelInfo{"K9R", "K9R", {}});
}

int CSimAsciiModel::Field(int item, char sub, int index) {
    return item * 100000 + static_cast<unsigned char>(sub) * 1000 + index;
}

std::string CSimAsciiModel::AnswerItem(int group, int item, const std::string& data) {
    if (item == kItemIdentity && (group == kGroupSettings || group == kGroupFactory))
        return AnswerIdentity(data);
    if (group == kGroupSettings && (item == kItemFineSpan || item == kItemFineZero || item == kItemTable))
        return AnswerSettingsField(item, data);
    return CSimModel::AnswerItem(group, item, data);
}

// Item 20: "S" reads the span, "S<value>" writes it. Item 31: "Z" reads zero, second value and span,
// "ZZ<zero> <second>" and "S<span>" write them. Item 62: the linearizer table.
std::string CSimAsciiModel::AnswerSettingsField(int item, const std::string& data) {
    if (item == kItemTable) return AnswerTable(data);
    if (data == "S") return "DS" + GetItem(kGroupSettings, Field(item, 'S'));
    if (data.size() > 1 && data[0] == 'S') {
        SetItem(kGroupSettings, Field(item, 'S'), data.substr(1));
        return "D";
    }
    if (item == kItemFineZero && data == "Z") {
        return "DZ" + GetItem(kGroupSettings, Field(item, 'Z')) + " " +
               GetItem(kGroupSettings, Field(item, 'S'));
    }
    if (item == kItemFineZero && data.size() > 2 && data.compare(0, 2, "ZZ") == 0) {
        SetItem(kGroupSettings, Field(item, 'Z'), data.substr(2));
        return "D";
    }
    return "E";
}

// "Z" reads the number of points, "Z<n>" writes it; "X<i>" and "Y<i>" read a point, "X<i>D<value>" and
// "Y<i>D<value>" write one; "W" stores the table, "R" rewinds the device's read-out.
std::string CSimAsciiModel::AnswerTable(const std::string& data) {
    if (data.empty()) return "E";
    const char sub = data[0];
    const std::string rest = data.substr(1);
    if (sub == 'R') return "D";
    if (sub == 'W') {
        const int stored = std::atoi(GetItem(kGroupSettings, Field(kItemTable, 'W')).c_str());
        SetItem(kGroupSettings, Field(kItemTable, 'W'), std::to_string(stored + 1));
        return "D";
    }
    if (sub == 'Z') {
        if (rest.empty()) return "D" + GetItem(kGroupSettings, Field(kItemTable, 'Z'));
        SetItem(kGroupSettings, Field(kItemTable, 'Z'), rest);
        return "D";
    }
    if (sub != 'X' && sub != 'Y') return "E";
    const size_t split = rest.find('D');
    const std::string index = rest.substr(0, split);
    if (!IsDigits(index) || std::atoi(index.c_str()) >= kPoints) return "E";
    const int field = Field(kItemTable, sub, std::atoi(index.c_str()));
    if (split == std::string::npos) return "D" + GetItem(kGroupSettings, field);
    SetItem(kGroupSettings, field, rest.substr(split + 1));
    return "D";
}

// "6" tag, "3" serial number, "5" calibrated date, "0" model text: the digit alone reads the field,
// followed by text writes it. A lone blank writes the empty text.
std::string CSimAsciiModel::AnswerIdentity(const std::string& data) {
    if (data.empty() || std::string("0356").find(data[0]) == std::string::npos) return "E";
    const int field = Field(kItemIdentity, data[0]);
    if (data.size() == 1) return "D" + GetItem(kGroupSettings, field);
    const std::string value = data.substr(1);
    SetItem(kGroupSettings, field, value == " " ? std::string() : value);
    return "D";
}
