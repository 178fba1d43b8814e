#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "Platform/Assert.h"

namespace FileIO {

// The four-character code of a RIFF chunk or list type: four bytes as they stand in the
// file, compared byte for byte ("fmt " and "FMT " differ). A literal converts implicitly,
// so `element.getId() == "data"` reads as it should; a literal of another length does not
// compile.
class FourCC {
public:
    constexpr FourCC() = default;
    constexpr FourCC(const char (&text)[5]) : bytes_{text[0], text[1], text[2], text[3]} {}

    static FourCC fromBytes(const unsigned char* bytes)
    {
        FourCC code;
        for (std::size_t i = 0; i < 4; ++i) {
            code.bytes_[i] = static_cast<char>(bytes[i]);
        }
        return code;
    }
    // A code typed at run time; it must be exactly four bytes.
    static FourCC fromText(std::string_view text)
    {
        SKY_ASSERT(text.size() == 4, "FourCC");
        FourCC code;
        for (std::size_t i = 0; i < 4; ++i) {
            code.bytes_[i] = text[i];
        }
        return code;
    }

    unsigned char byte(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }
    // The four bytes as text; bytes outside printable ASCII show as '?', so a code read from
    // a damaged file can go into a message.
    std::string toString() const
    {
        std::string text(bytes_.begin(), bytes_.end());
        for (char& c : text) {
            if (c < 0x20 || c > 0x7E) {
                c = '?';
            }
        }
        return text;
    }

    friend constexpr bool operator==(const FourCC&, const FourCC&) = default;

private:
    std::array<char, 4> bytes_{'\0', '\0', '\0', '\0'};
};

}  // namespace FileIO
