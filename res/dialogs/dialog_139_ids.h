#pragma once

#include "res/dialogs/control_ids.h"

// The loop-test page's controls.
#define DIALOG_139_IDS(X) \
    X(kNormalOut, 1064)   \
    X(kFixedOut, 1065)    \
    X(kValue, 1066)       \
    X(kSet, 1067)         \
    X(kUnit, 1068)

BRIMLOW_CONTROL_IDS(Dialog139Ids, DIALOG_139_IDS)
