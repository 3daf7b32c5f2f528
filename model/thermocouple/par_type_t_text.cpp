#include <algorithm>
#include <iterator>
#include <string>

#include "link/private_exception.h"
#include "model/hooks/par_editor.h"
#include "model/thermocouple/par_type_t.h"
#include "model/set/temperature_unit.h"
#include "platform/admin_mode.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

// The only input type a restricted model measures.
constexpr int32_t kRestrictedTypes[] = {CParTypeT::kTypeN};
constexpr int32_t kRestrictedCount = static_cast<int32_t>(std::size(kRestrictedTypes));

// Codes whose stored text is a plain integer.
bool IsIntegerCode(int32_t code) {
    switch (code) {
        case CParTypeT::kTerminalSelect:
        case CParTypeT::kVoltageRange:
        case CParTypeT::kVoltPeriod:
        case CParTypeT::kCustomStep:
        case CParTypeT::kCustomPoints: return true;
        default: return false;
    }
}

// Codes whose stored text is a fixed-point number of four decimals.
bool IsFixedPointCode(int32_t code) {
    if (CParTypeT::IsVoltageCode(code) || CParTypeT::IsOutputTableCode(code)) return true;
    switch (code) {
        case CParTypeT::kColdJunction:
        case CParTypeT::kColdJunctionVolt:
        case CParTypeT::kCustomStart:
        case CParTypeT::kCjmTemperature:
        case CParTypeT::kTcVoltage: return true;
        default: return false;
    }
}

// Codes of this model's own fields, whose stored text is their raw value text.
bool IsOwnFieldCode(int32_t code) {
    if (IsIntegerCode(code) || IsFixedPointCode(code) || CParTypeT::IsCjTableCode(code)) return true;
    switch (code) {
        case CParTypeT::kStartVolt:
        case CParTypeT::kDisplayUnit: return true;
        default: return false;
    }
}

// Temperatures shown in the display unit.
bool IsTemperatureCode(int32_t code) {
    switch (code) {
        case CParTypeV::kInput0:
        case CParTypeV::kInput100:
        case CParTypeT::kColdJunction:
        case CParTypeT::kCustomStart:
        case CParTypeT::kCjmTemperature: return true;
        default: return false;
    }
}

bool StartsWithMinus(const std::string& text) { return !text.empty() && text.front() == '-'; }

}  // namespace

std::string CParTypeT::GetParamName(int32_t code) const {
    if (IsVoltageCode(code)) return FormatC(LoadString(kStrVoltagePoint).c_str(), code - kVoltageFirst);
    return CParTypeV::GetParamName(code);
}

int32_t CParTypeT::UnitForName() const { return EffectiveTemperatureUnit(m_displayUnit); }

std::string CParTypeT::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    const std::string millivolt = LoadString(kStrUnitMillivolt);
    if (IsVoltageCode(code)) {
        const std::string text = FormatRawValue(code, value);
        return withUnit ? WithUnit(text, millivolt) : text;
    }
    if (IsTemperatureCode(code) || code == kCustomStep) {
        const std::string text = code == kCustomStep ? CustomStepText(m_displayUnit, value)
                                                     : FormatC("%.4lf", ToDisplayUnit(value) / 10000.0);
        return withUnit ? WithUnit(text, TemperatureUnitName(UnitForName())) : text;
    }
    switch (code) {
        case kInputType:
            if (!withUnit && IsRestrictedModel()) {
                if (value < 0 || value >= kRestrictedCount) return std::string();
                return ChoiceText(kStrTcInputChoices, kInputTypes, kRestrictedTypes[value]);
            }
            return ChoiceText(kStrTcInputChoices, kInputTypes, value);
        case kTerminalSelect: return ChoiceText(kStrTerminalChoices, 2, value);
        case kVoltageRange: return ChoiceText(kStrVoltageRangeChoices, 2, value);
        case kVoltPeriod: return ChoiceText(kStrVoltPeriodChoices, 4, value);
        case kDisplayUnit: return value >= 0 && value < 3 ? TemperatureUnitName(value) : std::string();
        case kStartVolt:
        case kColdJunctionVolt: {
            const std::string text = FormatC(code == kStartVolt ? "%.3lf" : "%.4lf",
                                             code == kStartVolt ? value / 1000.0 : value / 10000.0);
            return withUnit ? text + "(" + millivolt + ")" : text;
        }
        case kInputFineZero: {
            std::string text = FormatC("%.4lf", value / 10000.0);
            if (!withUnit) return text;
            text = WithUnit(text, millivolt);
            return StartsWithMinus(text) ? text : "+" + text;
        }
        case kTcVoltage: {
            const std::string text = GetValueString(code);
            return withUnit ? WithUnit(text, millivolt) : text;
        }
        default: return CParCustomTable::FormatValue(code, value, withUnit);
    }
}

