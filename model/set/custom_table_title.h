#pragma once

#include <cstdint>
#include <string>

// Captions of the table buttons of the models whose group 2 holds a table that the program turns into
// an output table: the table file (variant 0) and, in the administrator mode, the output table view
// (variant 1).
std::string CustomTableTitle(int32_t group, int32_t variant);
