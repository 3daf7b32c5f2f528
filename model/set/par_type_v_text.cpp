#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "link/private_exception.h"
#include "model/hooks/notifier.h"
#include "model/hooks/par_editor.h"
#include "model/set/par_type_v.h"
#include "platform/admin_mode.h"
#include "platform/c_number.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

// Choice lists: first string id and number of choices.
struct ChoiceList {
    int32_t code;
    int32_t baseId;
    int32_t count;
};

constexpr ChoiceList kChoiceLists[] = {
    {CParTypeV::kInputType, 2000, 3},       {CParTypeV::kResponseSpeed, 2120, 2},
    {CParTypeV::kOutputType, 2050, 3},      {CParTypeV::kLinearization, 2100, 2},
    {CParTypeV::kResistanceRange, 2132, 3},
};

const ChoiceList* FindChoiceList(int32_t code) {
    for (const auto& list : kChoiceLists)
        if (list.code == code) return &list;
    return nullptr;
}

// Codes whose texts are plain integers.
bool IsIntegerCode(int32_t code) {
    switch (code) {
        case CParTypeV::kInputType:
        case CParTypeV::kResponseSpeed:
        case CParTypeV::kOutputType:
        case CParTypeV::kLinearization:
        case CParTypeV::kPointCount:
        case CParTypeV::kHardware:
        case CParTypeV::kFirmware: return true;
        default: return false;
    }
}

// A line break or any other control character would end the text early on the ASCII line and in a file.
bool IsControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Each register holds one 8-bit character: a byte of a multi-byte UTF-8 character is not one.
bool IsBeyondAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Characters as the user sees them: every byte that does not continue a UTF-8 sequence begins one.
bool BeginsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

size_t CharacterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), BeginsCharacter));
}

// The first `count` characters of a text, never a part of one.
std::string FirstCharacters(const std::string& text, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (BeginsCharacter(text[i]) && seen++ == count) return text.substr(0, i);
    return text;
}

constexpr unsigned kMessageBoxExclamation = 0x30;

}  // namespace

std::string CParTypeV::GetParamName(int32_t code) const {
    if (IsPointCode(code))
        return FormatC(LoadString(IsPointX(code) ? kStrLinearizerX : kStrLinearizerY).c_str(),
                       PointIndex(code));
    return GetTableParamName(code);
}

std::string CParTypeV::GetValueText(int32_t code) const { return FormatValue(code, GetValue(code), false); }

std::string CParTypeV::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    if (const ChoiceList* list = FindChoiceList(code)) return ChoiceText(list->baseId, list->count, value);
    std::string text = code < kInputLive ? FormatRawValue(code, value) : GetValueString(code);
    if (!withUnit) return text;
    switch (code) {
        case kInput0:
        case kInput100:
        case kInputFineZero: text = WithUnit(text, GetInputUnit()); break;
        case kOutput0:
        case kOutput100: text = WithUnit(text, GetOutputUnit()); break;
        case kDamping: text = WithUnit(text, LoadString(kStrUnitSecond)); break;
        default:
            if (code == kOutputFineZero || IsPointCode(code))
                text = WithUnit(text, LoadString(kStrUnitPercent));
            break;
    }
    if ((code == kInputFineZero || code == kOutputFineZero) && text.rfind('-', 0) != 0) text = "+" + text;
    return text;
}

std::string CParTypeV::FormatRawValue(int32_t code, int32_t value) const {
    if (IsIntegerCode(code)) return FormatC("%d", value);
    if (code == kOutput0 || code == kOutput100) return FormatC("%.3lf", value / 10000.0);
    if (code == kOutputFineZero) return FormatC("%.4lf", value / 100.0);
    return FormatC("%.4lf", value / 10000.0);
}

std::string CParTypeV::GetValueString(int32_t code) const {
    if (IsIntegerCode(code)) return FormatC("%d", GetValue(code));
    if (IsPointCode(code)) return FormatC("%.4lf", GetValue(code) / 10000.0);
    switch (code) {
        case kInput0:
        case kInput100:
        case kOutput0:
        case kOutput100:
        case kInputFineZero:
        case kInputFineZero2:
        case kInputFineSpan:
        case kOutputFineSpan: return FormatC("%.4lf", GetValue(code) / 10000.0);
        case kOutputFineZero: return FormatC("%.4lf", m_outputFineZero / 100.0);
        case kDamping: return FormatC("%.1lf", GetValue(kDamping) / 10000.0);
        case kInputLive:
            return FormatC("%.3lf%s, %.2lf%%", m_inputValue / 10000.0, GetInputUnit().c_str(),
                           m_inputPercent / 10000.0);
        case kOutputLive:
            return FormatC("%.4lf%s, %.4lf%%", m_outputValue / 10000.0, GetOutputUnit().c_str(),
                           m_outputPercent / 10000.0);
        case kStatusText: return FormatStatus(GetStatus());
        case kTag: return m_tag;
        case kDate:
            if (m_date < (2000 << 16)) return std::string();
            return FormatC("%04d/%02d/%02d", m_date >> 16, (m_date >> 8) & 0xff, m_date & 0xff);
        case kModel: return GetModelText();
        case kSerial: return m_serial;
        default: return std::string();
    }
}

void CParTypeV::SetValueFromString(int32_t code, const std::string& text, bool check) {
    if (IsIntegerCode(code)) return SetValue(code, ParseInt32(text), check);
    switch (code) {
        case kOutputFineZero: return SetValue(code, ParseScaled(text, 100.0), check);
        case kTag: m_tag = AcceptedText(code, text, check); return;
        case kModel: m_model = AcceptedText(code, text, check); return;
        case kSerial: m_serial = AcceptedText(code, text, check); return;
        default: return SetValue(code, ParseScaled(text), check);
    }
}

