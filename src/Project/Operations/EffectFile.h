#pragma once

#include <string>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "Project/EffectList.h"
#include "Project/Operations/FileDamage.h"

namespace Project {

// The effect library file ".fwe": a RIFF form "FWE " with one "EFF " chunk per effect, in
// list order, each holding the effect's record text form (key, value, key, value ...) as
// zero-terminated UTF-16LE strings.
//
// The writers end the file with the integrity record (FileIO::RiffIntegrityRecord); the
// readers check it and refuse a damaged file unless salvaging (FileDamage).
class EffectFile {
public:
    // Limits of an effect file, far above any library; a file beyond them is damaged.
    static constexpr int kMaxEffects = 100000;
    static constexpr uint64_t kMaxElements = 200000;
    static constexpr uint32_t kMaxEffectChunkSize = 65536;

    // The per-user library file in the user data folder.
    static constexpr const wchar_t* kDefaultName = L"EffectFile.fwe";
    static std::wstring defaultPath();

    static bool isEffectFile(const FileIO::RiffFileReader& reader);

    // Adds the effects of an effect file (isEffectFile() true) to the list; duplicates are
    // dropped by the list. False with "ERROR.MEMORY" when a chunk's buffer could not be had,
    // or "ERROR.DAMAGED_FILE" beyond the limits (salvaging: what came before is kept).
    static bool read(FileIO::RiffFileReader& reader, EffectList& effects, std::wstring& errorKey,
                     Salvage salvage = Salvage::REFUSE);

    // The "EFF " chunks of every effect and last the integrity record, into the root list the
    // writer has begun; the caller then closes the writer.
    static bool writeContent(FileIO::RiffFileWriter& writer, const EffectList& effects);
    static std::string toBytes(const EffectList& effects);

    // Stores the list at `path` through a temporary file. False with
    // "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO" or "ERROR.FAILED_TO_WRITE_TO_FILE_TODO";
    // the old file is then untouched.
    static bool save(const std::wstring& path, const EffectList& effects, std::wstring& errorKey);
    // Adds the effects of the file at `path`. A file that is missing or not a RIFF file adds
    // nothing and succeeds; another form fails with "ERROR.INVALID_FWP_TODO", a damaged
    // file, unless salvaging, with "ERROR.DAMAGED_FILE".
    static bool load(const std::wstring& path, EffectList& effects, std::wstring& errorKey,
                     Salvage salvage = Salvage::REFUSE);
    // Opens an effect file for read(): false when it is missing or not a RIFF file; a
    // damaged file is noted in the reader, not refused (FileDamage::accept does that).
    static bool open(FileIO::RiffFileReader& reader, const std::wstring& path);
};

}  // namespace Project
