#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "Project/ProjectData.h"

namespace Project {

// The show file ".fws" that the firing system plays without the computer: one byte record
// per pyro and DMX cue in firing order, then "?^" and a 16-byte enciphered trailer with the
// record count, the export time and the timecode format. Numbers are big-endian; texts are
// one byte per character, each stored as (byte - 0x7F) mod 256. docs/show-file.md describes
// the layout for the firing system's side.
class ShowFile {
public:
    struct Options {
        // Draws the parallel tags and the trailer's random byte; a number >= 0, as rand().
        std::function<int()> random;
        // Seconds since 1970-01-01 UTC; the trailer keeps the low 32 bits.
        int64_t exportTime = 0;
    };
    // rand() and the current time.
    static Options defaultOptions();

    // The trailer's record count is 16 bits wide.
    static constexpr std::size_t kMaxRecords = 65535;

    // The whole file. Reminder cues are left out, and so are pyro and DMX cues without an
    // address and without a DMX text (the compiled show leaves them out as well). Records
    // are ordered by firing time (frame of the timecode minus prefire time, 3 frames earlier
    // for a DMX cue with a channel of slow safety only); cues of equal firing time keep their
    // cue-list order. The data must give at most kMaxRecords records (see recordCount).
    static std::string build(const ProjectData& data, const Options& options);
    // The number of records build() writes for the data.
    static std::size_t recordCount(const ProjectData& data);

    // Writes the file through a temporary file beside `path`. False with
    // "ERROR.SHOW_FILE.TOO_MANY_CUES" when the show has more than kMaxRecords records,
    // "ERROR.SHOW_FILE.CUE_TIMING" when a cue's firing time falls before 0 or past the day or
    // its prefire is negative (nothing is written then), "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" or
    // "ERROR.FAILED_TO_WRITE_TO_FILE"; an old file is then untouched.
    static bool save(const std::wstring& path, const ProjectData& data, const Options& options,
                     std::wstring& errorKey);

    // The 12-byte trailer enciphered to 16 bytes, and back (false when the bytes are not a
    // block this cipher produced).
    static std::string encipherTrailer(std::string_view plain);
    static bool decipherTrailer(std::string_view cipher, std::string& plain);
};

}  // namespace Project
