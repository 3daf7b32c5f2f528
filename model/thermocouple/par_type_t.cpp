#include "model/thermocouple/par_type_t.h"

#include <algorithm>
#include <cmath>

#include "model/set/output_stage.h"
#include "model/hooks/table_dialog_service.h"
#include "model/set/temperature_unit.h"
#include "platform/admin_mode.h"
#include "platform/c_number.h"

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
    {kGroupFineAdjust, CParTypeV::kInputFineZero, 1101, kParText},
    {kGroupFineAdjust, CParTypeV::kInputFineSpan, 1102, kParText},
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
    {kGroupDeviceInfo, CParTypeT::kTcVoltage, 10031, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kTag, 10000, kParText},
    {kGroupDeviceInfo, CParTypeV::kModel, 10001, kParText},
    {kGroupDeviceInfo, CParTypeV::kSerial, 10002, kParText},
    {kGroupDeviceInfo, CParTypeV::kHardware, 10015, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kFirmware, 10016, kParReadOnly},
    {0, 0, 0, 0},
};

// Limits and defaults per input type, 1e-4 degC; the custom types have no default range (their range
// follows the custom table) and a minimum span of 0.
struct TypeRow {
    int32_t low;
    int32_t high;
    int32_t default0;
    int32_t default100;
    int32_t voltageRange;  // 0 "100mV", 1 "50mV"
};

constexpr TypeRow kTypeRows[CParTypeT::kInputTypes] = {
    {-2300000, 14220000, -1800000, 13720000, 0},  // K
    {-1500000, 10500000, -1000000, 10000000, 0},  // E
    {-1500000, 12500000, -1000000, 12000000, 0},  // J
    {-2500000, 4500000, -2000000, 4000000, 1},    // T
    {-500000, 18700000, 4000000, 18200000, 1},    // B
    {-1000000, 18100000, -500000, 17600000, 1},   // R
    {-1000000, 18100000, -500000, 17600000, 1},   // S
    {-500000, 23500000, 0, 23000000, 1},          // C
    {-500000, 23500000, 0, 23000000, 1},          // D
    {-2300000, 13500000, -1800000, 13000000, 1},  // N
    {-2500000, 6500000, -2000000, 6000000, 1},    // U
    {-1500000, 9500000, -1000000, 9000000, 0},    // L
    {-3000000, 99990000, 0, 0, 0},                // custom, 100 mV
    {-3000000, 99990000, 0, 0, 1},                // custom, 50 mV
};

// Standard types with a minimum span of one count; U, L and the custom types have none.
constexpr int32_t kTypesWithSpan = 10;

int32_t VoltageRangeOf(int32_t type) {
    return type >= 0 && type < CParTypeT::kInputTypes ? kTypeRows[type].voltageRange : 0;
}

// Rows of the custom TC group that stand in the table; the point rows follow them.
constexpr int32_t kTableFixedRows = 4;
// The output and cold-junction tables travel in every full transfer on top of the row count.
constexpr int32_t kTableSteps = CParTypeT::kOutputTablePoints + CParTypeT::kCjTablePoints;

}  // namespace

CParTypeT::CParTypeT(int32_t typeId) : CParCustomTable(0xF0, 0) {
    const bool universal = typeId == kTypeUniversalTc;
    SetTypeId(universal ? kTypeUniversalTc : kTypeThermocouple);
    SetModelCode(universal ? "K9U0" : "K9TS");
    m_model = "K9TS";
    ClearInputTypeRanges();
    for (int32_t t = 0; t < kInputTypes; ++t) {
        const TypeRow& row = kTypeRows[t];
        SetInputTypeRange(t, {row.low, row.high, t < kTypesWithSpan ? 1 : 0, row.default0, row.default100});
    }
    // The custom types have no default range or span: the maps hold no entry for them.
    for (int32_t t = kTypesWithSpan; t < kInputTypes; ++t) m_inputMinSpan.erase(t);
    for (int32_t t = kTypeCustom100; t < kInputTypes; ++t) {
        m_inputDefault0.erase(t);
        m_inputDefault100.erase(t);
    }
    SetDefTable(kDefTable);
    SetValue(kInputType, 0, false);
    m_input0 = 0;
    m_input100 = 1000000;
    RecomputeDerived();
    CountProgressTotal();
}

