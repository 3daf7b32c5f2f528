#pragma once

#include <string>

// Why a port could not be opened, from the error of the open (or of its lock) and, for a refused
// access, the group that owns the device node: busy, permission denied, no such device, or the plain
// failure. `shownName` is the name the user knows the port by.
std::string PortOpenFailureMessage(int error, const std::string& path, const std::string& shownName);