std::string CParTypeT::FormatRawValue(int32_t code, int32_t value) const {
    if (IsIntegerCode(code) || IsCjTableCode(code)) return FormatC("%d", value);
    if (IsFixedPointCode(code)) return FormatC("%.4lf", value / 10000.0);
    if (code == kDisplayUnit) return FormatC("%d", StoredTemperatureUnit(value));
    return CParCustomTable::FormatRawValue(code, value);
}

std::string CParTypeT::GetValueString(int32_t code) const {
    if (IsCjTableCode(code))
        return FormatRawValue(code, m_cjTable[static_cast<size_t>(code - kCjTableFirst)]);
    if (code == kTcVoltage) return FormatRawValue(code, m_tcVoltage);
    if (IsOwnFieldCode(code)) return FormatRawValue(code, GetValue(code));
    if (code == kInputLive) {
        if (GetStatus() != 0) return GetValueString(kStatusText);
        return FormatC("%.3lf%s, %.2lf%%", ToDisplayUnit(m_inputValue) / 10000.0, GetInputUnit().c_str(),
                       m_inputPercent / 10000.0);
    }
    return CParCustomTable::GetValueString(code);
}

void CParTypeT::SetValueFromString(int32_t code, const std::string& text, bool check) {
    if (IsIntegerCode(code) || code == kDisplayUnit) return SetValue(code, ParseInt32(text), check);
    // The stored text of the cold-junction temperature is in degC, whatever the display unit: taken to
    // the display unit here, so that SetValue brings it back exactly.
    if (code == kColdJunction) return SetValue(code, ToDisplayUnit(ParseScaled(text)), check);
    if (IsFixedPointCode(code)) return SetValue(code, ParseScaled(text), check);
    CParCustomTable::SetValueFromString(code, text, check);
}

void CParTypeT::CheckTypeForDevice(std::string_view deviceModel) const {
    if (!IsRestrictedModelText(deviceModel)) return;
    if (std::find(std::begin(kRestrictedTypes), std::end(kRestrictedTypes), m_inputType) !=
        std::end(kRestrictedTypes))
        return;
    throw CPrivateException(
        FormatC(LoadString(kStrInputTypeUnsupported).c_str(), GetValueText(kInputType).c_str()));
}

int32_t CParTypeT::ParseDisplayTemperature(const std::string& text) const {
    return FromDisplayUnit(ParseScaled(text));
}

void CParTypeT::SetValueFromItem(int32_t code, const CParEditor& editor) {
    if (editor.GetMode() == CParEditor::kChoiceAccepted && code == kInputType && IsRestrictedModel()) {
        const int32_t index = editor.GetChoiceIndex();
        if (index >= 0 && index < kRestrictedCount) SetValue(kInputType, kRestrictedTypes[index], false);
        return;
    }
    if (editor.GetMode() != CParEditor::kTextAccepted) return CParTypeV::SetValueFromItem(code, editor);
    const std::string text = editor.GetText();
    switch (code) {
        case kInput0:
        case kInput100: return CParTypeV::SetValue(code, ParseDisplayTemperature(text), true);
        case kInputFineZero:
        case kInputFineZero2: return SetValue(code, SnapTrunc(ParseNumber(text) * 10000.0), true);
        case kCustomStart: return SetValue(code, ParseDisplayTemperature(text), true);
        case kCustomStep:
            return SetValue(code, CustomStepFromDisplay(m_displayUnit, ParseNumber(text)), true);
        case kColdJunction:
            // Typed in the display unit, which SetValue converts.
            return SetValue(code, ParseScaled(text), true);
        default: return SetValueFromString(code, text, true);
    }
}

int32_t CParTypeT::GetParamState(int32_t code) const {
    if (IsOutputTableCode(code)) return kParReadOnly;
    if (IsVoltageCode(code)) return code - kVoltageFirst < m_customPoints ? kParText : kParReadOnly;
    if (code == kColdJunction && m_terminalSelect == 1) return kParReadOnly;
    return CParTypeV::GetParamState(code);
}

std::string CParTypeT::GetSensorUnit() const { return LoadString(kStrUnitMillivolt); }

std::string CParTypeT::GetInputUnit() const { return TemperatureInputUnit(m_displayUnit); }

std::string CParTypeT::GetTableTitle(int32_t group, int32_t variant) const {
    if (group != kGroupTable) return std::string();
    if (variant == 0) return LoadString(kStrTableFileTitle);
    if (variant == 1 && IsAdminMode()) return LoadString(kStrTcCjTableTitle);
    return std::string();
}
