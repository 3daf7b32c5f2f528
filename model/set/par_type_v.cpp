#include "model/set/par_type_v.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

#include "link/private_exception.h"
#include "model/hooks/table_dialog_service.h"
#include "platform/c_number.h"
#include "platform/message_format.h"
#include "res/string_ids.h"

namespace {

constexpr ParDef kDefTable[] = {
    {kGroupBasic, CParTypeV::kHeaderInput, 1019, kParHeader},
    {kGroupBasic, CParTypeV::kInputType, 1000, kParChoice},
    {kGroupBasic, CParTypeV::kInput0, 1200, kParText},
    {kGroupBasic, CParTypeV::kInput100, 1201, kParText},
    {kGroupBasic, CParTypeV::kDamping, 1100, kParText},
    {kGroupBasic, CParTypeV::kHeaderOutput, 1020, kParHeader},
    {kGroupBasic, CParTypeV::kOutputType, 1500, kParChoice},
    {kGroupBasic, CParTypeV::kOutput0, 1400, kParText},
    {kGroupBasic, CParTypeV::kOutput100, 1401, kParText},
    {kGroupFineAdjust, CParTypeV::kHeaderFineAdjust, 1021, kParHeader},
    {kGroupFineAdjust, CParTypeV::kInputFineZero, 1101, kParText},
    {kGroupFineAdjust, CParTypeV::kInputFineSpan, 1102, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineZero, 1501, kParText},
    {kGroupFineAdjust, CParTypeV::kOutputFineSpan, 1502, kParText},
    {kGroupTable, CParTypeV::kHeaderLinearizer, 1022, kParHeader},
    {kGroupTable, CParTypeV::kLinearization, 1300, kParChoice},
    {kGroupTable, CParTypeV::kPointCount, 1301, kParText},
    {kGroupDeviceInfo, CParTypeV::kInputLive, 10004, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kOutputLive, 10006, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kStatusText, 10010, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kTag, 10000, kParText},
    {kGroupDeviceInfo, CParTypeV::kDate, 10014, kParReadOnly},
    {kGroupDeviceInfo, CParTypeV::kModel, 10001, kParText},
    {kGroupDeviceInfo, CParTypeV::kSerial, 10002, kParText},
    {kGroupDeviceInfo, CParTypeV::kHardware, 10015, kParText},
    {kGroupDeviceInfo, CParTypeV::kFirmware, 10016, kParReadOnly},
    {0, 0, 0, 0},
};

// Rows of the linearizer group that stand in the table; the point rows follow them.
constexpr int32_t kLinearizerTableRows = 3;

// Output types are the same for every model, so all sets share one table that never changes.
const std::map<int32_t, CTypeRange>& OutputTypeTable() {
    static const std::map<int32_t, CTypeRange> table = {
        {0, {40000, 200000, 1, 0, 200000}},
        {1, {-55000, 55000, 1250, -50000, 50000}},
        {2, {-110000, 110000, 1, -100000, 100000}},
    };
    return table;
}

int32_t MapValue(const std::map<int32_t, int32_t>& map, int32_t key) {
    auto it = map.find(key);
    return it == map.end() ? 0 : it->second;
}

}  // namespace

CParTypeV::CParTypeV() {
    SetModelCode("K9R");
    SetDefTable(kDefTable);
    SetInputTypeRange(0, {-25000, 525000, 1, 0, 500000});
    SetInputTypeRange(1, {-11000000, 11000000, 1, -10000000, 10000000});
    SetInputTypeRange(2, {-110000, 110000, 1, -100000, 100000});
    m_pointX[0] = m_pointY[0] = -20000;
    m_pointX[1] = m_pointY[1] = 500000;
    m_pointX[2] = m_pointY[2] = 1020000;
    SetProgressTotal(CountWalkRows());
}

std::unique_ptr<CParBase> CParTypeV::CreateInstance() const { return std::make_unique<CParTypeV>(); }

