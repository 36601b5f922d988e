#pragma once
// Numbers as the correction dialogs take and show them. A user may type
// either "." or "," whatever the system uses, and every shown number takes
// the system's separator, so both are parameters here.

#include <optional>
#include <string>

namespace corvan {

// Converts typed text: the first "." or "," that is not the system's
// separator counts as the system's. Blanks around the number are allowed;
// anything else that is not a plain decimal number (with an optional
// exponent) fails.
std::optional<double> ParseUserNumber(const std::string& text, char systemSeparator = '.');

// Scientific notation with `precision` significant digits and at least two
// exponent digits: 1.234568E-03, -9.990000E+02.
std::string FormatExponent(double value, int precision = 7, char separator = '.');

// Fixed notation with `decimals` decimals of the value first rounded to
// `precision` significant digits; a value too large for that many digits
// falls back to scientific notation.
std::string FormatFixed(double value, int decimals, int precision = 15, char separator = '.');

// Right-aligned in `width` characters with `decimals` decimals and a point,
// as a formatted write of a real to a text file does.
std::string FormatWidth(double value, int width, int decimals);

}  // namespace corvan
