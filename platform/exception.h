#pragma once

#include <exception>
#include <string>

// Base of every exception the program throws itself. Carries a finished, human-readable text.
class CException : public std::exception {
public:
    CException() = default;
    explicit CException(std::string message) : m_message(std::move(message)) {}

    const char* what() const noexcept override { return m_message.c_str(); }
    const std::string& GetMessage() const noexcept { return m_message; }

private:
    std::string m_message;
};
