#pragma once

#include <cstddef>

#include "platform/resource_tables.h"

// The English string table built into the program.
const StringEntry* EnglishStrings();
std::size_t EnglishStringCount();
