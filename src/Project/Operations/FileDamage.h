#pragma once

#include <cstdint>
#include <string>

#include "FileIO/RiffFileReader.h"

namespace Project {

// Whether what could be read of a damaged project or library file may be used. Nobody gets
// a damaged file as if it were whole: the command line asks for it with --salvage, the
// window asks the user.
enum class Salvage { REFUSE, ALLOW };

// The damage check shared by the project and library files. A file is damaged when its
// integrity record does not match, when bytes follow the end of its RIFF list, when a list
// does not end on its children, when it holds more than its limits allow or a value out of
// its range. A file without the record (written before it existed) is checked for the rest.
class FileDamage {
public:
    static constexpr const wchar_t* kKey = L"ERROR.DAMAGED_FILE";

    // Opens a project or library file for reading: breaks in its structure are noted
    // instead of failing the open, and at most `elementLimit` elements are parsed. False
    // when the file cannot be opened or is not a RIFF file at all.
    static bool open(FileIO::RiffFileReader& reader, const std::wstring& path,
                     uint64_t elementLimit);
    static bool openBytes(FileIO::RiffFileReader& reader, std::string bytes, uint64_t elementLimit);

    // After the open: checks the integrity record. True when the file is intact, or when it
    // is damaged and salvage is allowed; otherwise false with kKey.
    static bool accept(FileIO::RiffFileReader& reader, Salvage salvage, std::wstring& errorKey);
};

}  // namespace Project
