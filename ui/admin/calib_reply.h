#pragma once

#include <optional>
#include <string>

// What the calibration dialogs read from the device's replies and may put into a command.

struct CalibPoint {
    int count = 0;
    double value = 0.0;
};

// A point reply "<letter><count> <value>" as "%d %lf" reads it after the reply letter; none unless both
// numbers are there.
std::optional<CalibPoint> ParsePointReply(const std::string& reply);
// A reference reply "<letter><value>" as "%lf" reads it after the reply letter.
std::optional<double> ParseValueReply(const std::string& reply);
// A typed text may go into a command line unless it holds a control character: a carriage return or a
// line feed would split the line into commands of their own.
bool IsSendableText(const std::string& text);
