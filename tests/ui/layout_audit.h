#pragma once

#include <QWidget>

#include <string>
#include <vector>

// The layout audit's checks on one built window and the pages in it, measured as Qt and the program's
// own controls draw: each text has the room its control gives it, no control covers another or leaves
// its window, and what starts in a group box stays in it. One line per fault, naming the window and the
// control by the id the templates give it, as in
//   dialog 135: control 2 "Cancel" leaves its window 0,0 360x60
std::vector<std::string> LayoutFaults(const QWidget* window);

// The tallest stretch of `group` (a group box) that no visible control of its window crosses, in pixels.
int LargestEmptyBand(const QWidget* group);
