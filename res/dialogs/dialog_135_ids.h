#pragma once

#include "res/dialogs/control_ids.h"

// The COM-port settings dialog's controls; OK and Cancel carry the ids that end the dialog.
#define DIALOG_135_IDS(X) \
    X(kOkButton, 1)       \
    X(kCancelButton, 2)   \
    X(kPortCombo, 1057)

BRIMLOW_CONTROL_IDS(Dialog135Ids, DIALOG_135_IDS)
