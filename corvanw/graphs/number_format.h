#pragma once
// The number styles of the statistics pages and the scaling dialog. Rounding
// is half away from zero on the exact decimal value, as the pages have always
// shown it (2.25 with one decimal reads 2.3).

#include <cstddef>
#include <string>
#include <string_view>

namespace corvan {

// Fixed notation with `decimals` decimals and a point, right-justified with
// spaces to at least `width` characters: 12.345 at (6, 1) is "  12.3".
std::string FixedText(double value, int width, int decimals);

// Fixed notation with `decimals` decimals, at most `precision` significant
// digits and the given decimal separator; a value with more integer digits
// than the precision is written in exponent notation instead.
std::string FormatFloatFixed(double value, int precision, int decimals, std::string_view decimalSeparator);

// FormatFloatFixed at precision 10, then padded for a proportional font: two
// spaces in front for every character the text is shorter than `width`.
std::string FormatAligned(double value, int decimals, int width, std::string_view decimalSeparator);

// Characters of a UTF-8 text, for padding texts with "²" or "³" in them.
std::size_t DisplayLength(std::string_view text);

// Round to the nearest whole number, halves to the even one.
long long RoundHalfEven(double value);

}  // namespace corvan
