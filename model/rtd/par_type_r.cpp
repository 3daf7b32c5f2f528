#include "model/rtd/par_type_r.h"

#include <algorithm>
#include <cmath>

#include "model/set/custom_table_title.h"
#include "model/set/output_stage.h"
#include "model/rtd/rtd_tables.h"
#include "model/hooks/table_dialog_service.h"
#include "model/set/temperature_unit.h"
#include "platform/c_number.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInputType, 1000, kParChoiceFileOnly},
    {kGroupBasic, CParTypeR::kSensorWires, 1604, kParChoice},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParTextFileOnly},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParTextFileOnly},
    {kGroupBasic, CParTypeR::kBurnout, 1600, kParChoice},
    {kGroupBasic, CParTypeR::kDisplayUnit, 1605, kParChoice},
    {kGroupBasic, CParTypeV::kDamping, 1100, kParText},
    {kGroupBasic, CParTypeV::kResistanceRange, 1606, kParReadOnly},
    {kGroupBasic, CParTypeV::kHeaderOutput, 1020, kParHeader},
    {kGroupBasic, CParTypeV::kOutputType, 1500, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput0, 1400, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput100, 1401, kParReadOnly},
    {kGroupBasic, CParTypeR::kOutputHigh, 1602, kParText},
    {kGroupBasic, CParTypeR::kOutputLow, 1603, kParText},
    {kGroupBasic, CParTypeR::kBurnoutValue, 1601, kParText},
    {kGroupFineAdjust, CParTypeV::kHeaderFineAdjust, 1021, kParHeader},
    {kGroupFineAdjust, CParTypeV::kInputFineZero, 1101, kParText},
    {kGroupFineAdjust, CParTypeV::kInputFineSpan, 1102, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineZero, 1501, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineSpan, 1502, kParText},
    {kGroupTable, CParTypeV::kHeaderCustomRtd, 1023, kParHeader},
    {kGroupTable, CParTypeR::kCustomStart, 1607, kParText},
    {kGroupTable, CParTypeR::kCustomStep, 1608, kParText},
    {kGroupTable, CParTypeR::kCustomPoints, 1609, kParText},
    {kGroupIdentity, CParTypeV::kTag, 10000, kParText},
    {kGroupIdentity, CParTypeV::kModel, 10001, kParText},
    {kGroupIdentity, CParTypeV::kSerial, 10002, kParText},
    {kGroupIdentity, CParTypeV::kHardware, 10015, kParText},
    {kGroupIdentity, CParTypeV::kFirmware, 10016, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kInputLive, 10004, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kOutputLive, 10006, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kStatusText, 10010, kParReadOnly},
    {kGroupDeviceInfo, CParTypeR::kRtdResistance, 10020, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kTag, 10000, kParText},
    {kGroupDeviceInfo, CParTypeV::kModel, 10001, kParText},
    {kGroupDeviceInfo, CParTypeV::kSerial, 10002, kParText},
    {kGroupDeviceInfo, CParTypeV::kHardware, 10015, kParText},
    {kGroupDeviceInfo, CParTypeV::kFirmware, 10016, kParReadOnly},
    {0, 0, 0, 0},
};

// Rows of the custom RTD group that stand in the table; the R[] rows follow them.
constexpr int32_t kCustomTableRows = 4;

// Input types: 0 Pt100, 1 JPt100, 2 Pt500, 3 Pt1000, 4 to 6 the custom sensors of 500 Ohm, 2.5 kOhm and
// 5 kOhm. Limits in 1e-4 degC, and the resistance range each type selects.
struct RtdInputType {
    CTypeRange range;
    int32_t resistanceRange;
};

constexpr RtdInputType kInputTypes[] = {
    {{-2525000, 9025000, 1, -2000000, 8500000}, 2},   {{-2360000, 5460000, 1, -2000000, 5100000}, 2},
    {{-2525000, 9025000, 1, -2000000, 8500000}, 1},   {{-2525000, 9025000, 1, -2000000, 8500000}, 0},
    {{-3000000, 99990000, 1, -2000000, 10000000}, 2}, {{-3000000, 99990000, 1, -2000000, 10000000}, 1},
    {{-3000000, 99990000, 1, -2000000, 10000000}, 0},
};
constexpr int32_t kInputTypeCount = static_cast<int32_t>(std::size(kInputTypes));

constexpr int32_t kMaxResistance = 300000000;  // 30000 Ohm

}  // namespace

CParTypeR::CParTypeR(int32_t typeId) : CParCustomTable(0xF7, 0) {
    SetTypeId(typeId);
    SetModelCode(typeId == kTypeUniversalRtd ? "K9U1" : "K9R");
    m_model = "K9R";
    ClearInputTypeRanges();
    for (int32_t t = 0; t < kInputTypeCount; ++t) SetInputTypeRange(t, kInputTypes[t].range);
    SetDefTable(kDefTable);
    m_inputType = 0;
    m_input0 = 0;
    m_input100 = 1000000;
    KeepProgressTotal(CountWalkRows() + kOutputTablePoints);
}

std::unique_ptr<CParBase> CParTypeR::CreateInstance() const {
    return std::make_unique<CParTypeR>(GetTypeId());
}

