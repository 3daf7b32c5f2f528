#pragma once

#include "res/dialogs/control_ids.h"

// A meter page: the place of its bar meter.
#define DIALOG_143_IDS(X) X(kMeter, 1037)

BRIMLOW_CONTROL_IDS(Dialog143Ids, DIALOG_143_IDS)
