#pragma once

#include <string>

namespace Project {

// The per-user library files are loaded at start-up and stored again when a library screen
// closes. A default file that exists but cannot be read would load as an empty library and
// then be overwritten by it, losing the user's library for good; such a file is renamed with
// the suffix ".damaged" instead, so that it survives for repair.
class DamagedLibraryFile {
public:
    static constexpr const wchar_t* kSuffix = L".damaged";

    // True when something is at the path (a missing file is no damage).
    static bool exists(const std::wstring& path);
    // Renames the file to path + ".damaged", replacing an older one. False when the rename
    // failed.
    static bool setAside(const std::wstring& path);
};

}  // namespace Project
