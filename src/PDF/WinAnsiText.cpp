#include "PDF/WinAnsiText.h"

namespace PDF {

namespace {

// The characters of Windows-1252 at 0x80..0x9F; 0 where the code is unassigned.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encode(char32_t c)
{
    if (c < 0x20 || c == 0x7F) {
        return ' ';
    }
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

std::string toWinAnsi(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        out += encode(static_cast<char32_t>(c));
    }
    return out;
}

std::string lowBytesToWinAnsi(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        // 0x80..0x9F have no character in the low-byte form; printed as their Windows-1252
        // characters, as the narrow text reads on the system it was typed on.
        out += byte < 0x20 || byte == 0x7F ? ' ' : c;
    }
    return out;
}

}  // namespace PDF
