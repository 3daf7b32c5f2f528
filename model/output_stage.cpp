#include "model/output_stage.h"

#include "link/private_exception.h"
#include "model/par_type_v.h"
#include "platform/message_format.h"

void CheckBurnoutValue(const CParTypeV& set, int32_t code, int32_t value) {
    if ((value >= 37500 && value <= 38000) || (value >= 215000 && value <= 230000)) return;
    const auto window = [&](int32_t low, int32_t high) {
        return set.FormatValue(code, low, false) + "-" + set.FormatValue(code, high, false);
    };
    throw CPrivateException(
        FormatMessageId(228, {set.GetParamName(code), window(37500, 38000), window(215000, 230000)}));
}

uint16_t OutputToRegister(int32_t value) {
    const int64_t counts = (int64_t{value} * 40000 - 1600000000) / 160000 + 10000;
    return static_cast<uint16_t>(static_cast<uint64_t>(counts) & 0xFFFFu);
}

int32_t RegisterToOutput(uint16_t reg) { return (int32_t{reg} - 10000) * 4 + 40000; }
