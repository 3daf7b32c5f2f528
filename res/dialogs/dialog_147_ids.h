#pragma once

#include "res/dialogs/control_ids.h"

// The thermocouple output table viewer: voltages on the left, cold junction on the right.
#define DIALOG_147_IDS(X)      \
    X(kVoltageList, 1080)      \
    X(kColdJunctionList, 1081) \
    X(kOk, 1)

BRIMLOW_CONTROL_IDS(Dialog147Ids, DIALOG_147_IDS)
