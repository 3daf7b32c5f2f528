#include "model/thermocouple/par_type_u4.h"

#include "link/modbus_interface.h"
#include "model/set/monitor_decode.h"
#include "model/hooks/par_editor.h"
#include "model/set/temperature_unit.h"
#include "platform/c_number.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInputType, 1000, kParChoiceFileOnly},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParTextFileOnly},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParTextFileOnly},
    {kGroupBasic, CParTypeU4::kDiff0, 1710, kParText},
    {kGroupBasic, CParTypeU4::kDiff100, 1711, kParText},
    {kGroupBasic, CParTypeT::kBurnout, 1600, kParChoice},
    {kGroupBasic, CParTypeT::kTerminalSelect, 1700, kParChoiceFileOnly},
    {kGroupBasic, CParTypeT::kColdJunction, 1701, kParTextFileOnly},
    {kGroupBasic, CParTypeT::kColdJunctionVolt, 1702, kParReadOnly},
    {kGroupBasic, CParTypeT::kDisplayUnit, 1605, kParChoice},
    {kGroupBasic, CParTypeV::kDamping, 1100, kParText},
    {kGroupBasic, CParTypeT::kVoltageRange, 1703, kParReadOnly},
    {kGroupBasic, CParTypeT::kStartVolt, 1704, kParReadOnly},
    {kGroupBasic, CParTypeT::kVoltPeriod, 1705, kParReadOnly},
    {kGroupBasic, CParTypeV::kHeaderOutput, 1020, kParHeader},
    {kGroupBasic, CParTypeV::kOutputType, 1500, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput0, 1400, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput100, 1401, kParReadOnly},
    {kGroupBasic, CParTypeT::kOutputHigh, 1602, kParText},
    {kGroupBasic, CParTypeT::kOutputLow, 1603, kParText},
    {kGroupBasic, CParTypeT::kBurnoutValue, 1601, kParText},
    {kGroupFineAdjust, CParTypeV::kHeaderFineAdjust, 1021, kParHeader},
    {kGroupFineAdjust, CParTypeV::kInputFineZero, 1712, kParText},
    {kGroupFineAdjust, CParTypeV::kInputFineSpan, 1713, kParText},
    {kGroupFineAdjust, CParTwoTc::kInput2FineZero, 1714, kParText},
    {kGroupFineAdjust, CParTwoTc::kInput2FineSpan, 1715, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineZero, 1501, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineSpan, 1502, kParText},
    {kGroupTable, CParTypeV::kHeaderCustomTc, 1024, kParHeader},
    {kGroupTable, CParTypeT::kCustomStart, 1706, kParText},
    {kGroupTable, CParTypeT::kCustomStep, 1707, kParText},
    {kGroupTable, CParTypeT::kCustomPoints, 1708, kParText},
    {kGroupIdentity, CParTypeV::kTag, 10000, kParText},
    {kGroupIdentity, CParTypeV::kModel, 10001, kParText},
    {kGroupIdentity, CParTypeV::kSerial, 10002, kParText},
    {kGroupIdentity, CParTypeV::kHardware, 10015, kParText},
    {kGroupIdentity, CParTypeV::kFirmware, 10016, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kInputLive, 10004, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kOutputLive, 10006, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kStatusText, 10010, kParReadOnly},
    {kGroupDeviceInfo, CParTypeT::kCjmTemperature, 10030, kParReadOnly},
    {kGroupDeviceInfo, CParTwoTc::kTc1Voltage, 10032, kParReadOnly},
    {kGroupDeviceInfo, CParTwoTc::kTc2Voltage, 10033, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kTag, 10000, kParText},
    {kGroupDeviceInfo, CParTypeV::kModel, 10001, kParText},
    {kGroupDeviceInfo, CParTypeV::kSerial, 10002, kParText},
    {kGroupDeviceInfo, CParTypeV::kHardware, 10015, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kFirmware, 10016, kParReadOnly},
    {0, 0, 0, 0},
};

// Diff0% may lie up to 300 degC above Diff100%.
constexpr int64_t kDiffOverlap = 3000000;
constexpr int32_t kDiffLimit = 99990000;

}  // namespace

CParTypeU4::CParTypeU4() : CParTwoTc(kTypeTwoTcDifference, "K9U4", kDefTable) {}

std::unique_ptr<CParBase> CParTypeU4::CreateInstance() const { return std::make_unique<CParTypeU4>(); }