void CParTypeV::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    CParBase::CopyFrom(src);
    const auto* other = dynamic_cast<const CParTypeV*>(&src);
    if (!other) return;
    m_inputType = other->m_inputType;
    m_responseSpeed = other->m_responseSpeed;
    m_damping = other->m_damping;
    m_inputFineZero = other->m_inputFineZero;
    m_inputFineZero2 = other->m_inputFineZero2;
    m_inputFineSpan = other->m_inputFineSpan;
    m_input0 = other->m_input0;
    m_input100 = other->m_input100;
    m_linearization = other->m_linearization;
    m_output0 = other->m_output0;
    m_output100 = other->m_output100;
    m_outputType = other->m_outputType;
    m_outputFineZero = other->m_outputFineZero;
    m_outputFineSpan = other->m_outputFineSpan;
    m_pointCount = other->m_pointCount;
    m_pointX = other->m_pointX;
    m_pointY = other->m_pointY;
    m_inputValue = other->m_inputValue;
    m_inputPercent = other->m_inputPercent;
    m_outputValue = other->m_outputValue;
    m_outputPercent = other->m_outputPercent;
    m_model = other->m_model;
    m_hardware = other->m_hardware;
    m_firmware = other->m_firmware;
    m_serial = other->m_serial;
    m_tag = other->m_tag;
    m_date = other->m_date;
    m_inputLow = other->m_inputLow;
    m_inputHigh = other->m_inputHigh;
    m_inputMinSpan = other->m_inputMinSpan;
    SetProgressSteps(other->GetProgressSteps());
    SetProgressTotal(other->GetProgressTotal());
}

int32_t CParTypeV::GetParamCount(int32_t group) const {
    if (group == kGroupTable) return kLinearizerRows;
    return GetTableGroupCount(group);
}

int32_t CParTypeV::GetParamId(int32_t group, int32_t index) const {
    if (group == kGroupTable && index >= kLinearizerTableRows && index < kLinearizerRows)
        return index + kPointFirst - kLinearizerTableRows;
    return GetTableParamId(group, index);
}

int32_t CParTypeV::GetValue(int32_t code) const {
    if (IsPointCode(code)) {
        const auto i = static_cast<size_t>(PointIndex(code));
        return IsPointX(code) ? m_pointX[i] : m_pointY[i];
    }
    switch (code) {
        case kInputType: return m_inputType;
        case kInput0: return m_input0;
        case kInput100: return m_input100;
        case kResponseSpeed: return m_responseSpeed;
        case kDamping: return static_cast<int32_t>(m_damping);
        case kOutputType: return m_outputType;
        case kOutput0: return m_output0;
        case kOutput100: return m_output100;
        case kInputFineZero: return m_inputFineZero;
        case kInputFineZero2: return m_inputFineZero2;
        case kInputFineSpan: return m_inputFineSpan;
        case kOutputFineZero: return m_outputFineZero;
        case kOutputFineSpan: return m_outputFineSpan;
        case kLinearization: return m_linearization;
        case kPointCount: return m_pointCount;
        case kHardware: return m_hardware;
        case kFirmware: return m_firmware;
        default: return 0;
    }
}

