#include <algorithm>
#include <string>
#include <vector>

#include "link/comm_interface.h"
#include "link/private_exception.h"
#include "model/par_type_r.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "platform/timing.h"

namespace {

constexpr int32_t kGroupSettings = 1;
constexpr int32_t kItemRtdResistance = 6;
constexpr int32_t kItemDisplayUnit = 21;
constexpr int32_t kItemSensorWires = 22;
constexpr int32_t kItemBurnout = 24;
constexpr int32_t kItemCustomTable = 61;

// The device needs this long to store a custom table before item 01 may change again.
constexpr unsigned kTableStoreMs = 1000;
constexpr int32_t kMaxResistance = 300000000;  // 30000 Ohm

bool Runs(int32_t part, int32_t wanted) { return part == wanted || part == kPartAll; }

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
        throw CPrivateException(FormatC(LoadString(215).c_str(), index));
    };
    const std::string limit = FormatRawValue(kResistanceFirst, kMaxResistance);
    const int32_t r0 = m_resistance[0];
    const int32_t r1 = m_resistance[1];
    if (r0 == r1) notMonotonic(1);
    const bool rising = r0 < r1;
    const int32_t points = WalkCustomPoints();
    for (int32_t i = 0; i < points; ++i) {
        const int32_t r = m_resistance[static_cast<size_t>(i)];
        if (i >= 2) {
            const int32_t previous = m_resistance[static_cast<size_t>(i - 1)];
            if (r == previous || (r > previous) != rising) notMonotonic(i);
        }
        if (r > kMaxResistance) throw CPrivateException(FormatC(LoadString(225).c_str(), i, limit.c_str()));
    }
}

void CParTypeR::DownloadAscii(CCommInterface& comm, int32_t part) {
    int32_t old = 0;
    if (part == kPartAll) {
        // Reading the identity first tells a silent or foreign device apart before anything changes.
        CParTypeR probe(GetTypeId());
        probe.UploadAscii(comm, kPartIdentity);
        CheckCustomTableForAscii();
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

void CParTypeR::DownloadCustomTableAscii(CCommInterface& comm) {
    const auto send = [&](const std::string& command) {
        Exchange(comm, command);
        AddProgress(1);
    };
    comm.SelectItem(kItemCustomTable);
    send("DM " + GetValueString(kCustomType) + "\r");
    const char* const cvdCommands[] = {"DR", "DA", "DB", "DC"};
    for (size_t i = 0; i < m_cvd.size(); ++i) send(FormatC("%s %d\r", cvdCommands[i], m_cvd[i]));
    send(FormatC("DS %.4lf\r", m_customStart / 10000.0));
    send(FormatC("DP %d\r", m_customStep));
    send("DZ " + GetValueString(kCustomPoints) + "\r");
    for (int32_t i = 0; i < kCustomRtdMaxPoints; ++i)
        send(FormatC("DT%dD%s\r", i, GetValueString(kResistanceFirst + i).c_str()));
}

void CParTypeR::UploadAscii(CCommInterface& comm, int32_t part) {
    if (Runs(part, kPartBasic)) CParTypeV::UploadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::UploadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartIdentity)) {
        const std::vector<double> number = ScanNumbers(comm.ReadItem(kItemRtdResistance), 1);
        if (!number.empty()) m_rtdResistance = DeviceScaled(number[0]);
        CParTypeV::UploadAscii(comm, kPartIdentity);
    }
    if (Runs(part, kPartTable)) UploadCustomTableAscii(comm);
}

void CParTypeR::UploadCustomTableAscii(CCommInterface& comm) {
    // Each reply repeats its command's letters before the value; a value the reply does not hold stays.
    const auto ask = [&](const char* command, size_t skip) {
        return std::string(ReplyTail(Exchange(comm, std::string(command) + "\r"), skip));
    };
    comm.SelectItem(kItemCustomTable);
    StoreNumberText(kCustomType, ask("DM", 2));
    const char* const cvdCommands[] = {"DR", "DA", "DB", "DC"};
    for (size_t i = 0; i < m_cvd.size(); ++i)
        if (const auto bits = ParseInt32Checked(ask(cvdCommands[i], 2))) m_cvd[i] = *bits;
    if (const auto start = ScanNumbers(ask("DS", 2), 1); !start.empty()) m_customStart = DeviceScaled(start[0]);
    if (const auto step = ParseInt32Checked(ask("DP", 2))) m_customStep = *step;
    StoreNumberText(kCustomPoints, ask("DZ", 2));
    for (int32_t i = 0; i < kCustomRtdMaxPoints; ++i) {
        const auto value = ScanNumbers(ReplyTail(Exchange(comm, FormatC("DT%d\r", i)), 1), 1);
        if (!value.empty()) m_resistance[static_cast<size_t>(i)] = DeviceScaled(value[0]);
    }
}
