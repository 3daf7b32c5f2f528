#pragma once

#include "res/dialogs/control_ids.h"

// The potentiometer output table viewer.
#define DIALOG_148_IDS(X) X(kList, 1081) X(kOk, 1)

BRIMLOW_CONTROL_IDS(Dialog148Ids, DIALOG_148_IDS)
