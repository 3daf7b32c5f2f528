#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/device/device_type.h"
#include "platform/message_format.h"
#include "res/string_ids.h"
#include "sim/sim_model.h"
#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "support/thrown_message.h"

namespace {

class DownloadHoldTest : public ScaledTiming {};

constexpr uint16_t kHold = 2072;
constexpr uint16_t kPresentOutput = 31000;
constexpr size_t kFailingRequest = 5;

// Index, counted from `first`, of the write that holds the output; -1 when there is none.
int HoldWriteOffset(const CSimDevice& sim, size_t first) {
    for (const SimRequest& r : sim.GetRequests()) {
        if (r.index >= first && r.kind == ESimRequestKind::Write && r.start == kHold && !r.values.empty() &&
            r.values[0] != 0)
            return static_cast<int>(r.index - first);
    }
    return -1;
}

}  // namespace

// A full download that fails part-way releases the output it held, for every model that holds it; when
// the release fails too, both failures are reported, the download's first.
TEST_F(DownloadHoldTest, FailedDownloadReleasesTheHeldOutput) {
    for (const std::string& code : CSimModel::KnownCodes()) {
        SCOPED_TRACE(code);
        SimLink link(code);
        CDeviceType registry;
        CParBase* set = registry.SetModel(code);
        ASSERT_NE(set, nullptr);
        link.sim.SetRegister(2071, kPresentOutput);

        // The six replies to the download's sixth request, which comes after the hold, are damaged; then
        // the device answers again.
        size_t first = link.sim.GetRequestCount();
        link.sim.InjectFault(SimFault::BadCrc(), first + kFailingRequest,
                             first + kFailingRequest + CModbusInterface::kAttempts - 1);
        const std::string downloadFailure = ThrownMessage([&] { set->DownloadModbus(link.modbus, -1); });
        EXPECT_NE(downloadFailure, kNoThrow);
        EXPECT_EQ(downloadFailure.find('\n'), std::string::npos) << downloadFailure;
        const int holdOffset = HoldWriteOffset(link.sim, first);
        EXPECT_GE(holdOffset, 0);
        EXPECT_LT(holdOffset, static_cast<int>(kFailingRequest));
        EXPECT_EQ(LastWrite(link.sim, kHold), std::vector<uint16_t>{0});
        EXPECT_EQ(link.sim.GetRegister(kHold), 0);

        // From the same request on every reply is damaged: the release fails as well.
        link.sim.ClearFaults();
        first = link.sim.GetRequestCount();
        link.sim.InjectFaultFrom(first + kFailingRequest, SimFault::BadCrc());
        const std::string releaseFailure =
            "Modbus command failed. command=WriteMultipleRegisters address=2072 size=1 "
            "reason=crc error.";
        EXPECT_EQ(ThrownMessage([&] { set->DownloadModbus(link.modbus, -1); }),
                  downloadFailure + "\n" + FormatMessageId(kStrOutputStillHeld, {releaseFailure}));
        EXPECT_EQ(LastWrite(link.sim, kHold), std::vector<uint16_t>{0});
    }
}
