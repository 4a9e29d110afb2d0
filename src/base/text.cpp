#include "base/text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the number that starts at text[pos] (sign, digits, fraction, exponent), or 0.
std::size_t NumberLength(std::string_view text, std::size_t pos) {
    std::size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t expDigits = 0;
        while (j < text.size() && IsDigit(text[j])) { ++j; ++expDigits; }
        if (expDigits > 0) i = j;
    }
    return i - pos;
}

double ParseSpan(std::string_view span) {
    std::string copy(span);  // strtod needs a terminated string; locale is "C" in the product
    return std::strtod(copy.c_str(), nullptr);
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::size_t len = NumberLength(text, pos);
    if (len == 0) return 0.0;
    double v = ParseSpan(text.substr(pos, len));
    return std::isfinite(v) ? v : 0.0;
}

bool IsNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::size_t len = NumberLength(text, pos);
    if (len == 0) return false;
    std::size_t end = pos + len;
    while (end < text.size() && IsBlank(text[end])) ++end;
    return end == text.size() && std::isfinite(ParseSpan(text.substr(pos, len)));
}

std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

const char* BoolText(bool value) { return value ? "True" : "False"; }

std::optional<bool> ParseBool(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string word;
    for (std::size_t i = b; i < e; ++i) word += Lower(text[i]);
    if (word == "true") return true;
    if (word == "false") return false;
    if (IsNumber(text)) return LeadingNumber(text) != 0.0;
    return std::nullopt;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    if (!IsNumber(text)) return std::nullopt;
    double v = std::nearbyint(LeadingNumber(text));
    if (v < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        v > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

std::string IntText(std::int64_t value) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    return std::string(buf, end);
}

std::string SingleText(float value) {
    if (!std::isfinite(value)) return "0";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(value));
    std::string s(buf);
    if (s.find('e') != std::string::npos) {
        // Ordinary bar positions never get here; keep a plain fixed form all the same.
        std::snprintf(buf, sizeof buf, "%.6f", static_cast<double>(value));
        s = buf;
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    if (part.size() > text.size()) return false;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < part.size() && Lower(text[i + k]) == Lower(part[k])) ++k;
        if (k == part.size()) return true;
    }
    return false;
}

}  // namespace orv
