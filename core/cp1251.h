// Windows-1251, the code page of the saved report and of the name filter's letter codes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvel {

// The Windows-1251 byte of a Unicode code point, or nothing when the code page lacks it.
std::optional<unsigned char> ToCp1251(char32_t codePoint);

// The code point of a Windows-1251 byte (0x98, the one unassigned byte, gives U+FFFD).
char32_t FromCp1251(unsigned char byte);

// UTF-8 to Windows-1251; a character the code page cannot hold becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// Windows-1251 to UTF-8.
std::string Cp1251ToUtf8(std::string_view cp1251);

} // namespace tarvel
