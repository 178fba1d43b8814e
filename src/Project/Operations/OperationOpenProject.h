#pragma once

#include <string>

#include "Project/Operations/FileDamage.h"
#include "Project/Operations/OperationOpenFile.h"

namespace Project {

// Opens a project file in place of the current project. A file that cannot be read as RIFF
// fails with "ERROR.FAILED_TO_OPEN_FILE_FOR_READING", one of another form with
// "ERROR.INVALID_FWP", a damaged one (FileDamage) with "ERROR.DAMAGED_FILE" unless salvage
// is allowed; all three leave the project untouched. Otherwise the project is cleared, takes
// the file's name and is filled from the file; a failure from there on (a damaged cue, no
// memory) leaves it partly filled. The soundtrack beside the file is loaded when the file
// links one; when it cannot be loaded the project keeps the link (and its path) marked as
// missing (ProjectData::isSoundtrackMissing) and the user is told through
// OperationLoadNotice ("MESSAGES.SOUNDTRACK_MISSING.MESSAGE"); the open still succeeds.
//
// With salvage allowed, a damaged file opens with what could be read of it, and the project
// is then left modified: it is not what the file held, and saving it over the file is a
// choice the user makes knowingly.
class OperationOpenProject : public OperationOpenFile {
public:
    explicit OperationOpenProject(std::wstring path, Salvage salvage = Salvage::REFUSE)
        : OperationOpenFile(std::move(path)), salvage_(salvage)
    {
    }

    bool execute(ProjectData& data) override;
    bool leavesProjectClean() const override { return !salvaged_; }

private:
    Salvage salvage_;
    bool salvaged_ = false;
};

}  // namespace Project
