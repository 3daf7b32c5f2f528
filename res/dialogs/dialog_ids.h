#pragma once

// The control ids of every dialog template, for the template tables of both languages.
#include "res/dialogs/dialog_102_ids.h"
