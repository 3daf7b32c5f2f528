#pragma once

#include <cstdarg>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number texts of files, protocol and messages always use the C locale ('.' as decimal point),
// whatever locale the process runs in.

// printf-style formatting into a std::string, C locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string VFormatC(const char* format, va_list args);

// Reads a number as sscanf("%lf") does: leading blanks, optional sign, as much of the text as forms
// a number. A text without a number, or with a non-finite one (nan, inf, 1e400), gives no number.
std::optional<double> ParseDouble(std::string_view text);

// Reads a number as sscanf("%lf") does, far ones included: inf, and a number beyond the double range,
// give the infinity of their sign. A text without a number, and nan, give 0.
double ParseDoubleOrZero(std::string_view text);

// Reads a decimal integer as atoi does (leading blanks, optional sign, stops at the first non-digit;
// no digits gives 0), but saturates at the int32 limits instead of overflowing.
int32_t ParseInt32(std::string_view text);

// Reads a decimal integer like ParseInt32, but tells whether there was one and whether it fits:
// no digits gives no value; a value beyond the int32 limits gives no value and sets *outOfRange.
std::optional<int32_t> ParseInt32Checked(std::string_view text, bool* outOfRange = nullptr);

// Converts to int32 truncating toward zero. A value beyond the int32 range gives the limit on its side
// (infinities included); NaN gives 0, as a text without a number does.
int32_t ToInt32Trunc(double value);

// Truncates toward zero, but first snaps a value lying within a tiny tolerance of a whole number onto
// it, so that 0.29 * 100 (28.999999999999996) gives 29. Values further away truncate as before
// (10000.5 gives 10000). NaN and out-of-range values go through ToInt32Trunc.
int32_t SnapTrunc(double value);

// Narrows a 64-bit result to int32, clamping at the limits.
int32_t SaturateInt32(int64_t value);
