#pragma once

#include <optional>
#include <string>

#include "platform/atomic_file.h"

// Why a write of the file at `path` was refused, for the results that are refusals (a file the user may
// not write, a link that leads nowhere a file can be made); nothing for the others, whose message is the
// writer's own (a configuration file, a table file and the profile each say what was not saved).
std::optional<std::string> RefusedWriteMessage(WriteFileResult result, const std::string& path);
