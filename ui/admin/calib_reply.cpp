#include "ui/admin/calib_reply.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/c_number.h"

std::optional<CalibPoint> ParsePointReply(const std::string& reply) {
    if (reply.empty()) return std::nullopt;
    const char* text = reply.c_str() + 1;
    char* end = nullptr;
    errno = 0;
    const long count = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || count < INT_MIN || count > INT_MAX) return std::nullopt;
    const std::optional<double> value = ParseDouble(end);
    if (!value) return std::nullopt;
    return CalibPoint{static_cast<int>(count), *value};
}

std::optional<double> ParseValueReply(const std::string& reply) {
    if (reply.empty()) return std::nullopt;
    return ParseDouble(std::string_view(reply).substr(1));
}

bool IsSendableText(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}
