#pragma once

#include <array>
#include <cstdint>

namespace Project {

// The cipher of the show file's trailer: AES-128 in CBC mode with PKCS #7 padding, with this
// key and initialisation vector for every show file. The firing system that plays the file
// deciphers the trailer with the same two constants; docs/show-file.md lists them for it.
// Changing either makes every show file written before unreadable to the firing system.
inline constexpr std::array<uint8_t, 16> kShowFileKey = {
    0x71, 0x11, 0xDB, 0x2A, 0x1D, 0x0D, 0xE5, 0x79, 0xB5, 0xB3, 0xB1, 0xB7, 0x97, 0xD0, 0x15, 0xB1,
};
inline constexpr std::array<uint8_t, 16> kShowFileIv = {
    0xF7, 0x44, 0x5E, 0xA2, 0xA6, 0xBD, 0xF3, 0x0C, 0x9D, 0x3E, 0xFC, 0xD5, 0x13, 0xBA, 0xE9, 0x98,
};

}  // namespace Project
