#pragma once

class QComboBox;

// A list whose choice sends a sequence to the device changes only by the user's deliberate choice: the
// mouse wheel reaches it only while it has the focus and is open, so that a wheel turned over the closed
// list, on its way elsewhere, sends nothing.
void TakeWheelOnlyWhenOpen(QComboBox* list);