void CParTypeU4::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeT::CopyFrom(src);
    if (const auto* other = dynamic_cast<const CParTypeU4*>(&src)) {
        CopySecondInput(*other);
        m_diff0 = other->m_diff0;
        m_diff100 = other->m_diff100;
    }
}

int32_t CParTypeU4::GetValue(int32_t code) const {
    switch (code) {
        case kDiff0: return m_diff0;
        case kDiff100: return m_diff100;
        default: return CParTwoTc::GetValue(code);
    }
}

void CParTypeU4::SetValue(int32_t code, int32_t value, bool check) {
    switch (code) {
        case kDiff0:
            if (check) CheckLowEnd(code, value, -kDiffLimit, kDiffLimit, -kDiffOverlap, m_diff100);
            m_diff0 = value;
            return;
        case kDiff100:
            if (check) CheckHighEnd(code, value, -kDiffLimit, kDiffLimit, 1, m_diff0);
            m_diff100 = value;
            return;
        default: CParTwoTc::SetValue(code, value, check); return;
    }
}

std::string CParTypeU4::FormatRawValue(int32_t code, int32_t value) const {
    if (code == kDiff0 || code == kDiff100) return FormatC("%.4lf", value / 10000.0);
    return CParTwoTc::FormatRawValue(code, value);
}

std::string CParTypeU4::GetValueString(int32_t code) const {
    if (code == kDiff0 || code == kDiff100) return FormatRawValue(code, GetValue(code));
    return CParTwoTc::GetValueString(code);
}

std::string CParTypeU4::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    if (code != kDiff0 && code != kDiff100) return CParTwoTc::FormatValue(code, value, withUnit);
    const std::string text = FormatC("%.4lf", ToDisplayUnit(value) / 10000.0);
    return withUnit ? WithUnit(text, TemperatureUnitName(UnitForName())) : text;
}

void CParTypeU4::SetValueFromItem(int32_t code, const CParEditor& editor) {
    if (editor.GetMode() == CParEditor::kTextAccepted && (code == kDiff0 || code == kDiff100))
        return SetValue(code, ParseDisplayTemperature(editor.GetText()), true);
    CParTwoTc::SetValueFromItem(code, editor);
}

void CParTypeU4::ParamToRegisters(int32_t code) {
    switch (code) {
        case kDiff0: SetRegisterPair(kRegDiff0, m_diff0); return;
        case kDiff100: SetRegisterPair(kRegDiff100, m_diff100); return;
        default: CParTwoTc::ParamToRegisters(code); return;
    }
}

void CParTypeU4::RegistersToParam(int32_t code) {
    switch (code) {
        case kDiff0: m_diff0 = GetRegisterPair(kRegDiff0); return;
        case kDiff100: m_diff100 = GetRegisterPair(kRegDiff100); return;
        default: CParTwoTc::RegistersToParam(code); return;
    }
}

void CParTypeU4::WriteParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kDiff0 && code != kDiff100) return CParTwoTc::WriteParamModbus(modbus, code);
    ParamToRegisters(code);
    WriteBlock(modbus, code == kDiff0 ? kRegDiff0 : kRegDiff100, 2);
}

void CParTypeU4::ReadParamModbus(CModbusInterface& modbus, int32_t code) {
    if (code != kDiff0 && code != kDiff100) return CParTwoTc::ReadParamModbus(modbus, code);
    ReadBlock(modbus, code == kDiff0 ? kRegDiff0 : kRegDiff100, 2);
    RegistersToParam(code);
}

int32_t CParTypeU4::MonitorInput() const { return InputFromPercent(m_diff0, m_diff100, m_inputPercent); }

void CParTypeU4::DownloadExtra(CModbusInterface& modbus, int32_t part) {
    CParTwoTc::DownloadExtra(modbus, part);
    if (!Runs(part, kPartFineAdjust)) return;
    ParamToRegisters(kDiff0);
    ParamToRegisters(kDiff100);
    WriteBlock(modbus, kRegDiff0, 4, 2);
}

void CParTypeU4::UploadModbus(CModbusInterface& modbus, int32_t part) {
    CParTwoTc::UploadModbus(modbus, part);
    if (!Runs(part, kPartFineAdjust)) return;
    ReadBlock(modbus, kRegDiff0, 4, 2);
    RegistersToParam(kDiff0);
    RegistersToParam(kDiff100);
}
