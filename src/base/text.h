// Text and number conversions with the exact semantics the settings and the desktop
// look rely on. Portable: no platform headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// The number at the start of a text: leading blanks, an optional sign, digits with an
// optional fraction and exponent. A text that does not start with a number gives 0.
double LeadingNumber(std::string_view text);

// True when the whole text (blanks around it allowed) is one decimal number.
bool IsNumber(std::string_view text);

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Saturates at the
// 32-bit range.
std::int32_t RoundHalfEven(double value);

// "True" / "False".
const char* BoolText(bool value);

// The words True and False in any case, or a number (non-zero is true); nullopt otherwise.
std::optional<bool> ParseBool(std::string_view text);

// A whole text that is a number within the 32-bit range, rounded halves to even;
// nullopt otherwise.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// Decimal text of a 32-bit integer.
std::string IntText(std::int64_t value);

// A single-precision number as text with its fraction: at most 7 significant digits,
// no exponent for ordinary values, no trailing zeros ("213.3333", "200", "-4.5").
std::string SingleText(float value);

// Case-insensitive (ASCII letters) substring test.
bool ContainsNoCase(std::string_view text, std::string_view part);

}  // namespace orv