void CParTypeT::CountProgressTotal() {
    KeepProgressTotal(SaturateInt32(int64_t{CountWalkRows()} + kTableSteps));
}

std::unique_ptr<CParBase> CParTypeT::CreateInstance() const {
    return std::make_unique<CParTypeT>(GetTypeId());
}

void CParTypeT::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeV::CopyFrom(src);
    const auto* other = dynamic_cast<const CParTypeT*>(&src);
    if (!other) return;
    CopyStage(*other);
    CopyCustomTable(*other);
    m_displayUnit = other->m_displayUnit;
    m_outputTable = other->m_outputTable;
    m_cjTable = other->m_cjTable;
    m_startVolt = other->m_startVolt;
    m_voltPeriod = other->m_voltPeriod;
    m_terminalSelect = other->m_terminalSelect;
    m_coldJunction = other->m_coldJunction;
    m_coldJunctionVolt = other->m_coldJunctionVolt;
    m_voltageRange = other->m_voltageRange;
}

int32_t CParTypeT::GetParamCount(int32_t group) const {
    if (group == kGroupTable) return kTableRows;
    return CParTypeV::GetParamCount(group);
}

int32_t CParTypeT::GetParamId(int32_t group, int32_t index) const {
    // Group 2 is this model's own: the linearizer rows of the base have no place in it.
    if (group != kGroupTable) return CParTypeV::GetParamId(group, index);
    if (index >= kTableFixedRows && index < kTableRows) return kVoltageFirst - kTableFixedRows + index;
    return GetTableParamId(group, index);
}

int32_t CParTypeT::GetValue(int32_t code) const {
    if (IsOutputTableCode(code)) return m_outputTable[static_cast<size_t>(code - kOutputTableFirst)];
    switch (code) {
        case kTerminalSelect: return m_terminalSelect;
        case kColdJunction: return m_coldJunction;
        case kDisplayUnit: return m_displayUnit;
        case kVoltageRange: return m_voltageRange;
        case kStartVolt: return m_startVolt;
        case kVoltPeriod: return m_voltPeriod;
        case kColdJunctionVolt: return m_coldJunctionVolt;
        case kCjmTemperature: return m_cjmTemperature;
        default: return CParCustomTable::GetValue(code);
    }
}

void CParTypeT::SetValue(int32_t code, int32_t value, bool check) {
    if (IsVoltageCode(code)) {
        if (check) CheckRange(code, value, -300000000, 300000000);
        m_customValues[static_cast<size_t>(code - kVoltageFirst)] = value;
        if (!IsStandardType(m_inputType)) RecomputeDerived();
        return;
    }
    switch (code) {
        case kInputType: {
            // A restricted model's list decides what is offered; typed, any type of the tables is taken.
            if (check) CheckInputType(value);
            m_inputType = value;
            SetValue(kVoltageRange, VoltageRangeOf(value), false);
            // The fixed terminal temperature starts again at 0 degC, whatever unit it is shown in:
            // SetValue would read the 0 in the display unit (absolute zero in K).
            m_coldJunction = 0;
            RecomputeDerived();
            if (IsOnline()) return;
            if (IsStandardType(value)) {
                const CTypeRange range = InputTypeRange(value);
                m_input0 = range.default0;
                m_input100 = range.default100;
            } else {
                m_input0 = m_customStart;
                m_input100 = CustomTableEnd();
            }
            return;
        }
        case kColdJunction: {
            const int32_t celsius = FromDisplayUnit(value);
            if (check) CheckRange(code, celsius, -500000, 1000000);
            m_coldJunction = celsius;
            RecomputeDerived();
            return;
        }
        case kCustomStart:
            if (check) CheckRange(code, value, -3000000, 10000000);
            m_customStart = value;
            if (!IsStandardType(m_inputType)) RecomputeDerived();
            return;
        case kCustomStep:
            if (check) CheckRange(code, value, 1, 50);
            m_customStep = value;
            if (!IsStandardType(m_inputType)) RecomputeDerived();
            return;
        case kCustomPoints:
            if (check) CheckRange(code, value, 2, kTcCustomCapacity);
            m_customPoints = value;
            return;
        case kTerminalSelect:
            if (check) CheckChoice(code, value);
            m_terminalSelect = value;
            return;
        case kDisplayUnit:
            if (check) CheckChoice(code, value);
            m_displayUnit = value;
            return;
        case kVoltageRange:
            if (check) CheckChoice(code, value);
            m_voltageRange = value;
            return;
        case kVoltPeriod:
            if (check) CheckChoice(code, value);
            m_voltPeriod = value;
            return;
        case kStartVolt: m_startVolt = value; return;
        case kColdJunctionVolt: m_coldJunctionVolt = value; return;
        default: CParCustomTable::SetValue(code, value, check); return;
    }
}

