#pragma once

#include "res/dialogs/control_ids.h"

// The custom sensor table viewer.
#define DIALOG_142_IDS(X) \
    X(kPlot, 1038)        \
    X(kOpenFile, 1029)    \
    X(kSaveFile, 1030)    \
    X(kOk, 1)             \
    X(kCancel, 2)

BRIMLOW_CONTROL_IDS(Dialog142Ids, DIALOG_142_IDS)
