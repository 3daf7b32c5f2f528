#include <algorithm>
#include <string>
#include <vector>

#include "link/comm_interface.h"
#include "link/private_exception.h"
#include "model/thermocouple/par_type_t.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "platform/timing.h"
#include "res/string_ids.h"

namespace {

constexpr int32_t kItemTcVoltage = 6;
constexpr int32_t kItemCjmTemperature = 7;
constexpr int32_t kItemDisplayUnit = 21;
constexpr int32_t kItemTerminalSelect = 23;
constexpr int32_t kItemBurnout = 24;
constexpr int32_t kItemColdJunction = 34;
constexpr int32_t kItemCustomTable = 61;
constexpr int32_t kItemIdentity = 90;

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
    comm.SelectGroup(CCommInterface::kGroupSettings);
    StoreNumberText(code, comm.ReadItem(item));
}

void CParTypeT::CheckCustomTableForAscii() const {
    if (const int32_t broken = CustomTableBreak())
        throw CPrivateException(FormatC(LoadString(kStrBadCustomTcTable).c_str(), broken));
}

void CParTypeT::CheckDeviceTypeForAscii(CCommInterface& comm) const {
    CParTypeT probe(GetTypeId());
    probe.UploadAscii(comm, kPartIdentity);
    // The monitor items do not carry the model text: it comes from the factory group's identity item.
    comm.SelectGroup(CCommInterface::kGroupFactory);
    comm.SelectItem(kItemIdentity);
    const std::string model(ReplyTail(Exchange(comm, "D0\r"), 1));
    comm.SelectGroup(CCommInterface::kGroupSettings);
    CheckTypeForDevice(model.empty() ? probe.m_model : model);
}

void CParTypeT::DownloadAscii(CCommInterface& comm, int32_t part) {
    int32_t old = 0;
    if (part == kPartAll) {
        CheckCustomTableForAscii();
        CheckDeviceTypeForAscii(comm);
        comm.SelectGroup(CCommInterface::kGroupSettings);
        old = SetItem01(comm, 1);
    } else {
        comm.SelectGroup(CCommInterface::kGroupSettings);
    }
    if (Runs(part, kPartBasic)) CParTypeV::DownloadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::DownloadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartTable)) {
        comm.SelectItem(kItemCustomTable);
        DownloadCustomTableAscii(comm);
    }
    if (part == kPartAll) {
        CTiming::Sleep(kTableStoreMs);
        SetItem01(comm, old);
    }
}

void CParTypeT::UploadAscii(CCommInterface& comm, int32_t part) {
    if (Runs(part, kPartBasic)) CParTypeV::UploadAscii(comm, kPartBasic);
    if (Runs(part, kPartFineAdjust)) CParTypeV::UploadAscii(comm, kPartFineAdjust);
    if (Runs(part, kPartIdentity)) {
        comm.SelectGroup(CCommInterface::kGroupSettings);
        const std::vector<double> cjm = ScanNumbers(comm.ReadItem(kItemCjmTemperature), 1);
        if (!cjm.empty()) m_cjmTemperature = DeviceScaled(cjm[0]);
        const std::vector<double> voltage = ScanNumbers(comm.ReadItem(kItemTcVoltage), 1);
        if (!voltage.empty()) m_tcVoltage = DeviceScaled(voltage[0]);
        CParTypeV::UploadAscii(comm, kPartIdentity);
    }
    if (Runs(part, kPartTable)) {
        comm.SelectGroup(CCommInterface::kGroupSettings);
        comm.SelectItem(kItemCustomTable);
        UploadCustomTableAscii(comm);
        RecomputeDerived();
    }
}
