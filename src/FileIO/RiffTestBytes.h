#pragma once

// For tests only: RIFF bytes built by hand, independently of RiffFileWriter, so that tests
// can make files the writer would never produce (wrong sizes, missing pad bytes).

#include <cryptopp/sha.h>
#include <cstdint>
#include <string>

namespace FileIO::TestBytes {

inline std::string u16(uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string u32(uint32_t value)
{
    return u16(static_cast<uint16_t>(value)) + u16(static_cast<uint16_t>(value >> 16));
}

// A chunk with the size of its data and a pad byte after odd data.
inline std::string chunk(const std::string& id, const std::string& data)
{
    return id + u32(static_cast<uint32_t>(data.size())) + data +
           (data.size() % 2 ? std::string(1, '\0') : "");
}

// A list ("RIFF" or "LIST") whose size covers its type and body.
inline std::string list(const std::string& kind, const std::string& type, const std::string& body)
{
    return kind + u32(static_cast<uint32_t>(4 + body.size())) + type + body;
}

// The CRC-32C (Castagnoli: reflected polynomial 0x82F63B78, start and final xor 0xFFFFFFFF)
// bit by bit, as its definition reads.
inline uint32_t crc32c(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (crc & 1 ? 0x82F63B78 : 0);
        }
    }
    return crc ^ 0xFFFFFFFF;
}

// A whole file from `root` (a "RIFF" list as list() makes it) with the integrity record
// appended: the root size grows by the record's 12 bytes, and the record holds the CRC-32C
// of every byte before it, little-endian.
inline std::string withIntegrityRecord(std::string root)
{
    root.replace(4, 4, u32(static_cast<uint32_t>(root.size() + 12 - 8)));
    return root + chunk("C32C", u32(crc32c(root)));
}

// A "fmt " chunk of PCM with consistent alignment and byte rate.
inline std::string pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits)
{
    const uint16_t align = static_cast<uint16_t>(bits / 8 * channels);
    return chunk("fmt ",
                 u16(1) + u16(channels) + u32(rate) + u32(rate * align) + u16(align) + u16(bits));
}

}  // namespace FileIO::TestBytes
