#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "Project/Cue.h"
#include "Project/CueList.h"
#include "Project/Operations/FileDamage.h"
#include "Project/ProjectData.h"

namespace Project {

// The project file ".fwp": a RIFF form "FWP " holding "PRJD" (frame-rate code, wave flag,
// audio offset), the project "META" and one "CUE " list per cue, ordered by firing moment.
// Integers are little-endian, strings zero-terminated UTF-16LE; a narrow cue text is stored
// one unit per byte, the byte sign-extended (0xE4 becomes 0xFFE4), and read back as the low
// byte of each unit. Older files are told apart by the sizes of their "CUED" chunks (20, 24
// or 28 and more bytes).
//
// The readers take untrusted bytes: every failure is an error key, never a crash; nothing
// is allocated beyond what the file's own chunks hold, and the limits below bound the work
// on any file to a small multiple of its size. The writers end the file with the integrity
// record (FileIO::RiffIntegrityRecord); reading checks it (FileDamage).
class ProjectFile {
public:
    // Limits of a project file, far above any show (the benchmarks use 100,000 cues); a file
    // beyond them is damaged ("ERROR.DAMAGED_FILE").
    static constexpr int kMaxCues = 250000;
    static constexpr uint64_t kMaxElements = 2000000;
    // A "CUEG" or "CUEC", or the text of a "CUED".
    static constexpr uint32_t kMaxTextChunkSize = 65536;
    static constexpr uint32_t kMaxMetadataChunkSize = 1 << 20;
    // Of all "META" chunks together.
    static constexpr int64_t kMaxMetadataPairs = 1000000;
    // One per DMX channel number.
    static constexpr std::size_t kMaxFixtureValuesPerCue = 65536;
    static constexpr int64_t kMaxFixtureValues = 1 << 20;

    enum class Mode {
        // Fills a cleared project: format, wave flag, audio offset, metadata and cues.
        OPEN,
        // Adds the cues of a file of the project's own format to the project. Project
        // settings and metadata of the file, group names, DMX texts and chase settings are
        // not taken.
        MERGE,
    };

    // The frame-rate code of "PRJD" for a format (24, 25, 29, 30), and back (-1 for a code
    // that names no format).
    static uint8_t frameRateCode(int format);
    static int formatOfFrameRateCode(int code);

    // True when the reader holds a file of the form "FWP ".
    static bool isProjectFile(const FileIO::RiffFileReader& reader);

    // Reads a project file (isProjectFile() true) into the data. In OPEN mode the first
    // "PRJD" is read before everything else, so that every cue is decoded in the file's
    // format; later "PRJD" chunks are ignored. The wave flag is set with an empty path: the
    // caller finds the soundtrack beside the file. False with the error key ("ERROR.INVALID_FWP",
    // "ERROR.TIMECODE", "ERROR.MEMORY", or "ERROR.DAMAGED_FILE" for a value out of its range
    // (a timecode that is no label of the format, a prefire or duration below 0 or of a day
    // or more) or a file beyond the limits); what was read before the failure stays, and a
    // cue is added only when all of its chunks were read. Salvaging, a cue or metadata chunk
    // that does not read is left out and reading goes on (cues beyond kMaxCues are not read).
    static bool read(FileIO::RiffFileReader& reader, ProjectData& data, Mode mode,
                     std::wstring& errorKey, Salvage salvage = Salvage::REFUSE);

    // Opens a project file for read(): false with "ERROR.FAILED_TO_OPEN_FILE_FOR_READING"
    // (no RIFF file), "ERROR.INVALID_FWP" (another form) or, unless salvaging,
    // "ERROR.DAMAGED_FILE" (see FileDamage).
    static bool open(FileIO::RiffFileReader& reader, const std::wstring& path, Salvage salvage,
                     std::wstring& errorKey);

    // Writes "PRJD", the project "META", the cue lists and last the integrity record into the
    // root list the writer has begun; the caller then closes the writer. False when a write
    // failed (the writer then refuses everything after it).
    static bool writeContent(FileIO::RiffFileWriter& writer, const ProjectData& data);

    // The whole file in memory.
    static std::string toBytes(const ProjectData& data);

    // Writes the project to `path` through a temporary file beside it, without the
    // soundtrack. False with "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" or
    // "ERROR.FAILED_TO_WRITE_TO_FILE"; the old file is then untouched.
    static bool save(const std::wstring& path, const ProjectData& data, std::wstring& errorKey);

    // Opens `path` and reads it in OPEN mode into cleared data. False with an error key of
    // open() or read().
    static bool load(const std::wstring& path, ProjectData& data, std::wstring& errorKey,
                     Salvage salvage = Salvage::REFUSE);

    // The soundtrack beside a project file: a path ending in ".fwp" (any case) gets "wav"
    // for its last three characters, any other path gets ".wav" appended.
    static std::wstring audioPathFor(const std::wstring& projectPath);
};

// The cues in ascending order of a key (a firing moment in frames); cues with equal keys
// keep their cue-list order. One stable sort: the files and exports list cues this way.
std::vector<const Cue*> orderCues(const CueList& cues,
                                  const std::function<int64_t(const Cue&)>& key);

// The firing moment of the project file and the CSV export: timecode frame minus prefire.
int64_t firingMoment(const Cue& cue);

}  // namespace Project
