#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// One insert of a numbered message: a number or a text.
class CMessageArg {
public:
    CMessageArg(int value) : m_value(int64_t{value}) {}
    CMessageArg(unsigned value) : m_value(int64_t{value}) {}
    CMessageArg(int64_t value) : m_value(value) {}
    CMessageArg(const char* text) : m_value(std::string(text ? text : "")) {}
    CMessageArg(std::string text) : m_value(std::move(text)) {}
    CMessageArg(std::string_view text) : m_value(std::string(text)) {}

    // The insert formatted by one printf conversion ("s", "d", "5d", "x" ...).
    std::string Format(std::string_view conversion) const;

private:
    std::variant<int64_t, std::string> m_value;
};

// Fills a message with numbered inserts as the Windows message formatter does: "%1" and "%1!s!"
// insert argument 1 as text, "%1!d!" (or any other printf conversion between the '!') formats it,
// "%%" gives '%', "%n" a line break, "%r" a carriage return, "%t" a tab. Inserted text is never scanned
// again; a missing insert gives the empty text.
std::string FormatMessageText(std::string_view pattern, std::initializer_list<CMessageArg> args);

// The same with the pattern loaded from the string table.
std::string FormatMessageId(unsigned id, std::initializer_list<CMessageArg> args);
