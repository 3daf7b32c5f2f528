#pragma once

#include "res/dialogs/control_ids.h"

// The potentiometer calibration page's controls.
#define DIALOG_131_IDS(X) \
    X(kValue100, 1010)    \
    X(kCalib0, 1019)      \
    X(kCalib100, 1020)    \
    X(kValue0, 1028)

BRIMLOW_CONTROL_IDS(Dialog131Ids, DIALOG_131_IDS)
