#pragma once

#include <QFont>
#include <QRect>

// Every dialog is laid out in dialog units measured on one pinned font, so geometry does not depend on
// the desktop's font settings. The font covers Latin and Japanese text.
QFont DialogFont();

// Pixels per four horizontal and per eight vertical dialog units of the pinned font.
struct DialogBaseUnits {
    int x;
    int y;
};
DialogBaseUnits GetDialogBaseUnits();

// A rectangle in dialog units converted to pixels, rounded as the templates have always been.
QRect DialogUnitsToPixels(int x, int y, int cx, int cy);
