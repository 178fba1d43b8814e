#pragma once

#include <string>
#include <string_view>

// The reports print with the standard fonts in the Windows-1252 ("WinAnsi") encoding, which
// carries the characters users type in western languages (ä, é, ß, €, the typographic quotes
// and dashes). Every text is converted into it before it reaches the PDF library.
namespace PDF {

// A wide text in Windows-1252. A character the encoding does not carry prints as "?"; control
// characters (line breaks, tabs) print as spaces, and no zero byte is ever produced.
std::string toWinAnsi(std::wstring_view text);

// A narrow cue text (the low byte of each typed character) in Windows-1252: bytes 0xA0..0xFF
// are the Latin-1 characters they stand for and stay; control bytes print as spaces.
std::string lowBytesToWinAnsi(std::string_view bytes);

}  // namespace PDF
