#pragma once

#include <optional>
#include <string>

class CSimModel;

// The factory calibration items of group 99: item 5 the input A/D, item 4 the output D/A. Their state
// lives in items of group 99 numbered by Field(), so tests read and preset it through CSimDevice's
// GetItem and SetItem.
//
// Item 5: "V" / "R" read the reference voltage / resistance, "V<mV>" / "R<Ohm>" write it and echo it;
// "G<n>" selects gain n, "G" ends the gain setting; "LR" / "HR" read the 0 % / 100 % point as
// "<count> <value>", "L<value>" / "H<value>" store the measured value with the present A/D count and
// answer the point. Item 4: "X<count>" drives the D/A; "LR", "HR", "MR" read the 0 %, 100 %, 50 % point,
// "L<value>", "H<value>", "M<value>" store the measured value with the D/A count last driven.
// A value that is not a number is answered "E" and stores nothing.
namespace SimCalibration {
constexpr int kGroup = 99;
constexpr int kItemOutput = 4;
constexpr int kItemInput = 5;

// Item of group 99 that holds field `sub` of calibration item `item`.
int Field(int item, char sub);
// Sets the factory state: references, the A/D counts the input presents and the stored points.
void Preset(CSimModel& model);
// The reply line for a D-command with `data` to item `item` of group 99; none for other items.
std::optional<std::string> Answer(CSimModel& model, int item, const std::string& data);
}  // namespace SimCalibration
