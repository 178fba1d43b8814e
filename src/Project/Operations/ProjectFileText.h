#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "FileIO/RiffElement.h"
#include "FileIO/RiffFileReader.h"

// Helpers of the project and library file readers and writers: little-endian numbers and
// the zero-terminated UTF-16LE strings of chunk data.
namespace Project::FileText {

// The u32 at `offset` of chunk data; false when the data ends before it.
inline bool u32At(std::string_view data, std::size_t offset, uint32_t& value)
{
    if (offset > data.size() || data.size() - offset < 4) {
        return false;
    }
    const auto byte = [&](std::size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(data[offset + i]));
    };
    value = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    return true;
}

// The code units of the zero-terminated strings of chunk data, in order. An odd last byte
// is dropped; a last string without its terminating zero is kept, as a reader that copies
// the data into a zero-filled buffer two bytes longer would see it.
inline std::vector<std::u16string> splitUnits(std::string_view data)
{
    return FileIO::RiffFileReader::splitUnits(data);
}

// The first string of chunk data (up to its zero unit or the end of the data).
inline std::u16string firstString(std::string_view data)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                                (static_cast<unsigned char>(data[i + 1]) << 8));
        if (unit == 0) {
            break;
        }
        units += unit;
    }
    return units;
}

// A narrow cue text from its units: the low byte of each.
inline std::string lowBytes(std::u16string_view units)
{
    std::string text(units.size(), '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        text[i] = static_cast<char>(units[i] & 0xFF);
    }
    return text;
}

// A narrow cue text as stored: each byte sign-extended to a 16-bit unit, then a zero unit.
inline std::string narrowToUnits(std::string_view text)
{
    std::string bytes;
    bytes.reserve(2 * text.size() + 2);
    for (char c : text) {
        const auto unit = static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(c)));
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    bytes.append(2, '\0');
    return bytes;
}

enum class ReadResult { OK, FAILED, NO_MEMORY };

// The whole data of an element. FAILED when the file could not be read, NO_MEMORY when no
// buffer for it could be had (the size is bounded by the file, but the file may be large).
inline ReadResult readData(FileIO::RiffFileReader& reader, const FileIO::RiffElement& element,
                           std::string& data)
{
    try {
        return reader.readData(element, data) ? ReadResult::OK : ReadResult::FAILED;
    } catch (const std::bad_alloc&) {
        return ReadResult::NO_MEMORY;
    }
}

}  // namespace Project::FileText
