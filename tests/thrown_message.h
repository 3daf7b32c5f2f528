#pragma once

#include <exception>
#include <string>

// The text of the exception `action` throws, or "<no throw>".
template <class F>
std::string ThrownMessage(F action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "<no throw>";
}
