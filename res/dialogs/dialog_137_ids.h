#pragma once

#include "res/dialogs/control_ids.h"

// The input calibration dialog's controls; 2 is the Close button (IDCANCEL).
#define DIALOG_137_IDS(X)      \
    X(kClose, 2)               \
    X(kInputType, 1042)        \
    X(kMeasured0, 1043)        \
    X(kSet0, 1044)             \
    X(kMeasured100, 1045)      \
    X(kSet100, 1046)           \
    X(kRefVoltage, 1047)       \
    X(kRefResistance, 1048)    \
    X(kSetRefVoltage, 1049)    \
    X(kSetRefResistance, 1050) \
    X(kCount0, 1058)           \
    X(kCount100, 1059)

BRIMLOW_CONTROL_IDS(Dialog137Ids, DIALOG_137_IDS)