void CParTypeT::RecomputeDerived() {
    SetValue(kStartVolt, ToInt32Trunc(GetTableStartVolt(m_inputType)), false);
    SetValue(kVoltPeriod, GetTableVoltPeriod(m_inputType), false);
    SetValue(kColdJunctionVolt, Conversion().ColdJunctionVoltage(m_inputType, m_coldJunction), false);
}

std::vector<int32_t> CParTypeT::GetLoadOrder() const {
    std::vector<int32_t> order = CParCustomTable::GetLoadOrder();
    std::stable_partition(order.begin(), order.end(), [](int32_t code) {
        return code != kStartVolt && code != kVoltPeriod && code != kColdJunctionVolt;
    });
    return order;
}

bool CParTypeT::IsRestrictedModelText(std::string_view model) {
    return !IsAdminMode() && model.size() >= 7 && model[6] == '0';
}

void CParTypeT::EditTable(int32_t group, int32_t variant) {
    if (group != kGroupTable) return;
    if (variant == 1) {
        if (CTableDialogService* service = GetTableDialogService()) service->ShowTcOutputTable(*this);
        return;
    }
    CParTypeT::EditTable2(group, variant);
    if (variant == 0 && !IsStandardType(m_inputType)) RecomputeDerived();
}

void CParTypeT::EditTable2(int32_t group, int32_t variant) {
    if (group != kGroupTable || variant != 0) return;
    EditCustomSensorTable(m_displayUnit);
}

void CParTypeT::GetInputAdjustLimits(double& low, double& high) const {
    low = -1.5;
    high = 1.5;
}

int32_t CParTypeT::GetInputAdjustScale() const { return 1000; }

int32_t CParTypeT::ToDisplayUnit(int32_t value) const { return TemperatureToDisplay(m_displayUnit, value); }

int32_t CParTypeT::FromDisplayUnit(int32_t value) const {
    return TemperatureFromDisplay(m_displayUnit, value);
}

CTcConversion CParTypeT::Conversion() const {
    return CTcConversion({m_customStart, m_customStep, m_customPoints, m_customValues});
}

double CParTypeT::VoltageToTemperature(int32_t type, double microvolts) const {
    return Conversion().VoltageToTemperature(type, microvolts);
}

double CParTypeT::TemperatureToVoltage(int32_t type, double celsius) const {
    return Conversion().TemperatureToVoltage(type, celsius);
}

double CParTypeT::GetTableStartVolt(int32_t type) const { return Conversion().GetTableStartVolt(type); }

int32_t CParTypeT::GetTableVoltPeriod(int32_t type) const { return Conversion().GetTableVoltPeriod(type); }
