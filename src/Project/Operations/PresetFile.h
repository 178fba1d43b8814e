#pragma once

#include <string>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "Project/Fixture.h"
#include "Project/FixtureList.h"
#include "Project/Operations/FileDamage.h"

namespace Project {

// The fixture preset file ".fwf": a RIFF form "FWF " with one "PRE " list per preset, in
// store order. A list holds "PRED" (description, manufacturer and product name as
// zero-terminated UTF-16LE strings), "PREE" (channel count), "PREF" (duration in
// milliseconds, then the comments) and one "CHA " list per channel value with a "CHAD" of
// six 32-bit values: channel, value, extra, dynamic, safety, slow safety.
//
// The writers end the file with the integrity record (FileIO::RiffIntegrityRecord); the
// readers check it and refuse a damaged file unless salvaging (FileDamage).
class PresetFile {
public:
    // Limits of a preset file, far above any library; a file beyond them is damaged.
    static constexpr int kMaxPresets = 100000;
    static constexpr int64_t kMaxChannelValues = 1 << 20;  // of all presets together
    static constexpr uint64_t kMaxElements = 3000000;
    static constexpr uint32_t kMaxTextChunkSize = 65536;  // "PRED", "PREF"

    // The per-user library file in the user data folder.
    static constexpr const wchar_t* kDefaultName = L"PresetFile.fwf";
    static std::wstring defaultPath();

    static bool isPresetFile(const FileIO::RiffFileReader& reader);

    // Adds the presets of a preset file (isPresetFile() true) to the store and the list.
    // A "PRED" starts a preset; "PREE", "PREF" and channel lists before it change nothing.
    // False with "ERROR.INVALID_FWF" for a "CHAD" without its first four values, or
    // "ERROR.MEMORY", or "ERROR.DAMAGED_FILE" beyond the limits; the presets read before the
    // failure stay. Salvaging, a preset that does not read is left out.
    static bool read(FileIO::RiffFileReader& reader, FixtureStore& store, FixtureList& list,
                     std::wstring& errorKey, Salvage salvage = Salvage::REFUSE);

    // The "PRE " lists and last the integrity record into the root list the writer has begun
    // (the caller then closes the writer): every preset of the store, or with `selectedOnly`
    // only those selected in the list (all when none is selected).
    static bool writeContent(FileIO::RiffFileWriter& writer, const FixtureStore& store,
                             const FixtureList& list, bool selectedOnly);
    static std::string toBytes(const FixtureStore& store, const FixtureList& list,
                               bool selectedOnly);

    // Stores through a temporary file. False with "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO"
    // or "ERROR.FAILED_TO_WRITE_TO_FILE_TODO"; the old file is then untouched.
    static bool save(const std::wstring& path, const FixtureStore& store, const FixtureList& list,
                     bool selectedOnly, std::wstring& errorKey);
    // Adds the presets of the file at `path`. A file that is missing or not a RIFF file adds
    // nothing and succeeds; another form fails with "ERROR.INVALID_FWP_TODO", a damaged
    // file, unless salvaging, with "ERROR.DAMAGED_FILE".
    static bool load(const std::wstring& path, FixtureStore& store, FixtureList& list,
                     std::wstring& errorKey, Salvage salvage = Salvage::REFUSE);
    // Opens a preset file for read(): false when it is missing or not a RIFF file; a
    // damaged file is noted in the reader, not refused (FileDamage::accept does that).
    static bool open(FileIO::RiffFileReader& reader, const std::wstring& path);
};

}  // namespace Project
