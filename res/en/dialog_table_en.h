#pragma once

#include <cstddef>

#include "platform/dialog_template.h"

// The English dialog templates built into the program.
const DialogTemplate* EnglishDialogs();
std::size_t EnglishDialogCount();
