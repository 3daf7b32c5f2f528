#pragma once

// Gives the application the one look the program has on every desktop (and in screenshots): the Fusion
// style, the pinned dialog font, and read-only edit boxes drawn on the window colour so that they do
// not look as if they took typing. Called once the QApplication exists.
void ApplyApplicationStyle();
