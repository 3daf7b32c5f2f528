#pragma once

// The control ids of every dialog template, for the template tables of both languages.
#include "res/dialogs/dialog_102_ids.h"
#include "res/dialogs/dialog_129_ids.h"
#include "res/dialogs/dialog_132_ids.h"
#include "res/dialogs/dialog_143_ids.h"
#include "res/dialogs/dialog_140_ids.h"
#include "res/dialogs/dialog_141_ids.h"
#include "res/dialogs/dialog_142_ids.h"
#include "res/dialogs/dialog_146_ids.h"
#include "res/dialogs/dialog_147_ids.h"
#include "res/dialogs/dialog_148_ids.h"
#include "res/dialogs/dialog_130_ids.h"
#include "res/dialogs/dialog_131_ids.h"
#include "res/dialogs/dialog_137_ids.h"
#include "res/dialogs/dialog_138_ids.h"
#include "res/dialogs/dialog_139_ids.h"
