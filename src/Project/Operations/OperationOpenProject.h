#pragma once

#include <string>

#include "Project/Operations/OperationOpenFile.h"

namespace Project {

// Opens a project file in place of the current project. A file that cannot be read as RIFF
// fails with "ERROR.FAILED_TO_OPEN_FILE_FOR_READING", one of another form with
// "ERROR.INVALID_FWP"; both leave the project untouched. Otherwise the project is cleared,
// takes the file's name and is filled from the file; a failure from there on (a damaged cue,
// no memory) leaves it partly filled. The soundtrack beside the file is loaded when the file
// links one; when it cannot be loaded the project keeps the link (and its path) marked as
// missing (ProjectData::isSoundtrackMissing) and the user is told through
// OperationLoadNotice ("MESSAGES.SOUNDTRACK_MISSING.MESSAGE"); the open still succeeds.
class OperationOpenProject : public OperationOpenFile {
public:
    using OperationOpenFile::OperationOpenFile;

    bool execute(ProjectData& data) override;
};

}  // namespace Project
