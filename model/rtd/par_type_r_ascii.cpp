#include <algorithm>
#include <string>
#include <vector>

#include "link/comm_interface.h"
#include "link/private_exception.h"
#include "model/rtd/par_type_r.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "platform/timing.h"
#include "res/string_ids.h"

namespace {

constexpr int32_t kItemRtdResistance = 6;
constexpr int32_t kItemDisplayUnit = 21;
constexpr int32_t kItemSensorWires = 22;
constexpr int32_t kItemBurnout = 24;
constexpr int32_t kItemCustomTable = 61;

constexpr int32_t kMaxResistance = 300000000;  // 30000 Ohm

}  // namespace

void CParTypeR::WriteParamAscii(CCommInterface& comm, int32_t code) {
    int32_t item = 0;
    switch (code) {
        case kBurnout: item = kItemBurnout; break;
        case kSensorWires: item = kItemSensorWires; break;
        case kDisplayUnit: item = kItemDisplayUnit; break;
        default: CParTypeV::WriteParamAscii(comm, code); return;
    }
    comm.WriteItem(item, GetValueString(code), CCommInterface::kCommandTimeout);
}

void CParTypeR::CheckCustomTableForAscii() const {
    const auto notMonotonic = [](int32_t index) {
        throw CPrivateException(FormatC(LoadString(kStrBadCustomRtdTable).c_str(), index));
    };
    const std::string limit = FormatRawValue(kResistanceFirst, kMaxResistance);
    const int32_t broken = CustomTableBreak();
    if (broken == 1) notMonotonic(1);
    const int32_t points = WalkCustomPoints();
    for (int32_t i = 0; i < points; ++i) {
        if (broken != 0 && i == broken) notMonotonic(i);
        if (m_customValues[static_cast<size_t>(i)] > kMaxResistance)
            throw CPrivateException(FormatC(LoadString(kStrRtdResistanceTooLarge).c_str(), i, limit.c_str()));
    }
}

void CParTypeR::DownloadAscii(CCommInterface& comm, int32_t part) {
    int32_t old = 0;
    if (part == kPartAll) {
        // Reading the identity first tells a silent or foreign device apart before anything changes.
        CParTypeR probe(GetTypeId());
        probe.UploadAscii(comm, kPartIdentity);
        CheckCustomTableForAscii();
        comm.SelectGroup(CCommInterface::kGroupSettings);
        old = SetItem01(comm, 1);
    } else {
        comm.SelectGroup(CCommInterface::kGroupSettings);
    }
    if (Runs(part, kPartBasic)) CParTypeV::DownloadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::DownloadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartTable)) DownloadCustomRtdAscii(comm);
    if (part == kPartAll) {
        CTiming::Sleep(kTableStoreMs);
        SetItem01(comm, old);
    }
}

void CParTypeR::DownloadCustomRtdAscii(CCommInterface& comm) {
    const auto send = [&](const std::string& command) {
        Exchange(comm, command);
        AddProgress(1);
    };
    comm.SelectItem(kItemCustomTable);
    send("DM " + GetValueString(kCustomType) + "\r");
    const char* const cvdCommands[] = {"DR", "DA", "DB", "DC"};
    for (size_t i = 0; i < m_cvd.size(); ++i) send(FormatC("%s %d\r", cvdCommands[i], m_cvd[i]));
    DownloadCustomTableAscii(comm);
}

void CParTypeR::UploadAscii(CCommInterface& comm, int32_t part) {
    if (Runs(part, kPartBasic)) CParTypeV::UploadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::UploadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartIdentity)) {
        const std::vector<double> number = ScanNumbers(comm.ReadItem(kItemRtdResistance), 1);
        if (!number.empty()) m_rtdResistance = DeviceScaled(number[0]);
        CParTypeV::UploadAscii(comm, kPartIdentity);
    }
    if (Runs(part, kPartTable)) UploadCustomRtdAscii(comm);
}

void CParTypeR::UploadCustomRtdAscii(CCommInterface& comm) {
    // Each reply repeats its command's letters before the value; a value the reply does not hold stays.
    const auto ask = [&](const char* command) {
        const std::string tail(ReplyTail(Exchange(comm, std::string(command) + "\r"), 2));
        AddProgress(1);
        return tail;
    };
    comm.SelectItem(kItemCustomTable);
    StoreNumberText(kCustomType, ask("DM"));
    const char* const cvdCommands[] = {"DR", "DA", "DB", "DC"};
    for (size_t i = 0; i < m_cvd.size(); ++i)
        if (const auto bits = ParseInt32Checked(ask(cvdCommands[i]))) m_cvd[i] = *bits;
    UploadCustomTableAscii(comm);
}
