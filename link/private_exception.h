#pragma once

#include <string>

#include "platform/exception.h"

// The one exception type the program throws: a finished message text, given directly or loaded by
// string-table id (an id without text gives the empty message). Thrown by value, caught as
// const std::exception&.
class CPrivateException : public CException {
public:
    explicit CPrivateException(const char* message) : CException(message ? message : "") {}
    explicit CPrivateException(std::string message) : CException(std::move(message)) {}
    explicit CPrivateException(unsigned stringId);
};
