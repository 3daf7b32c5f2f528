#include <bit>
#include <cmath>
#include <limits>

#include "model/hooks/par_editor.h"
#include "model/rtd/par_type_r.h"
#include "model/set/temperature_unit.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

// Codes whose stored text is a plain integer.
bool IsIntegerCode(int32_t code) {
    switch (code) {
        case CParTypeR::kSensorWires:
        case CParTypeV::kResistanceRange:
        case CParTypeR::kCustomType:
        case CParTypeR::kCustomStep:
        case CParTypeR::kCustomPoints: return true;
        default: return false;
    }
}

// Codes of this model's own fields, whose stored text is their raw value text.
bool IsOwnFieldCode(int32_t code) {
    if (IsIntegerCode(code) || CParTypeR::IsResistanceCode(code) || CParTypeR::IsOutputTableCode(code))
        return true;
    switch (code) {
        case CParTypeR::kCvdFirst:
        case CParTypeR::kCvdFirst + 1:
        case CParTypeR::kCvdFirst + 2:
        case CParTypeR::kCvdLast:
        case CParTypeR::kCustomStart:
        case CParTypeR::kDisplayUnit:
        case CParTypeR::kRtdResistance: return true;
        default: return false;
    }
}

bool IsCvdCode(int32_t code) { return code >= CParTypeR::kCvdFirst && code <= CParTypeR::kCvdLast; }

// The bits of the single-precision float a text holds; a text without a finite float gives 0.0.
int32_t ParseFloatBits(const std::string& text) {
    const auto d = ParseDouble(text);
    float f = 0.0f;
    if (d && std::fabs(*d) <= double{std::numeric_limits<float>::max()}) f = static_cast<float>(*d);
    return std::bit_cast<int32_t>(f);
}

}  // namespace

std::string CParTypeR::GetParamName(int32_t code) const {
    if (IsResistanceCode(code))
        return FormatC(LoadString(kStrResistancePoint).c_str(), code - kResistanceFirst);
    return CParTypeV::GetParamName(code);
}

std::string CParTypeR::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    std::string text;
    std::string unit;
    switch (code) {
        case kInputType: return ChoiceText(kStrRtdInputChoices, 7, value);
        case kSensorWires: return ChoiceText(kStrSensorWireChoices, 3, value);
        case kDisplayUnit: return ChoiceText(kStrTemperatureUnits, 3, value);
        case kCustomType: return ChoiceText(kStrCustomTypeChoices, 2, value);
        case kInput0:
        case kInput100:
        case kCustomStart:
            text = FormatC("%.4lf", ToDisplayUnit(value) / 10000.0);
            unit = FormatValue(kDisplayUnit, EffectiveTemperatureUnit(m_displayUnit), false);
            break;
        case kCustomStep:
            text = CustomStepText(m_displayUnit, value);
            unit = FormatValue(kDisplayUnit, EffectiveTemperatureUnit(m_displayUnit), false);
            break;
        case kInputFineZero:
        case kInputFineZero2:
            text = FormatC("%.4lf", value / 10000.0);
            if (code == kInputFineZero) unit = LoadString(kStrUnitOhm);
            break;
        case kRtdResistance:
            text = GetValueString(code);
            unit = LoadString(kStrUnitOhm);
            break;
        default:
            if (!IsResistanceCode(code)) return CParOutputStage::FormatValue(code, value, withUnit);
            text = FormatRawValue(code, value);
            unit = LoadString(kStrUnitOhm);
            break;
    }
    if (!withUnit || unit.empty()) return text;
    text = WithUnit(text, unit);
    if (code == kInputFineZero && text.rfind('-', 0) != 0) text = "+" + text;
    return text;
}

std::string CParTypeR::FormatRawValue(int32_t code, int32_t value) const {
    if (IsOutputTableCode(code) || IsResistanceCode(code) || code == kCustomStart || code == kRtdResistance)
        return FormatC("%.4lf", value / 10000.0);
    if (IsCvdCode(code)) return FormatC("%g", double{std::bit_cast<float>(value)});
    if (IsIntegerCode(code)) return FormatC("%d", value);
    if (code == kDisplayUnit) return FormatC("%d", StoredTemperatureUnit(value));
    return CParOutputStage::FormatRawValue(code, value);
}

std::string CParTypeR::GetValueString(int32_t code) const {
    if (code == kRtdResistance) return FormatRawValue(code, m_rtdResistance);
    if (IsOwnFieldCode(code)) return FormatRawValue(code, GetValue(code));
    if (code == kInputLive) {
        if (GetStatus() != 0) return GetValueString(kStatusText);
        return FormatC("%.3lf%s, %.2lf%%", ToDisplayUnit(m_inputValue) / 10000.0, GetInputUnit().c_str(),
                       m_inputPercent / 10000.0);
    }
    return CParOutputStage::GetValueString(code);
}

void CParTypeR::SetValueFromString(int32_t code, const std::string& text, bool check) {
    // Stored texts are in degC whatever the display unit.
    if (IsIntegerCode(code) || code == kDisplayUnit) return SetValue(code, ParseInt32(text), check);
    if (IsCvdCode(code)) return SetValue(code, ParseFloatBits(text), check);
    if (code == kCustomStart || IsResistanceCode(code)) return SetValue(code, ParseScaled(text), check);
    CParOutputStage::SetValueFromString(code, text, check);
}

void CParTypeR::SetValueFromItem(int32_t code, const CParEditor& editor) {
    if (editor.GetMode() != CParEditor::kTextAccepted) return CParTypeV::SetValueFromItem(code, editor);
    const std::string text = editor.GetText();
    switch (code) {
        case kInputFineZero:
        case kInputFineZero2: return SetValue(code, SnapTrunc(ParseNumber(text) * 10000.0), true);
        case kInput0:
        case kInput100:
        case kCustomStart: return SetValue(code, FromDisplayUnit(ParseScaled(text)), true);
        case kCustomStep:
            return SetValue(code, CustomStepFromDisplay(m_displayUnit, ParseNumber(text)), true);
        default: return SetValueFromString(code, text, true);
    }
}

std::string CParTypeR::GetSensorUnit() const { return LoadString(kStrUnitOhm); }

std::string CParTypeR::GetInputUnit() const { return TemperatureInputUnit(m_displayUnit); }
