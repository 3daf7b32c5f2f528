#include "platform/c_number.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Runs the enclosed conversions in the C locale on this thread only.
class CLocaleScope {
public:
    CLocaleScope() : m_old(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_old); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_old;
};

// strtod in the C locale; no number when nothing of the text forms one.
std::optional<double> ScanDouble(std::string_view text) {
    std::string s(text);
    CLocaleScope scope;
    char* end = nullptr;
    double d = std::strtod(s.c_str(), &end);
    if (end == s.c_str()) return std::nullopt;
    return d;
}

}  // namespace

std::string VFormatC(const char* format, va_list args) {
    CLocaleScope scope;
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string FormatC(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = VFormatC(format, args);
    va_end(args);
    return out;
}

std::optional<double> ParseDouble(std::string_view text) {
    const std::optional<double> d = ScanDouble(text);
    return d && std::isfinite(*d) ? d : std::nullopt;
}

double ParseDoubleOrZero(std::string_view text) {
    const std::optional<double> d = ScanDouble(text);
    return d && !std::isnan(*d) ? *d : 0.0;
}

std::optional<int32_t> ParseInt32Checked(std::string_view text, bool* outOfRange) {
    if (outOfRange) *outOfRange = false;
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    int64_t magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) {
            overflow = true;
            magnitude = int64_t{INT32_MAX} + 1;
        }
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (overflow || value > INT32_MAX || value < INT32_MIN) {
        if (outOfRange) *outOfRange = true;
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t ParseInt32(std::string_view text) {
    bool outOfRange = false;
    if (auto v = ParseInt32Checked(text, &outOfRange)) return *v;
    if (!outOfRange) return 0;
    size_t i = text.find_first_of("+-0123456789");
    return (i != std::string_view::npos && text[i] == '-') ? INT32_MIN : INT32_MAX;
}

int32_t ToInt32Trunc(double value) {
    if (std::isnan(value)) return 0;
    const double t = std::trunc(value);
    if (t <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    if (t >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(t);
}

int32_t SnapTrunc(double value) {
    if (!std::isfinite(value)) return ToInt32Trunc(value);
    double nearest = std::round(value);
    double tolerance = 1e-9 + std::fabs(value) * 1e-12;
    if (std::fabs(value - nearest) <= tolerance) return ToInt32Trunc(nearest);
    return ToInt32Trunc(value);
}

int32_t SaturateInt32(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}
