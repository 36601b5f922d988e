#include "tools/number_entry.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace corvan {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string WithSeparator(std::string text, char separator) {
    if (separator == '.') return text;
    for (char& c : text) {
        if (c == '.') {
            c = separator;
            break;
        }
    }
    return text;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::optional<double> ParseUserNumber(const std::string& text, char systemSeparator) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    std::string s = text.substr(b, e - b);
    for (char& c : s) {
        if ((c == '.' || c == ',') && c != systemSeparator) {
            c = systemSeparator;
            break;
        }
    }
    // Checked by hand so that "1e", "+", ".": and thousands groups fail the
    // same way everywhere, whatever the C library would accept.
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == systemSeparator) {
        s[i] = '.';
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    const char* first = s.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [p, ec] = std::from_chars(first, s.data() + s.size(), value);
    if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string FormatExponent(double value, int precision, char separator) {
    if (!std::isfinite(value)) return NonFinite(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", precision - 1, value);
    return WithSeparator(buf, separator);
}

std::string FormatFixed(double value, int decimals, int precision, char separator) {
    if (!std::isfinite(value)) return NonFinite(value);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
    const double rounded = std::strtod(buf, nullptr);
    if (std::fabs(rounded) >= std::pow(10.0, precision)) return FormatExponent(value, precision, separator);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
    std::string out = buf;
    // A value that rounds to zero shows no sign.
    if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
    return WithSeparator(out, separator);
}

std::string FormatWidth(double value, int width, int decimals) {
    if (!std::isfinite(value)) return NonFinite(value);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
    return buf;
}

}  // namespace corvan
