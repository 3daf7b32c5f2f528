#include "model/universal/par_type_u2.h"

#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInputType, 1000, kParChoiceFileOnly},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParTextFileOnly},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParTextFileOnly},
    {kGroupBasic, CParUniversal::kBurnout, 1600, kParChoice},
    {kGroupBasic, CParTypeV::kDamping, 1100, kParText},
    {kGroupBasic, CParUniversal::kRange, 1709, kParReadOnly},
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

// Register 2058: bit 2 marks the millivolt kind, bit 3 burnout, bits 4 to 7 the voltage range (2 for
// 100 mV, 3 for 50 mV).
constexpr uint16_t kKindBit = 0x0004;

}  // namespace

CParTypeU2::CParTypeU2()
    : CParUniversal('2', 0xF3, kKindBit, {kRange, kBurnout, kOutputHigh, kOutputLow, kBurnoutValue}, 10) {
    SetTypeId(kTypeUniversalVoltage);
    SetModelCode("K9U2");
    m_model = "K9U";
    SetDefTable(kDefTable);
    ClearInputTypeRanges();
    SetInputTypeRange(0, {-120000, 1100000, 4, 0, 1000000});
    SetInputTypeRange(1, {-60000, 600000, 4, 0, 500000});
    SetProgressTotal(CountWalkRows() - GetParamCount(kGroupTable));
}

std::unique_ptr<CParBase> CParTypeU2::CreateInstance() const { return std::make_unique<CParTypeU2>(); }

void CParTypeU2::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeV::CopyFrom(src);
    if (const auto* other = dynamic_cast<const CParTypeU2*>(&src)) CopyUniversalStage(*other);
}

std::string CParTypeU2::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    if (code == kInputType) return ChoiceText(kStrMillivoltInputChoices, 2, value);
    if (code == kRange) return ChoiceText(kStrMillivoltRangeChoices, 2, value);
    return CParUniversal::FormatValue(code, value, withUnit);
}

void CParTypeU2::SetValue(int32_t code, int32_t value, bool check) {
    if (code != kInputType) return CParUniversal::SetValue(code, value, check);
    // A type outside 0 and 1 (a file or a register) is stored; the range keeps its value.
    if (check) CheckInputType(value);
    m_inputType = value;
    if (value == 0 || value == 1) SetValue(kRange, value, false);
    if (IsOnline()) return;
    const CTypeRange range = InputTypeRange(value);
    m_input0 = range.default0;
    m_input100 = range.default100;
}

std::string CParTypeU2::GetInputUnit() const { return LoadString(kStrUnitMillivolt); }

void CParTypeU2::GetInputAdjustLimits(double& low, double& high) const {
    low = -1.5;
    high = 1.5;
}

int32_t CParTypeU2::GetInputAdjustScale() const { return 1000; }

void CParTypeU2::ParamToRegisters(int32_t code) {
    uint16_t reg = GetRegister(kRegKindFlags);
    switch (code) {
        case kRange:
            reg = static_cast<uint16_t>((reg & ~uint16_t{0xFFF4}) | kKindBit | (m_range != 0 ? 3 : 2) << 4);
            break;
        default: CParUniversal::ParamToRegisters(code); return;
    }
    SetRegister(kRegKindFlags, reg);
}

void CParTypeU2::RegistersToParam(int32_t code) {
    const uint16_t reg = GetRegister(kRegKindFlags);
    switch (code) {
        case kRange: m_range = ((reg >> 4) & 0xF) == 3 ? 1 : 0; return;
        default: CParUniversal::RegistersToParam(code); return;
    }
}
