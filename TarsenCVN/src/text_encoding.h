#pragma once
// UTF-16 paths from the desktop program, UTF-8 everywhere inside.

#include <string>
#include <string_view>

namespace tarsen {

// Unpaired surrogates and invalid bytes become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

// Length of a zero-terminated UTF-16 string.
std::size_t Utf16Length(const char16_t* text);

}  // namespace tarsen
