#include "model/universal/par_type_u3.h"

#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInputType, 1000, kParChoiceFileOnly},
    {kGroupBasic, CParUniversal::kSensorWires, 1604, kParChoice},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParTextFileOnly},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParTextFileOnly},
    {kGroupBasic, CParUniversal::kBurnout, 1600, kParChoice},
    {kGroupBasic, CParTypeV::kDamping, 1100, kParText},
    {kGroupBasic, CParUniversal::kRange, 1606, kParReadOnly},
    {kGroupBasic, CParTypeV::kHeaderOutput, 1020, kParHeader},
    {kGroupBasic, CParTypeV::kOutputType, 1500, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput0, 1400, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput100, 1401, kParReadOnly},
    {kGroupBasic, CParUniversal::kOutputHigh, 1602, kParText},
    {kGroupBasic, CParUniversal::kOutputLow, 1603, kParText},
    {kGroupBasic, CParUniversal::kBurnoutValue, 1601, kParText},
    {kGroupFineAdjust, CParTypeV::kHeaderFineAdjust, 1021, kParHeader},
    {kGroupFineAdjust, CParTypeV::kInputFineZero, 1101, kParText},
    {kGroupFineAdjust, CParTypeV::kInputFineSpan, 1102, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineZero, 1501, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineSpan, 1502, kParText},
    {kGroupTable, CParTypeV::kHeaderLinearizer, 1022, kParHeader},
    {kGroupTable, CParTypeV::kLinearization, 1300, kParReadOnly},
    {kGroupTable, CParTypeV::kPointCount, 1301, kParText},
    {kGroupIdentity, CParTypeV::kTag, 10000, kParText},
    {kGroupIdentity, CParTypeV::kModel, 10001, kParText},
    {kGroupIdentity, CParTypeV::kSerial, 10002, kParText},
    {kGroupIdentity, CParTypeV::kHardware, 10015, kParText},
    {kGroupIdentity, CParTypeV::kFirmware, 10016, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kInputLive, 10004, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kOutputLive, 10006, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kStatusText, 10010, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kTag, 10000, kParText},
    {kGroupDeviceInfo, CParTypeV::kModel, 10001, kParText},
    {kGroupDeviceInfo, CParTypeV::kSerial, 10002, kParText},
    {kGroupDeviceInfo, CParTypeV::kHardware, 10015, kParText},
    {kGroupDeviceInfo, CParTypeV::kFirmware, 10016, kParReadOnly},
    {0, 0, 0, 0},
};

// The resistance range that names the same span as each input type (500 Ohm, 2.5 kOhm, 5 kOhm).
constexpr int32_t kRangeOfType[] = {2, 1, 0};

// Register 2058: bits 0 to 2 the sensor wires + 1, bit 3 burnout, bits 4 to 7 the resistance range.

}  // namespace

CParTypeU3::CParTypeU3()
    : CParUniversal('3', 0xF7, 0, {kSensorWires, kBurnout, kRange, kOutputHigh, kOutputLow, kBurnoutValue},
                    100) {
    SetTypeId(kTypeUniversalResistance);
    SetModelCode("K9U3");
    m_model = "K9U";
    m_range = 2;
    SetDefTable(kDefTable);
    ClearInputTypeRanges();
    SetInputTypeRange(0, {0, 5000000, 1000, 0, 5000000});
    SetInputTypeRange(1, {0, 25000000, 1000, 0, 25000000});
    SetInputTypeRange(2, {0, 50000000, 1000, 0, 40000000});
    SetProgressTotal(CountWalkRows() - GetParamCount(kGroupTable));
}

std::unique_ptr<CParBase> CParTypeU3::CreateInstance() const { return std::make_unique<CParTypeU3>(); }

void CParTypeU3::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeV::CopyFrom(src);
    if (const auto* other = dynamic_cast<const CParTypeU3*>(&src)) {
        CopyUniversalStage(*other);
        m_sensorWires = other->m_sensorWires;
    }
}

int32_t CParTypeU3::GetValue(int32_t code) const {
    return code == kSensorWires ? m_sensorWires : CParUniversal::GetValue(code);
}

std::string CParTypeU3::GetValueString(int32_t code) const {
    if (code == kSensorWires) return FormatRawValue(code, m_sensorWires);
    return CParUniversal::GetValueString(code);
}

std::string CParTypeU3::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    switch (code) {
        case kInputType: return ChoiceText(kStrResistanceInputChoices, 3, value);
        case kSensorWires: return ChoiceText(kStrSensorWireChoices, 3, value);
        case kRange: return ChoiceText(kStrResistanceRangeChoices, 3, value);
        default: return CParUniversal::FormatValue(code, value, withUnit);
    }
}

void CParTypeU3::SetValue(int32_t code, int32_t value, bool check) {
    if (code == kSensorWires) {
        if (check) CheckChoice(code, value);
        m_sensorWires = value;
        return;
    }
    if (code != kInputType) return CParUniversal::SetValue(code, value, check);
    // A type outside 0 to 2 (a file or a register) is stored; the range keeps its value.
    if (check) CheckInputType(value);
    m_inputType = value;
    if (value >= 0 && value <= 2) SetValue(kRange, kRangeOfType[value], false);
    if (IsOnline()) return;
    const CTypeRange range = InputTypeRange(value);
    m_input0 = range.default0;
    m_input100 = range.default100;
}

void CParTypeU3::SetValueFromString(int32_t code, const std::string& text, bool check) {
    if (code == kSensorWires) return SetValue(code, ParseInt32(text), check);
    CParUniversal::SetValueFromString(code, text, check);
}

std::string CParTypeU3::GetInputUnit() const { return LoadString(kStrUnitOhm); }

void CParTypeU3::GetInputAdjustLimits(double& low, double& high) const {
    low = -20.0;
    high = 20.0;
}

int32_t CParTypeU3::GetInputAdjustScale() const { return 100; }

void CParTypeU3::ParamToRegisters(int32_t code) {
    uint16_t reg = GetRegister(kRegKindFlags);
    switch (code) {
        case kSensorWires:
            reg = static_cast<uint16_t>((reg & 0x00F8u) | ((static_cast<uint32_t>(m_sensorWires) + 1u) & 7u));
            break;
        case kRange:
            reg = static_cast<uint16_t>((reg & 0x000Fu) | (static_cast<uint32_t>(m_range) & 0xFu) << 4);
            break;
        default: CParUniversal::ParamToRegisters(code); return;
    }
    SetRegister(kRegKindFlags, reg);
}

void CParTypeU3::RegistersToParam(int32_t code) {
    const uint16_t reg = GetRegister(kRegKindFlags);
    switch (code) {
        case kSensorWires: m_sensorWires = (reg - 1) & 7; return;
        case kRange: m_range = (reg >> 4) & 0xF; return;
        default: CParUniversal::RegistersToParam(code); return;
    }
}
