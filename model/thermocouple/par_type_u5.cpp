#include "model/thermocouple/par_type_u5.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInputType, 1000, kParChoiceFileOnly},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParTextFileOnly},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParTextFileOnly},
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

}  // namespace

CParTypeU5::CParTypeU5() : CParTwoTc(kTypeTwoTcAverage, "K9U5", kDefTable) {}

std::unique_ptr<CParBase> CParTypeU5::CreateInstance() const { return std::make_unique<CParTypeU5>(); }

void CParTypeU5::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeT::CopyFrom(src);
    if (const auto* other = dynamic_cast<const CParTypeU5*>(&src)) CopySecondInput(*other);
}
