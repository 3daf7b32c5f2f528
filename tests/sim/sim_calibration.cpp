#include "sim/sim_calibration.h"

#include <cmath>
#include <cstdlib>

#include "sim/sim_model.h"

namespace SimCalibration {
namespace {

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

std::string Get(CSimModel& model, int item, char sub) { return model.GetItem(kGroup, Field(item, sub)); }
void Put(CSimModel& model, int item, char sub, const std::string& value) {
    model.SetItem(kGroup, Field(item, sub), value);
}

// A point is kept as its count (field of the point letter) and its value (the lower-case letter).
std::string Point(CSimModel& model, int item, char point) {
    return "D" + Get(model, item, point) + " " + Get(model, item, static_cast<char>(point + 'a' - 'A'));
}

std::string AnswerInput(CSimModel& model, const std::string& data) {
    const char sub = data.empty() ? '\0' : data[0];
    const std::string rest = data.empty() ? std::string() : data.substr(1);
    if (sub == 'V' || sub == 'R') {
        if (!rest.empty()) {
            if (!IsNumber(rest)) return "E";
            Put(model, kItemInput, sub, rest);
        }
        return "D" + Get(model, kItemInput, sub);
    }
    if (sub == 'G') {
        Put(model, kItemInput, 'G', rest);
        return "D";
    }
    if (sub == 'L' || sub == 'H') {
        if (rest == "R") return Point(model, kItemInput, sub);
        if (!IsNumber(rest)) return "E";
        // The A/D count the applied input gives now becomes the point's count.
        Put(model, kItemInput, sub, Get(model, kItemInput, sub == 'L' ? 'A' : 'B'));
        Put(model, kItemInput, static_cast<char>(sub + 'a' - 'A'), rest);
        return Point(model, kItemInput, sub);
    }
    return "E";
}

std::string AnswerOutput(CSimModel& model, const std::string& data) {
    const char sub = data.empty() ? '\0' : data[0];
    const std::string rest = data.empty() ? std::string() : data.substr(1);
    if (sub == 'X') {
        if (!IsNumber(rest)) return "E";
        Put(model, kItemOutput, 'X', rest);
        return "D";
    }
    if (sub == 'L' || sub == 'H' || sub == 'M') {
        if (rest == "R") return Point(model, kItemOutput, sub);
        if (!IsNumber(rest)) return "E";
        Put(model, kItemOutput, sub, Get(model, kItemOutput, 'X'));
        Put(model, kItemOutput, static_cast<char>(sub + 'a' - 'A'), rest);
        return Point(model, kItemOutput, sub);
    }
    return "E";
}

}  // namespace

int Field(int item, char sub) { return item * 1000 + static_cast<unsigned char>(sub); }

void Preset(CSimModel& model) {
    const struct {
        int item;
        char sub;
        const char* value;
    } fields[] = {
        {kItemInput, 'V', "2500.1234"}, {kItemInput, 'R', "100.0100"}, {kItemInput, 'A', "1234"},
        {kItemInput, 'B', "60000"},     {kItemInput, 'L', "1200"},     {kItemInput, 'l', "0.0000"},
        {kItemInput, 'H', "59000"},     {kItemInput, 'h', "100.0000"}, {kItemOutput, 'X', "0"},
        {kItemOutput, 'L', "2000"},     {kItemOutput, 'l', "4.0000"},  {kItemOutput, 'H', "14000"},
        {kItemOutput, 'h', "20.0000"},  {kItemOutput, 'M', "8000"},    {kItemOutput, 'm', "12.0000"},
    };
    for (const auto& f : fields) Put(model, f.item, f.sub, f.value);
}

std::optional<std::string> Answer(CSimModel& model, int item, const std::string& data) {
    if (item == kItemInput) return AnswerInput(model, data);
    if (item == kItemOutput) return AnswerOutput(model, data);
    return std::nullopt;
}

}  // namespace SimCalibration