void CParTypeV::SetValue(int32_t code, int32_t value, bool check) {
    if (IsPointCode(code)) {
        if (check) CheckRange(code, value, -20000, 1020000);
        const auto i = static_cast<size_t>(PointIndex(code));
        (IsPointX(code) ? m_pointX : m_pointY)[i] = value;
        return;
    }
    switch (code) {
        case kInputType: {
            if (check) CheckInputType(value);
            m_inputType = value;
            if (!IsOnline()) {
                const CTypeRange range = InputTypeRange(value);
                m_input0 = range.default0;
                m_input100 = range.default100;
            }
            return;
        }
        case kInput0: {
            const CTypeRange range = InputTypeRange(m_inputType);
            if (check) CheckLowEnd(code, value, range.low, range.high, range.minSpan, m_input100);
            m_input0 = value;
            return;
        }
        case kInput100: {
            // Only typed values are tested: a file or a device may hold a 100 % input below the 0 % input,
            // and the set must keep what they hold.
            const CTypeRange range = InputTypeRange(m_inputType);
            if (check) CheckHighEnd(code, value, range.low, range.high, range.minSpan, m_input0);
            m_input100 = value;
            return;
        }
        case kResponseSpeed:
            if (check) CheckChoice(code, value);
            m_responseSpeed = value;
            return;
        case kDamping:
            if (check && value != 0 && (value < 0 || value > 300000))
                throw CPrivateException(kStrDampingRange);
            // Kept to the tenths of a second that the device's register and the file's text carry.
            m_damping = static_cast<uint32_t>(value / kDampingStep * kDampingStep);
            return;
        case kOutputType: {
            if (check) CheckChoice(code, value);
            m_outputType = value;
            if (!IsOnline()) {
                const CTypeRange& range = OutputTypeRange(value);
                m_output0 = range.default0;
                m_output100 = range.default100;
            }
            return;
        }
        case kOutput0: {
            const CTypeRange& range = OutputTypeRange(m_outputType);
            if (check) CheckLowEnd(code, value, range.low, range.high, range.minSpan, m_output100);
            m_output0 = value;
            return;
        }
        case kOutput100: {
            const CTypeRange& range = OutputTypeRange(m_outputType);
            if (check) CheckHighEnd(code, value, range.low, range.high, range.minSpan, m_output0);
            m_output100 = value;
            return;
        }
        case kInputFineZero: {
            if (check) {
                double low = 0.0;
                double high = 0.0;
                GetInputAdjustLimits(low, high);
                CheckRange(code, value, SnapTrunc(low * 10000.0), SnapTrunc(high * 10000.0));
            }
            m_inputFineZero = value;
            return;
        }
        case kInputFineZero2:
            if (check) CheckRange(code, value, -100000000, 100000000);
            m_inputFineZero2 = value;
            return;
        case kInputFineSpan:
            if (check) CheckRange(code, value, kFineSpanLow, kFineSpanHigh);
            m_inputFineSpan = value;
            return;
        case kOutputFineZero:
            if (check) CheckRange(code, value, -kOutputFineZeroLimit, kOutputFineZeroLimit);
            m_outputFineZero = value;
            return;
        case kOutputFineSpan:
            if (check) CheckRange(code, value, kFineSpanLow, kFineSpanHigh);
            m_outputFineSpan = value;
            return;
        case kLinearization:
            if (check) CheckChoice(code, value);
            m_linearization = value;
            return;
        case kPointCount:
            if (check) CheckRange(code, value, 2, kMaxPoints);
            m_pointCount = value;
            return;
        case kHardware: {
            // One unsigned 16-bit register holds it. Its display text is the stored value, so the message
            // names the limits by their number texts.
            constexpr int32_t kHighest = std::numeric_limits<uint16_t>::max();
            if (check && (value < 0 || value > kHighest))
                throw CPrivateException(FormatMessageId(
                    kStrValueRange,
                    {GetParamName(code), FormatRawValue(code, 0), FormatRawValue(code, kHighest)}));
            m_hardware = value;
            return;
        }
        default: return;
    }
}

void CParTypeV::EditLinearizer(int32_t (*toX)(double), int32_t (*toY)(double)) {
    CTableDialogService* service = GetTableDialogService();
    if (!service) return;
    std::vector<CTablePoint> points;
    const auto count = static_cast<size_t>(WalkPointCount());
    for (size_t i = 0; i < count; ++i) points.push_back({m_pointX[i] / 10000.0, m_pointY[i] / 10000.0});
    if (!service->EditLinearizerTable(points)) return;
    const size_t accepted = std::min(points.size(), static_cast<size_t>(kMaxPoints));
    m_pointCount = static_cast<int32_t>(accepted);
    for (size_t i = 0; i < static_cast<size_t>(kMaxPoints); ++i) {
        m_pointX[i] = i < accepted ? toX(points[i].x) : 0;
        m_pointY[i] = i < accepted ? toY(points[i].y) : 0;
    }
}

void CParTypeV::EditTable(int32_t group, int32_t variant) {
    if (group != kGroupTable || variant != 0) return;
    // Snapped, so that a table handed out and accepted unchanged comes back unchanged.
    const auto snap = [](double value) { return SnapTrunc(value * 10000.0); };
    EditLinearizer(snap, snap);
}

void CParTypeV::CheckValues() const {
    // Each stored text is typed into a copy: the copy is online, so that a type choice leaves the ranges
    // that the rows after it are tested against. Of the texts only the characters are tested: a file's
    // tag outside the tag set has always been sent, but no register holds a character beyond ASCII.
    const std::unique_ptr<CParBase> probe = Clone();
    probe->SetOnline(true);
    for (int32_t code : GetWalkCodes()) {
        const int32_t kind = GetParamState(code);
        if (kind == kParHeader || kind == kParReadOnly) continue;
        if (code == kTag || code == kModel || code == kSerial)
            CheckDeviceText(code, GetValueString(code));
        else
            probe->SetValueFromString(code, GetValueString(code), true);
    }
}

void CParTypeV::EditTable2(int32_t group, int32_t variant) { EditTable(group, variant); }

void CParTypeV::GetInputAdjustLimits(double& low, double& high) const {
    const CTypeRange range = InputTypeRange(m_inputType);
    const double span = static_cast<double>(range.default100) - static_cast<double>(range.default0);
    low = span * -0.15 / 10000.0;
    high = span * 0.15 / 10000.0;
}

