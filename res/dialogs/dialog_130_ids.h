#pragma once

#include "res/dialogs/control_ids.h"

// The fine-adjustment page's controls.
#define DIALOG_130_IDS(X)     \
    X(kInputZero, 1035)       \
    X(kInputSpan, 1036)       \
    X(kInputZeroValue, 1037)  \
    X(kInputSpanValue, 1038)  \
    X(kResetInput, 1039)      \
    X(kOutputZero, 1040)      \
    X(kOutputZeroValue, 1041) \
    X(kOutputSpan, 1042)      \
    X(kOutputSpanValue, 1043) \
    X(kResetOutput, 1044)     \
    X(kChannel1, 1075)        \
    X(kChannel2, 1076)        \
    X(kInputZeroLabel, 1082)  \
    X(kInputSpanLabel, 1083)  \
    X(kInputGroup, 1084)      \
    X(kOutputGroup, 1085)     \
    X(kOutputZeroLabel, 1086) \
    X(kOutputSpanLabel, 1087)

BRIMLOW_CONTROL_IDS(Dialog130Ids, DIALOG_130_IDS)
