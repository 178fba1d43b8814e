#pragma once

#include <functional>
#include <string>

#include "Project/ProjectData.h"

namespace Project {

// The cue list as comma-separated text for spreadsheets: a header line of localized column
// names, then one line per cue (pyro, DMX and reminder) in firing order. One byte per
// character (the low 8 bits of each UTF-16 unit), lines end with CR LF, texts from cue
// metadata are quoted as they stand (a comma inside stays inside the quotes).
class CsvExport {
public:
    // The text of a localization key.
    using Translate = std::function<std::wstring(const std::wstring&)>;

    // Config::tr.
    static Translate defaultTranslate();

    static std::string build(const ProjectData& data, const Translate& translate);

    // Writes the file through a temporary file beside `path`. False with
    // "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" or "ERROR.FAILED_TO_WRITE_TO_FILE"; an old file
    // is then untouched.
    static bool save(const std::wstring& path, const ProjectData& data, const Translate& translate,
                     std::wstring& errorKey);
};

}  // namespace Project
