#include "graphs/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvan {

namespace {

struct DecimalDigits {
    bool negative = false;
    std::string integer;   // at least one digit
    std::string fraction;  // exactly the requested number of digits
};

// Far more digits than a double can hold near a tie, so the digit after the
// last kept one tells a true half from its neighbours.
constexpr int kGuardDigits = 25;

DecimalDigits RoundedDigits(double value, int decimals) {
    DecimalDigits r;
    r.negative = std::signbit(value);
    const double a = std::fabs(value);
    // Room for the 309 integer digits of the largest double and the fraction.
    std::string s(static_cast<std::size_t>(320 + decimals + kGuardDigits), '\0');
    const auto res = std::to_chars(s.data(), s.data() + s.size(), a, std::chars_format::fixed, decimals + kGuardDigits);
    s.resize(static_cast<std::size_t>(res.ptr - s.data()));
    const std::size_t dot = s.find('.');
    std::string digits = s.substr(0, dot) + s.substr(dot + 1, static_cast<std::size_t>(decimals));
    const bool roundUp = s[dot + 1 + static_cast<std::size_t>(decimals)] >= '5';
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
            if (i == 0) digits.insert(digits.begin(), '1');
        }
    }
    const std::size_t intLen = digits.size() - static_cast<std::size_t>(decimals);
    r.integer = digits.substr(0, intLen);
    r.fraction = digits.substr(intLen);
    if (digits.find_first_not_of('0') == std::string::npos) r.negative = false;
    return r;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string Join(const DecimalDigits& d, std::string_view separator) {
    std::string out;
    if (d.negative) out += '-';
    out += d.integer;
    if (!d.fraction.empty()) {
        out += separator;
        out += d.fraction;
    }
    return out;
}

std::string ExponentNotation(double value, int precision, std::string_view separator) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
    std::string s = buf;
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    const int exponent = std::atoi(s.c_str() + e + 1);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0') mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    const std::size_t dot = mantissa.find('.');
    if (dot != std::string::npos) mantissa.replace(dot, 1, separator);
    return mantissa + "E" + std::to_string(exponent);
}

}  // namespace

std::string FixedText(double value, int width, int decimals) {
    std::string text = std::isfinite(value) ? Join(RoundedDigits(value, decimals), ".") : NonFinite(value);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string FormatFloatFixed(double value, int precision, int decimals, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) return NonFinite(value);
    DecimalDigits d = RoundedDigits(value, decimals);
    const int intDigits = d.integer == "0" ? 0 : static_cast<int>(d.integer.size());
    if (intDigits > precision) return ExponentNotation(value, precision, decimalSeparator);
    if (intDigits + decimals > precision) {
        const int kept = precision - intDigits;
        d = RoundedDigits(value, kept);
        d.fraction.append(static_cast<std::size_t>(decimals - kept), '0');
    }
    return Join(d, decimalSeparator);
}

std::string FormatAligned(double value, int decimals, int width, std::string_view decimalSeparator) {
    constexpr int kMaxAlignedLength = 250;
    std::string text = FormatFloatFixed(value, 10, decimals, decimalSeparator);
    const int length = static_cast<int>(DisplayLength(text));
    int target = 2 * width - length;
    if (target > kMaxAlignedLength) target = kMaxAlignedLength;
    if (length < target) text.insert(0, static_cast<std::size_t>(target - length), ' ');
    return text;
}

std::size_t DisplayLength(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;  // continuation bytes belong to the character before
    return n;
}

long long RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    auto r = static_cast<long long>(lower);
    if (diff > 0.5 || (diff == 0.5 && (r % 2 != 0))) ++r;
    return r;
}

}  // namespace corvan
