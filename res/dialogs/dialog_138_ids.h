#pragma once

#include "res/dialogs/control_ids.h"

// The output calibration dialog's controls, point by point (0 %, 100 %, 50 %): Start, the D/A value with
// its up-down, the measured value and Set; 2 is the Close button (IDCANCEL). The state line says when
// the device may still be adjusting after a failure.
#define DIALOG_138_IDS(X) \
    X(kClose, 2)          \
    X(kOutputType, 1047)  \
    X(kValue0, 1048)      \
    X(kSpin0, 1049)       \
    X(kMeasured0, 1050)   \
    X(kSet0, 1051)        \
    X(kValue100, 1052)    \
    X(kSpin100, 1053)     \
    X(kMeasured100, 1054) \
    X(kSet100, 1055)      \
    X(kStart0, 1056)      \
    X(kStart100, 1057)    \
    X(kStart50, 1058)     \
    X(kValue50, 1059)     \
    X(kSpin50, 1060)      \
    X(kMeasured50, 1061)  \
    X(kSet50, 1062)       \
    X(kDeviceState, 1063)

BRIMLOW_CONTROL_IDS(Dialog138Ids, DIALOG_138_IDS)