int32_t CParTypeV::GetInputAdjustScale() const { return 1; }

void CParTypeV::GetOutputAdjustLimits(double& low, double& high) const {
    const CTypeRange& range = OutputTypeRange(m_outputType);
    const double d0 = range.default0;
    const double d100 = range.default100;
    const double span = d100 - d0;
    low = (d0 - span * 0.15) / 10000.0;
    high = (d100 + span * 0.15) / 10000.0;
}

std::span<uint16_t> CParTypeV::Registers(int32_t start, int32_t count) {
    if (start < 0 || count < 0 || int64_t{start} + count > kRegisterCount)
        throw std::logic_error("register range beyond the image");
    return std::span<uint16_t>(m_registers).subspan(static_cast<size_t>(start), static_cast<size_t>(count));
}

std::span<const uint16_t> CParTypeV::Registers(int32_t start, int32_t count) const {
    if (start < 0 || count < 0 || int64_t{start} + count > kRegisterCount)
        throw std::logic_error("register range beyond the image");
    return std::span<const uint16_t>(m_registers)
        .subspan(static_cast<size_t>(start), static_cast<size_t>(count));
}

const CTypeRange& CParTypeV::OutputTypeRange(int32_t outputType) {
    static const CTypeRange none{};
    const auto& table = OutputTypeTable();
    auto it = table.find(outputType);
    return it == table.end() ? none : it->second;
}

CTypeRange CParTypeV::InputTypeRange(int32_t inputType) const {
    return {MapValue(m_inputLow, inputType), MapValue(m_inputHigh, inputType),
            MapValue(m_inputMinSpan, inputType), MapValue(m_inputDefault0, inputType),
            MapValue(m_inputDefault100, inputType)};
}

void CParTypeV::ClearInputTypeRanges() {
    m_inputLow.clear();
    m_inputHigh.clear();
    m_inputMinSpan.clear();
    m_inputDefault0.clear();
    m_inputDefault100.clear();
}

void CParTypeV::SetInputTypeRange(int32_t inputType, const CTypeRange& range) {
    m_inputLow[inputType] = range.low;
    m_inputHigh[inputType] = range.high;
    m_inputMinSpan[inputType] = range.minSpan;
    m_inputDefault0[inputType] = range.default0;
    m_inputDefault100[inputType] = range.default100;
}

void CParTypeV::CheckRange(int32_t code, int64_t value, int64_t min, int64_t max) const {
    if (value >= min && value <= max) return;
    throw CPrivateException(
        FormatMessageId(kStrValueRange, {GetParamName(code), FormatValue(code, SaturateInt32(min), false),
                                         FormatValue(code, SaturateInt32(max), false)}));
}

void CParTypeV::CheckLowEnd(int32_t code, int64_t value, int64_t low, int64_t high, int64_t span,
                            int64_t upper) const {
    CheckRange(code, value, low, (upper >= low + span ? upper : high) - span);
}

void CParTypeV::CheckHighEnd(int32_t code, int64_t value, int64_t low, int64_t high, int64_t span,
                             int64_t lower) const {
    CheckRange(code, value, (lower <= high - span ? lower : low) + span, high);
}

void CParTypeV::CheckChoice(int32_t code, int32_t value) const {
    if (value >= 0 && !FormatValue(code, value, false).empty()) return;
    int32_t count = 0;
    while (count < kMaxChoices && !FormatValue(code, count, false).empty()) ++count;
    CheckRange(code, value, 0, int64_t{count} - 1);
}

void CParTypeV::CheckInputType(int32_t value) const {
    // The types are the keys of the range tables, numbered from 0 without gaps.
    if (m_inputLow.contains(value)) return;
    CheckRange(kInputType, value, m_inputLow.empty() ? 0 : m_inputLow.begin()->first,
               m_inputLow.empty() ? -1 : m_inputLow.rbegin()->first);
}

double CParTypeV::ParseNumber(std::string_view text) { return ParseDoubleOrZero(text); }

int32_t CParTypeV::ScaleNumber(double d, double factor) {
    return ToInt32Trunc((d >= 0 ? d + 0.00001 : d - 0.00001) * factor);
}

int32_t CParTypeV::ParseScaled(std::string_view text, double factor) {
    return ScaleNumber(ParseNumber(text), factor);
}

int32_t CParTypeV::WalkPointCount() const { return std::clamp(m_pointCount, 0, kMaxPoints); }
