#pragma once

#include "res/dialogs/control_ids.h"

// A device-side parameter page: one parameter list.
#define DIALOG_129_IDS(X) X(kParameterList, 1006)

BRIMLOW_CONTROL_IDS(Dialog129Ids, DIALOG_129_IDS)
