#pragma once

#include "res/dialogs/control_ids.h"

// The comparison dialog's controls; Close carries the cancel id that ends the dialog.
#define DIALOG_134_IDS(X) \
    X(kCloseButton, 2)    \
    X(kCompareList, 1004) \
    X(kResultText, 1055)

BRIMLOW_CONTROL_IDS(Dialog134Ids, DIALOG_134_IDS)
