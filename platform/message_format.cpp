#include "platform/message_format.h"

#include <cctype>
#include <vector>

#include "platform/c_number.h"
#include "platform/resource_module.h"

std::string CMessageArg::Format(std::string_view conversion) const {
    if (conversion.empty()) conversion = "s";
    const char kind = conversion.back();
    std::string flags = "%" + std::string(conversion.substr(0, conversion.size() - 1));
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        if (kind != 's') return *text;
        return FormatC((flags + "s").c_str(), text->c_str());
    }
    const int64_t number = std::get<int64_t>(m_value);
    switch (kind) {
        case 'd':
        case 'i': return FormatC((flags + "lld").c_str(), static_cast<long long>(number));
        case 'u':
        case 'x':
        case 'X':
        case 'o': return FormatC((flags + "ll" + kind).c_str(), static_cast<unsigned long long>(number));
        default: return FormatC("%lld", static_cast<long long>(number));
    }
}

std::string FormatMessageText(std::string_view pattern, std::initializer_list<CMessageArg> args) {
    const std::vector<CMessageArg> inserts(args);
    std::string out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const char next = pattern[i + 1];
        if (std::isdigit(static_cast<unsigned char>(next)) && next != '0') {
            size_t j = i + 1;
            size_t number = 0;
            while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j])) && j < i + 3)
                number = number * 10 + static_cast<size_t>(pattern[j++] - '0');
            std::string_view conversion;
            if (j < pattern.size() && pattern[j] == '!') {
                const size_t close = pattern.find('!', j + 1);
                if (close != std::string_view::npos) {
                    conversion = pattern.substr(j + 1, close - j - 1);
                    j = close + 1;
                }
            }
            if (number >= 1 && number <= inserts.size()) out += inserts[number - 1].Format(conversion);
            i = j - 1;
            continue;
        }
        switch (next) {
            case 'n': out += "\r\n"; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            default: out += next; break;
        }
        ++i;
    }
    return out;
}

std::string FormatMessageId(unsigned id, std::initializer_list<CMessageArg> args) {
    return FormatMessageText(LoadString(id), args);
}
