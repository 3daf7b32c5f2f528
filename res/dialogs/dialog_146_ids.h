#pragma once

#include "res/dialogs/control_ids.h"

// The RTD output table viewer.
#define DIALOG_146_IDS(X) X(kList, 1076) X(kOk, 1)

BRIMLOW_CONTROL_IDS(Dialog146Ids, DIALOG_146_IDS)
