#pragma once

#include "res/dialogs/control_ids.h"

// The file-side parameter page: the list and the two table buttons beneath it.
#define DIALOG_132_IDS(X)   \
    X(kParameterList, 1048) \
    X(kTableButton1, 1072)  \
    X(kTableButton2, 1077)

BRIMLOW_CONTROL_IDS(Dialog132Ids, DIALOG_132_IDS)
