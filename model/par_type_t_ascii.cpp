#include <algorithm>
#include <string>
#include <vector>

#include "link/comm_interface.h"
#include "link/private_exception.h"
#include "model/par_type_t.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "platform/timing.h"

namespace {

constexpr int32_t kGroupSettings = 1;
constexpr int32_t kGroupFactory = 99;
constexpr int32_t kItemTcVoltage = 6;
constexpr int32_t kItemCjmTemperature = 7;
constexpr int32_t kItemDisplayUnit = 21;
constexpr int32_t kItemTerminalSelect = 23;
constexpr int32_t kItemBurnout = 24;
constexpr int32_t kItemColdJunction = 34;
constexpr int32_t kItemCustomTable = 61;
constexpr int32_t kItemIdentity = 90;
constexpr unsigned kUnsupportedType = 224;
constexpr unsigned kInvalidCustomTable = 226;

// The device needs this long to store a custom table before item 01 may change again.
constexpr unsigned kTableStoreMs = 1000;

bool Runs(int32_t part, int32_t wanted) { return part == wanted || part == kPartAll; }

int32_t ItemOf(int32_t code) {
    switch (code) {
        case CParTypeT::kBurnout: return kItemBurnout;
        case CParTypeT::kTerminalSelect: return kItemTerminalSelect;
        case CParTypeT::kColdJunction: return kItemColdJunction;
        case CParTypeT::kDisplayUnit: return kItemDisplayUnit;
        default: return 0;
    }
}

}  // namespace

void CParTypeT::WriteParamAscii(CCommInterface& comm, int32_t code) {
    const int32_t item = ItemOf(code);
    if (item == 0) return CParTypeV::WriteParamAscii(comm, code);
    comm.WriteItem(item, GetValueString(code), CCommInterface::kCommandTimeout);
}

void CParTypeT::ReadParamAscii(CCommInterface& comm, int32_t code) {
    const int32_t item = ItemOf(code);
    if (item == 0) return CParTypeV::ReadParamAscii(comm, code);
    comm.SelectGroup(kGroupSettings);
    StoreNumberText(code, comm.ReadItem(item));
}

void CParTypeT::CheckCustomTableForAscii() const {
    const auto invalid = [](int32_t index) {
        throw CPrivateException(FormatC(LoadString(kInvalidCustomTable).c_str(), index));
    };
    if (m_voltage[0] == m_voltage[1]) invalid(1);
    const bool rising = m_voltage[0] < m_voltage[1];
    // Only the points the table holds: a file's count beyond the capacity stops at its end.
    const auto points = static_cast<size_t>(WalkCustomPoints());
    for (size_t i = 2; i < points; ++i) {
        const int32_t previous = m_voltage[i - 1];
        const int32_t value = m_voltage[i];
        if (value == previous || (value > previous) != rising) invalid(static_cast<int32_t>(i));
    }
}

void CParTypeT::CheckDeviceTypeForAscii(CCommInterface& comm) const {
    CParTypeT probe(GetTypeId());
    probe.UploadAscii(comm, kPartIdentity);
    // The monitor items do not carry the model text: it comes from the factory group's identity item.
    comm.SelectGroup(kGroupFactory);
    comm.SelectItem(kItemIdentity);
    const std::string model(ReplyTail(Exchange(comm, "D0\r"), 1));
    comm.SelectGroup(kGroupSettings);
    if (!model.empty()) probe.m_model = model;
    if (!probe.IsRestrictedModel() || m_inputType == kTypeN) return;
    throw CPrivateException(FormatC(LoadString(kUnsupportedType).c_str(), GetValueText(kInputType).c_str()));
}

void CParTypeT::DownloadAscii(CCommInterface& comm, int32_t part) {
    int32_t old = 0;
    if (part == kPartAll) {
        CheckCustomTableForAscii();
        CheckDeviceTypeForAscii(comm);
        comm.SelectGroup(kGroupSettings);
        old = SetItem01(comm, 1);
    } else {
        comm.SelectGroup(kGroupSettings);
    }
    if (Runs(part, kPartBasic)) CParTypeV::DownloadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::DownloadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartTable)) DownloadCustomTableAscii(comm);
    if (part == kPartAll) {
        CTiming::Sleep(kTableStoreMs);
        SetItem01(comm, old);
    }
}

void CParTypeT::DownloadCustomTableAscii(CCommInterface& comm) {
    const auto send = [&](const std::string& command) {
        Exchange(comm, command);
        AddProgress(1);
    };
    comm.SelectItem(kItemCustomTable);
    send(FormatC("DS %.4lf\r", m_customStart / 10000.0));
    send(FormatC("DP %d\r", m_customStep));
    send("DZ " + GetValueString(kCustomPoints) + "\r");
    // Every point the device holds goes, whatever the point count.
    for (int32_t i = 0; i < kTcCustomCapacity; ++i)
        send(FormatC("DT%dD%s\r", i, GetValueString(kVoltageFirst + i).c_str()));
}

void CParTypeT::UploadAscii(CCommInterface& comm, int32_t part) {
    if (Runs(part, kPartBasic)) CParTypeV::UploadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::UploadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartIdentity)) {
        comm.SelectGroup(kGroupSettings);
        const std::vector<double> cjm = ScanNumbers(comm.ReadItem(kItemCjmTemperature), 1);
        if (!cjm.empty()) m_cjmTemperature = DeviceScaled(cjm[0]);
        const std::vector<double> voltage = ScanNumbers(comm.ReadItem(kItemTcVoltage), 1);
        if (!voltage.empty()) m_tcVoltage = DeviceScaled(voltage[0]);
        CParTypeV::UploadAscii(comm, kPartIdentity);
    }
    if (Runs(part, kPartTable)) UploadCustomTableAscii(comm);
}

void CParTypeT::UploadCustomTableAscii(CCommInterface& comm) {
    // Each reply repeats its command's letters before the value; a value the reply does not hold stays.
    const auto ask = [&](const std::string& command, size_t skip) {
        const std::string tail(ReplyTail(Exchange(comm, command), skip));
        AddProgress(1);
        return tail;
    };
    comm.SelectGroup(kGroupSettings);
    comm.SelectItem(kItemCustomTable);
    if (const auto start = ScanNumbers(ask("DS\r", 2), 1); !start.empty()) m_customStart = DeviceScaled(start[0]);
    if (const auto step = ParseInt32Checked(ask("DP\r", 2))) m_customStep = *step;
    StoreNumberText(kCustomPoints, ask("DZ\r", 2));
    for (int32_t i = 0; i < kTcCustomCapacity; ++i) {
        const auto value = ScanNumbers(ask(FormatC("DT%d\r", i), 1), 1);
        if (!value.empty()) m_voltage[static_cast<size_t>(i)] = DeviceScaled(value[0]);
    }
    RecomputeDerived();
}
