#pragma once

#include <string>

// The line a termination signal leaves on standard error when it ends the process at once, while the
// program is still busy answering an earlier one (say, releasing an output on a silent device). Set and
// cleared on one thread; written from a signal handler.
void SetSignalNotice(const std::string& text);
void ClearSignalNotice();
// Async-signal-safe: writes "brimlow: <text>" and a line end with write(2), when a text is set.
void WriteSignalNotice();
