#pragma once

// The control ids of every dialog template, for the template tables of both languages.
#include "res/dialogs/dialog_102_ids.h"
#include "res/dialogs/dialog_129_ids.h"
#include "res/dialogs/dialog_132_ids.h"
#include "res/dialogs/dialog_143_ids.h"
