#pragma once

#include "res/dialogs/control_ids.h"

// The trend graph page.
#define DIALOG_140_IDS(X) \
    X(kPlot, 1038)        \
    X(kStart, 1039)       \
    X(kStop, 1040)        \
    X(kClose, 1041)       \
    X(kPrint, 1042)

BRIMLOW_CONTROL_IDS(Dialog140Ids, DIALOG_140_IDS)
