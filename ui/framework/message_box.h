#pragma once

#include <functional>
#include <string>

// Buttons, icons and results of message boxes, with the values the rest of the program already uses.
enum : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ABORTRETRYIGNORE = 0x02,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Shows a modal message box with the buttons and icon `type` names, returns the button pressed.
// Closing the box counts as its cancel button, or its last button when it has none.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);

// Once the program is being ended by a signal nobody is there to answer: from then on every box is
// written to standard error as one line and answered as its close box would be (Cancel, or the last
// button), before any test hook sees it. Tests turn it off again.
void SetMessageBoxesToStandardError(bool on);
bool AreMessageBoxesToStandardError();

// Tests answer message boxes instead of a user: while a hook is set, AfxMessageBox calls it and returns
// what it returns, and no window appears. An empty hook restores the real message box.
using MessageBoxHook = std::function<int(const std::string& text, unsigned type)>;
void SetMessageBoxHook(MessageBoxHook hook);
