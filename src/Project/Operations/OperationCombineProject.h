#pragma once

#include "Project/Operations/OperationOpenFiles.h"

namespace Project {

// Merges the cues of project files into the project, file by file: each file must have the
// project's timecode format ("ERROR.TIMECODE" otherwise). Only timing, command word,
// fixture values and metadata of each cue come over; the cues get new ids. Stops at the
// first file that fails (a damaged file fails with "ERROR.DAMAGED_FILE"); the cues merged
// until then stay.
class OperationCombineProject : public OperationOpenFiles {
public:
    using OperationOpenFiles::OperationOpenFiles;

    bool execute(ProjectData& data) override;
};

}  // namespace Project
