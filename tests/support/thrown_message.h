#pragma once

#include <exception>
#include <string>

// What ThrownMessage gives when `action` throws nothing.
inline constexpr const char* kNoThrow = "<no throw>";

// The text of the exception `action` throws, or kNoThrow.
template <class F>
std::string ThrownMessage(F action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return kNoThrow;
}
