#pragma once

#include <string>

// The running program's file, from /proc/self/exe; empty when it cannot be read.
std::string ProgramPath();
// The folder that holds it, without a trailing '/'.
std::string ProgramDirectory();
// The administrator marker beside a program file: its extension replaced by ".adm", or ".adm" appended
// when the file name has none. A dot in a folder name is not an extension.
std::string AdminMarkerPath(const std::string& programPath);
