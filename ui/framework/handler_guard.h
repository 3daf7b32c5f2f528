#pragma once

#include <exception>
#include <functional>

// Shows a failure that no handler caught: its text in a message box.
void ReportException(const std::exception& failure);

// Runs one event handler so that nothing it throws crosses Qt's event loop: a failure is reported in a
// message box and the loop goes on.
void CallGuarded(const std::function<void()>& handler);