std::string CParTypeV::AcceptedText(int32_t code, const std::string& text, bool check) const {
    const size_t limit = TextLength(code);
    if (check) {
        if (code == kTag && text.find_first_not_of(kTagCharacters) != std::string::npos)
            throw CPrivateException(
                FormatC(LoadString(kStrTagCharacters).c_str(), std::string(kTagCharacters).c_str()));
        CheckDeviceText(code, text);
        if (CharacterCount(text) > limit)
            throw CPrivateException(
                FormatMessageId(kStrTextTooLong, {GetParamName(code), static_cast<int32_t>(limit)}));
        return text;
    }
    if (CharacterCount(text) <= limit) return text;
    // Kept as a download would leave it, so that the device and the file compare equal afterwards.
    NotifyUser(FormatMessageId(kStrTextCut, {GetParamName(code), static_cast<int32_t>(limit)}),
               kMessageBoxExclamation);
    return FirstCharacters(text, limit);
}

void CParTypeV::CheckDeviceText(int32_t code, std::string_view text) const {
    if (std::any_of(text.begin(), text.end(), IsControlCharacter))
        throw CPrivateException(FormatMessageId(kStrTextControlCharacters, {GetParamName(code)}));
    if (std::any_of(text.begin(), text.end(), IsBeyondAscii))
        throw CPrivateException(FormatMessageId(kStrTextBeyondAscii, {GetParamName(code)}));
}

size_t CParTypeV::TextLength(int32_t code) {
    switch (code) {
        case kTag: return kTagLength;
        case kModel: return kModelLength;
        default: return kSerialLength;
    }
}

void CParTypeV::SetValueFromItem(int32_t code, const CParEditor& editor) {
    switch (editor.GetMode()) {
        case CParEditor::kChoiceAccepted:
            // A choice editor without a selection commits nothing.
            if (editor.GetChoiceIndex() >= 0) SetValue(code, editor.GetChoiceIndex(), true);
            return;
        case CParEditor::kTextAccepted: SetValueFromString(code, editor.GetText(), true); return;
        default: return;
    }
}

int32_t CParTypeV::GetParamState(int32_t code) const {
    if (!IsAdminMode() && (code == kModel || code == kSerial || code == kHardware)) return kParReadOnly;
    if (IsPointCode(code)) {
        if (m_linearization == 0) return kParReadOnly;
        return PointIndex(code) < m_pointCount ? kParText : kParReadOnly;
    }
    if (code == kPointCount && m_linearization == 0) return kParReadOnly;
    const ParDef* row = FindTableRow(code);
    return row ? row->kind : kParReadOnly;
}

void CParTypeV::SetupEditor(int32_t code, CParEditor& editor) const {
    switch (GetParamState(code)) {
        case kParText:
        case kParTextFileOnly: editor.ShowTextEditor(GetValueText(code)); return;
        case kParChoice:
        case kParChoiceFileOnly: {
            const std::string current = FormatValue(code, GetValue(code), true);
            std::vector<std::string> items;
            int selected = 0;
            for (int32_t i = 0; i < 1000; ++i) {
                std::string item = FormatValue(code, i, false);
                if (item.empty()) break;
                if (item == current) selected = i;
                items.push_back(std::move(item));
            }
            editor.ShowChoiceEditor(items, selected);
            return;
        }
        default: return;
    }
}

std::string CParTypeV::GetSensorUnit() const { return GetInputUnit(); }

std::string CParTypeV::GetInputUnit() const {
    switch (m_inputType) {
        case 0: return LoadString(kStrUnitMilliampere);
        case 1: return LoadString(kStrUnitMillivolt);
        case 2: return LoadString(kStrUnitVolt);
        default: return std::string();
    }
}

std::string CParTypeV::GetOutputUnit() const {
    switch (m_outputType) {
        case 0: return LoadString(kStrUnitMilliampere);
        case 1:
        case 2: return LoadString(kStrUnitVolt);
        default: return std::string();
    }
}

std::string CParTypeV::GetTableTitle(int32_t group, int32_t variant) const {
    return group == kGroupTable && variant == 0 ? LoadString(kStrTableFileTitle) : std::string();
}

std::string CParTypeV::FormatStatus(uint32_t bits) {
    static constexpr struct {
        uint32_t bit;
        unsigned id;
    } kBits[] = {{kStatusBurnout, kStrStatusBurnout},
                 {kStatusLooptest, kStrStatusLooptest},
                 {kStatusAdError, kStrStatusAdError},
                 {kStatusRomError, kStrStatusRomError}};
    std::string text;
    for (const auto& b : kBits) {
        if ((bits & b.bit) == 0) continue;
        if (!text.empty()) text += ", ";
        text += LoadString(b.id);
    }
    return text.empty() ? LoadString(kStrStatusNormal) : text;
}

std::string CParTypeV::ChoiceText(int32_t baseId, int32_t count, int32_t index) {
    if (index < 0 || index >= count) return std::string();
    return LoadString(static_cast<unsigned>(baseId + index));
}

std::string CParTypeV::WithUnit(const std::string& text, const std::string& unit) {
    return text + " (" + unit + ")";
}

std::string CParTypeV::GetModelText() const { return IsUniversalType(GetTypeId()) ? "K9U" : m_model; }
