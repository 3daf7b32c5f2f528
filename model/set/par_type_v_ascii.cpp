#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "link/comm_interface.h"
#include "model/set/par_type_v.h"
#include "platform/c_number.h"
#include "platform/timing.h"

namespace {

// Groups and items of the line protocol.
constexpr int32_t kGroupStatus = 0;
constexpr int32_t kItemOutputValue = 2;
constexpr int32_t kItemOutputPercent = 3;
constexpr int32_t kItemInputValue = 4;
constexpr int32_t kItemInputPercent = 5;
constexpr int32_t kItemInputType = 10;
constexpr int32_t kItemOutputType = 11;
constexpr int32_t kItemOutputRange = 12;
constexpr int32_t kItemInputRange = 14;
constexpr int32_t kItemDamping = 18;
constexpr int32_t kItemOutputFineZero = 19;
constexpr int32_t kItemOutputFineSpan = 20;
constexpr int32_t kItemLinearization = 25;
constexpr int32_t kItemInputFineAdjust = 31;
constexpr int32_t kItemResponseSpeed = 50;
constexpr int32_t kItemLinearizerTable = 62;
constexpr int32_t kItemIdentity = 90;
constexpr int32_t kItemStatus = 1;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string CParTypeV::Exchange(CCommInterface& comm, const std::string& command) {
    std::string reply;
    comm.SendCommand(command, reply, CCommInterface::kCommandTimeout);
    return reply;
}

std::string_view CParTypeV::ReplyTail(std::string_view reply, size_t skip) {
    return reply.size() > skip ? reply.substr(skip) : std::string_view();
}

std::vector<double> CParTypeV::ScanNumbers(std::string_view text, size_t count) {
    std::vector<double> numbers;
    while (numbers.size() < count) {
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
        // from_chars takes neither a leading '+' nor a locale, which is what the device's numbers need.
        if (!text.empty() && text.front() == '+' && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
        double value = 0.0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || !std::isfinite(value)) break;
        numbers.push_back(value);
        text.remove_prefix(static_cast<size_t>(end - text.data()));
    }
    return numbers;
}

// Snapped, so that a number the set wrote as "%.4lf" reads back as the value it came from.
int32_t CParTypeV::DeviceScaled(double number) { return SnapTrunc(number * 10000.0); }

void CParTypeV::StoreNumberText(int32_t code, std::string_view text) {
    if (ParseDouble(text)) SetValueFromString(code, std::string(text), false);
}

int32_t CParTypeV::SetItem01(CCommInterface& comm, int32_t value) {
    const int32_t old = ParseInt32(comm.ReadItem(CCommInterface::kItemOperatingMode));
    comm.WriteItem(CCommInterface::kItemOperatingMode, FormatC("%d", value), CCommInterface::kCommandTimeout);
    return old;
}

void CParTypeV::WriteParamAscii(CCommInterface& comm, int32_t code) {
    const auto writeItem = [&](int32_t item) {
        comm.WriteItem(item, GetValueString(code), CCommInterface::kCommandTimeout);
    };
    switch (code) {
        case kInputType:
        case kOutputType: {
            const int32_t old = SetItem01(comm, 1);
            writeItem(code == kInputType ? kItemInputType : kItemOutputType);
            SetItem01(comm, old);
            return;
        }
        case kInput0:
        case kInput100:
            comm.SelectItem(kItemInputRange);
            Exchange(comm, "D" + GetValueString(kInput0) + " " + GetValueString(kInput100) + "\r");
            return;
        case kOutput0:
        case kOutput100:
            comm.SelectItem(kItemOutputRange);
            Exchange(comm, "D" + GetValueString(kOutput0) + " " + GetValueString(kOutput100) + "\r");
            return;
        case kResponseSpeed: writeItem(kItemResponseSpeed); return;
        case kDamping: writeItem(kItemDamping); return;
        case kTag:
            comm.SelectItem(kItemIdentity);
            // The device takes "D6" alone for a read; a blank stands for the empty tag.
            Exchange(comm, m_tag.empty() ? std::string("D6 \r") : "D6" + m_tag + "\r");
            return;
        case kModel:
        case kSerial:
            comm.SelectGroup(CCommInterface::kGroupFactory);
            comm.SelectItem(kItemIdentity);
            Exchange(comm, (code == kModel ? "D0" + GetModelText() : "D3" + m_serial) + "\r");
            comm.SelectGroup(CCommInterface::kGroupSettings);
            return;
        default: return;
    }
}

void CParTypeV::ReadParamAscii(CCommInterface& comm, int32_t code) {
    comm.SelectGroup(CCommInterface::kGroupSettings);
    switch (code) {
        case kInputType: StoreNumberText(code, comm.ReadItem(kItemInputType)); return;
        case kResponseSpeed: StoreNumberText(code, comm.ReadItem(kItemResponseSpeed)); return;
        case kDamping: StoreNumberText(code, comm.ReadItem(kItemDamping)); return;
        case kOutputType: StoreNumberText(code, comm.ReadItem(kItemOutputType)); return;
        case kInput0:
        case kInput100:
        case kOutput0:
        case kOutput100: {
            const bool input = code == kInput0 || code == kInput100;
            comm.SelectItem(input ? kItemInputRange : kItemOutputRange);
            const std::string reply = Exchange(comm, "D\r");
            const std::vector<double> numbers = ScanNumbers(ReplyTail(reply, 1), 2);
            const bool first = code == kInput0 || code == kOutput0;
            const size_t index = first ? 0 : 1;
            // A value the reply does not hold stays as it was.
            if (index >= numbers.size()) return;
            const int32_t value = DeviceScaled(numbers[index]);
            if (input)
                (first ? m_input0 : m_input100) = value;
            else
                (first ? m_output0 : m_output100) = value;
            return;
        }
        default: return;
    }
}

void CParTypeV::DownloadAscii(CCommInterface& comm, int32_t part) {
    comm.SelectGroup(CCommInterface::kGroupSettings);
    const int32_t old = part == kPartAll ? SetItem01(comm, 1) : 0;
    if (Runs(part, kPartBasic)) {
        const int32_t rows = GetParamCount(kGroupBasic);
        for (int32_t i = 0; i < rows; ++i) {
            WriteParamAscii(comm, GetParamId(kGroupBasic, i));
            AddProgress(1);
        }
    }
    if (Runs(part, kPartFineAdjust)) {
        comm.SelectItem(kItemInputFineAdjust);
        Exchange(comm, "DZZ" + GetValueString(kInputFineZero) + " " + GetValueString(kInputFineZero2) + "\r");
        AddProgress(2);
        Exchange(comm, "DS" + GetValueString(kInputFineSpan) + "\r");
        AddProgress(1);
        comm.WriteItem(kItemOutputFineZero, GetValueString(kOutputFineZero), CCommInterface::kCommandTimeout);
        AddProgress(1);
        comm.SelectItem(kItemOutputFineSpan);
        Exchange(comm, "DS" + GetValueString(kOutputFineSpan) + "\r");
        AddProgress(1);
    }
    if (Runs(part, kPartTable)) {
        comm.WriteItem(kItemLinearization, GetValueString(kLinearization), CCommInterface::kCommandTimeout);
        AddProgress(1);
        comm.SelectItem(kItemLinearizerTable);
        Exchange(comm, "DZ" + GetValueString(kPointCount) + "\r");
        AddProgress(1);
        // Every point goes, whatever the number of points.
        for (int32_t i = 0; i < kMaxPoints; ++i) {
            Exchange(comm, FormatC("DX%dD%s\r", i, GetValueString(kPointFirst + 2 * i).c_str()));
            AddProgress(1);
            Exchange(comm, FormatC("DY%dD%s\r", i, GetValueString(kPointFirst + 2 * i + 1).c_str()));
            AddProgress(1);
        }
        Exchange(comm, "DW\r");
        if (part == kPartAll) {
            CTiming::Sleep(kTableStoreMs);
            SetItem01(comm, old);
        }
    }
}

void CParTypeV::UploadAscii(CCommInterface& comm, int32_t part) {
    if (Runs(part, kPartBasic)) {
        const int32_t rows = GetParamCount(kGroupBasic);
        for (int32_t i = 0; i < rows; ++i) {
            ReadParamAscii(comm, GetParamId(kGroupBasic, i));
            AddProgress(1);
        }
    }
    if (Runs(part, kPartFineAdjust)) {
        comm.SelectItem(kItemInputFineAdjust);
        const std::string reply = Exchange(comm, "DZ\r");
        const std::vector<double> numbers = ScanNumbers(ReplyTail(reply, 2), 3);
        AddProgress(3);
        int32_t* const fields[] = {&m_inputFineZero, &m_inputFineZero2, &m_inputFineSpan};
        for (size_t i = 0; i < numbers.size(); ++i) *fields[i] = DeviceScaled(numbers[i]);
        StoreNumberText(kOutputFineZero, comm.ReadItem(kItemOutputFineZero));
        AddProgress(1);
        comm.SelectItem(kItemOutputFineSpan);
        StoreNumberText(kOutputFineSpan, ReplyTail(Exchange(comm, "DS\r"), 2));
        AddProgress(1);
    }
    if (Runs(part, kPartTable)) {
        StoreNumberText(kLinearization, comm.ReadItem(kItemLinearization));
        AddProgress(1);
        comm.SelectItem(kItemLinearizerTable);
        Exchange(comm, "DR\r");
        // Stored without the range rule, as the table dialog may store it; walks clamp it.
        if (const auto count = ParseInt32Checked(ReplyTail(Exchange(comm, "DZ\r"), 1))) m_pointCount = *count;
        AddProgress(1);
        Exchange(comm, "DR\r");
        for (size_t i = 0; i < static_cast<size_t>(kMaxPoints); ++i) {
            for (auto* points : {&m_pointX, &m_pointY}) {
                const char axis = points == &m_pointX ? 'X' : 'Y';
                const std::string reply = Exchange(comm, FormatC("D%c%zu\r", axis, i));
                const std::vector<double> number = ScanNumbers(ReplyTail(reply, 1), 1);
                if (!number.empty()) (*points)[i] = DeviceScaled(number[0]);
                AddProgress(1);
            }
        }
    }
    if (Runs(part, kPartIdentity)) {
        int32_t* const live[] = {&m_inputValue, &m_inputPercent, &m_outputValue, &m_outputPercent};
        const int32_t items[] = {kItemInputValue, kItemInputPercent, kItemOutputValue, kItemOutputPercent};
        for (size_t i = 0; i < std::size(items); ++i) {
            const std::vector<double> number = ScanNumbers(Trim(comm.ReadItem(items[i])), 1);
            if (!number.empty()) *live[i] = DeviceScaled(number[0]);
        }
        comm.SelectGroup(kGroupStatus);
        if (const auto status = ParseInt32Checked(Trim(comm.ReadItem(kItemStatus))))
            SetStatus(static_cast<uint32_t>(*status));
        comm.SelectGroup(CCommInterface::kGroupSettings);
        comm.SelectItem(kItemIdentity);
        m_tag = std::string(ReplyTail(Exchange(comm, "D6\r"), 1));
        m_serial = std::string(ReplyTail(Exchange(comm, "D3\r"), 1));
        if (const auto date = ParseInt32Checked(ReplyTail(Exchange(comm, "D5\r"), 1))) m_date = *date;
    }
}
