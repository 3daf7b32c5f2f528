#include "model/set/monitor_decode.h"

#include "model/set/par_base.h"
#include "platform/c_number.h"

CMonitorDecode DecodeMonitor(uint32_t status, uint16_t output, uint16_t hold, uint16_t deviceStatus,
                             uint16_t burnoutOutput) {
    constexpr uint32_t kReplaced = kStatusLooptest | kStatusBurnout | kStatusAdError | kStatusRomError;
    CMonitorDecode d{status & ~kReplaced, 0, true};
    if (hold != 0) d.status |= kStatusLooptest;
    if (deviceStatus & 1u) d.status |= kStatusBurnout;
    if (deviceStatus & 2u) d.status |= kStatusAdError;
    if (deviceStatus & 4u) d.status |= kStatusRomError;
    if (d.status & kStatusLooptest) {
        d.outputValue = int32_t{hold} * 4;
    } else if (d.status & kStatusBurnout) {
        d.outputValue = int32_t{burnoutOutput} * 4;
    } else {
        d.outputValue = int32_t{output} * 4;
        d.forced = false;
    }
    return d;
}

int32_t InputFromPercent(int32_t in0, int32_t in100, int32_t percent) {
    return SaturateInt32(int64_t{in0} + (int64_t{in100} - in0) * percent / 1000000);
}
