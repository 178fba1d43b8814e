#pragma once

#include <string>
#include <string_view>

#include "Platform/FileReplacement.h"

namespace Project {

// Writes the bytes over the file the safe way (Platform::FileReplacement), for the exports
// and reports. False with "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" when the file cannot be
// created, or "ERROR.FAILED_TO_WRITE_TO_FILE" when it cannot be written completely or put in
// place; the old file is then as it was.
inline bool replaceFile(const std::wstring& path, std::string_view bytes, std::wstring& errorKey)
{
    using Failure = Platform::FileReplacement::Failure;
    Failure failure = Failure::NONE;
    if (Platform::FileReplacement::replaceWith(path, bytes, failure)) {
        return true;
    }
    errorKey = failure == Failure::CREATE ? L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING"
                                          : L"ERROR.FAILED_TO_WRITE_TO_FILE";
    return false;
}

}  // namespace Project
