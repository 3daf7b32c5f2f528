#pragma once

#include <string>

#include "platform/atomic_file.h"

// The per-user profile of the program: an INI file $XDG_CONFIG_HOME/Orvesk/brimlow.ini (default
// ~/.config), read and written with the same semantics as the program's INI files. A missing file,
// section or key gives the default; the first write creates the folder and the file.
std::string ProfilePath();
std::string GetProfileString(const std::string& section, const std::string& key, const std::string& def);
int GetProfileInt(const std::string& section, const std::string& key, int def);
// True once a read found the profile but could not read it; the profile is then never written.
bool ProfileUnreadable();
// Both return false when the profile could not be written, or was not because it could not be read.
// `result`, when given, receives how writing the file ended; it is left alone when nothing was tried.
bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                        WriteFileResult* result = nullptr);
bool WriteProfileInt(const std::string& section, const std::string& key, int value,
                     WriteFileResult* result = nullptr);
