#pragma once

#include <string>

// Writes one number into the user profile. When the profile cannot be written the user is told where
// (the choice then lasts only until the program ends) and, when the write was refused, why; false is
// returned.
bool StoreProfileInt(const std::string& section, const std::string& key, int value);
bool StoreProfileString(const std::string& section, const std::string& key, const std::string& value);

// Tells the user, once, when the profile was there but could not be read: the program runs on its
// defaults and leaves the file alone.
void ReportUnreadableProfile();
