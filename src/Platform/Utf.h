#pragma once

#include <string>
#include <string_view>

// Conversions between the program's wide strings and the byte encodings of files, the
// command line and the terminal. Malformed input never fails: a byte sequence or surrogate
// that does not decode becomes U+FFFD, so nothing read from outside can stop the program.
namespace Platform {

std::wstring fromUtf8(std::string_view utf8);
std::string toUtf8(std::wstring_view text);

// UTF-16 code units (as read from little-endian files) to and from wide text; a character
// above U+FFFF becomes a surrogate pair.
std::wstring fromUtf16(std::u16string_view units);
std::u16string toUtf16(std::wstring_view text);

// The program's narrow cue texts hold the low byte of each typed character.
std::string toLowBytes(std::wstring_view text);
std::wstring fromLowBytes(std::string_view bytes);

}  // namespace Platform
