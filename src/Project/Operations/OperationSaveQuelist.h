#pragma once

#include <string>

#include "Project/Operations/OperationSaveFile.h"
#include "Project/Operations/ShowFile.h"

namespace Project {

// Exports the show file for the firing system. The parallel tags and the trailer's random
// byte come from rand() and the export time from the clock, unless options are given (to
// reproduce a file byte for byte). Fails with "ERROR.SHOW_FILE.TOO_MANY_CUES" when the show
// has more records than the file can count, "ERROR.SHOW_FILE.CUE_TIMING" when a cue's firing
// time or prefire cannot be written as it is, "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" or
// "ERROR.FAILED_TO_WRITE_TO_FILE" when the file cannot be written; an old file is then
// untouched.
class OperationSaveQuelist : public OperationSaveFile {
public:
    explicit OperationSaveQuelist(std::wstring path);
    OperationSaveQuelist(std::wstring path, ShowFile::Options options);

    bool execute(ProjectData& data) override;

private:
    bool hasOptions_;
    ShowFile::Options options_;
};

}  // namespace Project
