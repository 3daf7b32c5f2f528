#include "model/potentiometer/par_type_pm.h"

#include <algorithm>
#include <vector>

#include "model/set/custom_table_title.h"
#include "model/set/output_stage.h"
#include "model/potentiometer/pot_conversion.h"
#include "model/hooks/table_dialog_service.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParTextFileOnly},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParTextFileOnly},
    {kGroupBasic, CParTypePM::kBurnout, 1600, kParChoice},
    {kGroupBasic, CParTypeV::kLinearization, 1300, kParChoice},
    {kGroupBasic, CParTypeV::kDamping, 1100, kParText},
    {kGroupBasic, CParTypeV::kHeaderOutput, 1020, kParHeader},
    {kGroupBasic, CParTypeV::kOutputType, 1500, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput0, 1400, kParReadOnly},
    {kGroupBasic, CParTypeV::kOutput100, 1401, kParReadOnly},
    {kGroupBasic, CParTypePM::kOutputHigh, 1602, kParText},
    {kGroupBasic, CParTypePM::kOutputLow, 1603, kParText},
    {kGroupBasic, CParTypePM::kBurnoutValue, 1601, kParText},
    {kGroupFineAdjust, CParTypeV::kHeaderFineAdjust, 1021, kParHeader},
    {kGroupFineAdjust, CParTypeV::kOutputFineZero, 1501, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineSpan, 1502, kParText},
    {kGroupTable, CParTypeV::kHeaderLinearizer, 1022, kParHeader},
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

// Rows of the linearizer group that stand in the table; the point rows follow them.
constexpr int32_t kLinearizerTableRows = 2;
// Rows of the output table added to the step total.
constexpr int32_t kOutputTableSteps = 333;

}  // namespace

CParTypePM::CParTypePM() : CParOutputStage(0xF3, 4) {
    SetModelCode("K9PM");
    m_model = "K9PM";
    ClearInputTypeRanges();
    SetInputTypeRange(0, {-120000, 1100000, 4, 0, 1000000});
    SetInputTypeRange(1, {-60000, 600000, 4, 0, 500000});
    SetDefTable(kDefTable);
    m_pointX = {};
    m_pointY = {};
    m_pointX[0] = m_pointY[0] = kPositionLow;
    m_pointX[1] = m_pointY[1] = 500000;
    m_pointX[2] = m_pointY[2] = kPositionHigh;
    // The step total counts every group but the linearizer, whose points travel as the output table.
    int64_t total = kOutputTableSteps;
    for (int32_t group = 0; group == kGroupTable || GetParamCount(group) > 0; ++group)
        if (group != kGroupTable) total += GetParamCount(group);
    m_keptProgressTotal = SaturateInt32(total);
    SetProgressTotal(m_keptProgressTotal);
}

std::unique_ptr<CParBase> CParTypePM::CreateInstance() const { return std::make_unique<CParTypePM>(); }

void CParTypePM::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParTypeV::CopyFrom(src);
    const auto* other = dynamic_cast<const CParTypePM*>(&src);
    if (!other) return;
    m_outputTable = other->m_outputTable;
    CopyStage(*other);
}

int32_t CParTypePM::GetParamCount(int32_t group) const {
    if (group == kGroupTable) return kTableRows;
    return GetTableGroupCount(group);
}

int32_t CParTypePM::GetParamId(int32_t group, int32_t index) const {
    if (group != kGroupTable) return CParTypeV::GetParamId(group, index);
    if (index >= kLinearizerTableRows && index < kTableRows)
        return index + kPointFirst - kLinearizerTableRows;
    return GetTableParamId(group, index);
}

int32_t CParTypePM::GetValue(int32_t code) const {
    if (IsOutputTableCode(code)) return m_outputTable[static_cast<size_t>(code - kOutputTableFirst)];
    return CParOutputStage::GetValue(code);
}

void CParTypePM::SetValue(int32_t code, int32_t value, bool check) {
    if (IsPointCode(code)) {
        if (check) CheckRange(code, value, kPositionLow, kPositionHigh);
        const auto i = static_cast<size_t>(PointIndex(code));
        // Positions are kept to whole percents.
        if (IsPointX(code))
            m_pointX[i] = value / 10000 * 10000;
        else
            m_pointY[i] = value;
        return;
    }
    switch (code) {
        case kInput0:
            if (check) CheckLowEnd(code, value, kPositionLow, kPositionHigh, 1, m_input100);
            m_input0 = value;
            return;
        case kInput100:
            if (check) CheckHighEnd(code, value, kPositionLow, kPositionHigh, 1, m_input0);
            m_input100 = value;
            return;
        default: CParOutputStage::SetValue(code, value, check); return;
    }
}

std::string CParTypePM::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    if (IsPointCode(code)) {
        std::string text = IsPointX(code) ? FormatC("%d", value / 10000) : FormatC("%.4lf", value / 10000.0);
        return withUnit ? WithUnit(text, LoadString(kStrUnitPercent)) : text;
    }
    return CParOutputStage::FormatValue(code, value, withUnit);
}

std::string CParTypePM::GetValueString(int32_t code) const {
    if (IsOutputTableCode(code)) return FormatRawValue(code, GetValue(code));
    if (IsPointCode(code)) return FormatValue(code, GetValue(code), false);
    switch (code) {
        case kInputLive:
            if (GetStatus() != 0) return GetValueString(kStatusText);
            return FormatC("%.4lf%s, %.4lf%%", m_inputValue / 10000.0, GetInputUnit().c_str(),
                           m_inputPercent / 10000.0);
        case kPresentPosition: return FormatC("%.4lf", m_inputValue / 10000.0);
        default: return CParOutputStage::GetValueString(code);
    }
}

std::string CParTypePM::FormatRawValue(int32_t code, int32_t value) const {
    if (IsOutputTableCode(code)) return FormatC("%.4lf", value / 10000.0);
    // Point texts always show the stored point.
    if (IsPointCode(code)) return GetValueString(code);
    return CParOutputStage::FormatRawValue(code, value);
}

std::string CParTypePM::GetSensorUnit() const { return GetInputUnit(); }

std::string CParTypePM::GetInputUnit() const { return LoadString(kStrUnitPercent); }

std::string CParTypePM::GetTableTitle(int32_t group, int32_t variant) const {
    return CustomTableTitle(group, variant);
}

void CParTypePM::EditTable(int32_t group, int32_t variant) {
    if (group != kGroupTable) return;
    CTableDialogService* service = GetTableDialogService();
    if (!service) return;
    if (variant == 1) {
        service->ShowPotOutputTable(*this);
        return;
    }
    if (variant != 0) return;
    // No range test, as the viewer delivers them; but a table file may hold outputs far outside what a
    // typed point may take, which the output registers cannot carry. Positions are cut to the whole
    // percents that a saved file and the device give back, so the table in memory is the one they hold.
    EditLinearizer([](double x) { return SnapTrunc(x * 10000.0) / 10000 * 10000; },
                   [](double y) { return std::clamp(SnapTrunc(y * 10000.0), kPositionLow, kPositionHigh); });
}

void CParTypePM::EditTable2(int32_t, int32_t) {}

void CParTypePM::GetInputAdjustLimits(double& low, double& high) const {
    low = -1.5;
    high = 1.5;
}

int32_t CParTypePM::GetInputAdjustScale() const { return 1000; }

int32_t CParTypePM::PositionToOutputRegister(int32_t position) const {
    return ::PositionToOutputRegister(position, CPotLinearizerView{m_pointCount, m_pointX, m_pointY});
}
