#pragma once

#include <string>

// The line a termination signal leaves on standard error when it ends the process at once, while the
// program is still busy answering an earlier one (say, releasing an output on a silent device). Each
// notice has its text, in the language shown, and is raised for as long as it applies; the first notice
// raised, in the order below, is the one written. Any thread.
enum class ESignalNotice { kTransferCut, kOutputHeld };

void SetSignalNoticeText(ESignalNotice notice, const std::string& text);
void RaiseSignalNotice(ESignalNotice notice, bool raised);
// Writes "brimlow: <text>" and a line end with write(2), when a notice is raised.
void WriteSignalNotice();
