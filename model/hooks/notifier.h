#pragma once

#include <string>

// Messages the model has for the user outside a thrown failure (a refused teach request on the poll
// thread, a warning while a table file loads). The user interface installs an implementation that shows
// them on its own thread; without one they are dropped.
class CNotifier {
public:
    virtual ~CNotifier() = default;
    // `style` takes the message box flags (icon and buttons) the text is meant to be shown with.
    // Must not block on the user-interface thread: it is called with the notifier lock held.
    virtual void ShowMessage(const std::string& text, unsigned style) = 0;
};

// Once this returns, the previous notifier is no longer called.
void InstallNotifier(CNotifier* notifier);
// Passes the message to the installed notifier, if any.
void NotifyUser(const std::string& text, unsigned style);