void CParTypeR::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeV::CopyFrom(src);
    const auto* other = dynamic_cast<const CParTypeR*>(&src);
    if (!other) return;
    CopyStage(*other);
    CopyCustomTable(*other);
    m_sensorWires = other->m_sensorWires;
    m_displayUnit = other->m_displayUnit;
    m_outputTable = other->m_outputTable;
    m_customType = other->m_customType;
    m_cvd = other->m_cvd;
    m_resistanceRange = other->m_resistanceRange;
}

int32_t CParTypeR::GetParamCount(int32_t group) const {
    if (group == kGroupTable) return kTableRows;
    return GetTableGroupCount(group);
}

int32_t CParTypeR::GetParamId(int32_t group, int32_t index) const {
    if (group != kGroupTable) return CParTypeV::GetParamId(group, index);
    if (index >= kCustomTableRows && index < kTableRows) return index + kResistanceFirst - kCustomTableRows;
    return GetTableParamId(group, index);
}

int32_t CParTypeR::GetValue(int32_t code) const {
    if (IsOutputTableCode(code)) return m_outputTable[static_cast<size_t>(code - kOutputTableFirst)];
    if (code >= kCvdFirst && code <= kCvdLast) return m_cvd[static_cast<size_t>(code - kCvdFirst)];
    switch (code) {
        case kSensorWires: return m_sensorWires;
        case kResistanceRange: return m_resistanceRange;
        case kCustomType: return m_customType;
        case kDisplayUnit: return m_displayUnit;
        default: return CParCustomTable::GetValue(code);
    }
}

void CParTypeR::SetValue(int32_t code, int32_t value, bool check) {
    if (IsResistanceCode(code)) {
        if (check) CheckRange(code, value, 0, kMaxResistance);
        m_customValues[static_cast<size_t>(code - kResistanceFirst)] = value;
        return;
    }
    if (code >= kCvdFirst && code <= kCvdLast) {
        m_cvd[static_cast<size_t>(code - kCvdFirst)] = value;
        return;
    }
    switch (code) {
        case kInputType:
            if (check) CheckInputType(value);
            m_inputType = value;
            if (value >= 0 && value < kInputTypeCount) m_resistanceRange = kInputTypes[value].resistanceRange;
            if (IsOnline()) return;
            if (value < kRtdStandardTypeCount || m_customType == 1) {
                const CTypeRange range = InputTypeRange(value);
                m_input0 = range.default0;
                m_input100 = range.default100;
            } else {
                m_input0 = m_customStart;
                m_input100 = CustomTableEnd();
            }
            return;
        case kSensorWires:
            if (check) CheckChoice(code, value);
            m_sensorWires = value;
            return;
        case kDisplayUnit:
            if (check) CheckChoice(code, value);
            m_displayUnit = value;
            return;
        case kResistanceRange:
            if (check) CheckChoice(code, value);
            m_resistanceRange = value;
            return;
        case kCustomType:
            if (check) CheckChoice(code, value);
            m_customType = value;
            return;
        case kCustomStart:
            if (check) CheckRange(code, value, -3000000, 10000000);
            m_customStart = value;
            return;
        case kCustomStep:
            if (check) CheckRange(code, value, 1, 50);
            m_customStep = value;
            return;
        case kCustomPoints:
            if (check) CheckRange(code, value, 2, kCustomRtdMaxPoints);
            m_customPoints = value;
            return;
        default: CParCustomTable::SetValue(code, value, check); return;
    }
}

int32_t CParTypeR::GetParamState(int32_t code) const {
    if (IsOutputTableCode(code)) return kParReadOnly;
    if (code >= kCvdFirst && code <= kResistanceLast) {
        if (m_customType != 0) return code <= kCvdLast ? kParText : kParReadOnly;
        if (code <= kCvdLast) return kParReadOnly;
        if (!IsResistanceCode(code)) return kParText;
        return code - kResistanceFirst < m_customPoints ? kParText : kParReadOnly;
    }
    return CParTypeV::GetParamState(code);
}

std::string CParTypeR::GetTableTitle(int32_t group, int32_t variant) const {
    return CustomTableTitle(group, variant);
}

void CParTypeR::EditTable(int32_t group, int32_t variant) {
    if (group != kGroupTable) return;
    CTableDialogService* service = GetTableDialogService();
    if (!service) return;
    if (variant == 1) {
        service->ShowRtdOutputTable(*this);
        return;
    }
    if (variant == 0) EditCustomSensorTable(m_displayUnit);
}

void CParTypeR::EditTable2(int32_t group, int32_t variant) { CParTypeR::EditTable(group, variant); }

void CParTypeR::GetInputAdjustLimits(double& low, double& high) const {
    low = -20.0;
    high = 20.0;
}

int32_t CParTypeR::GetInputAdjustScale() const { return 100; }

int32_t CParTypeR::ToDisplayUnit(int32_t value) const { return TemperatureToDisplay(m_displayUnit, value); }

int32_t CParTypeR::FromDisplayUnit(int32_t value) const {
    return TemperatureFromDisplay(m_displayUnit, value);
}

double CParTypeR::ResistanceToTemperature(int32_t inputType, double resistance) const {
    const CCustomRtdTableView custom{m_customStart, m_customStep, GetValue(kCustomPoints), m_customValues};
    return ::ResistanceToTemperature(inputType, resistance, custom);
}
