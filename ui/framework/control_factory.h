#pragma once

#include <QWidget>

#include <vector>

#include "platform/dialog_template.h"

// Builds the controls of a template inside `window`, in template order (which is also the tab order
// and, for overlapping controls, the stacking order). Returns them in the same order; labels without
// an id are included.
std::vector<QWidget*> CreateControls(QWidget* window, const DialogTemplate& dialog);
