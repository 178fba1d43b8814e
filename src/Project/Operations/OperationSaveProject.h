#pragma once

#include "Project/Operations/OperationSaveFile.h"

namespace Project {

// Saves the project as a project file. The file is written beside the target under a
// temporary name and renamed over the target only when all of it was written, so a save that
// fails part-way leaves the old file as it was.
//
// A linked soundtrack goes beside the project file: when it lies elsewhere it is copied
// there (replacing the file there) and the copy is loaded; the project's soundtrack path then
// names that copy, so that a later save under another name copies it again.
//
// The file it replaces is kept as NAME.fwp.bak (one generation), and so is a soundtrack file
// the copy replaces. A save that succeeds leaves the project clean.
//
// Fails with "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" when the file cannot be created,
// "ERROR.FAILED_TO_COPY_WAVE" when the soundtrack cannot be copied and
// "ERROR.FAILED_TO_WRITE_TO_FILE" when a later write fails. The project takes the new name
// only when the save succeeded.
class OperationSaveProject : public OperationSaveFile {
public:
    using OperationSaveFile::OperationSaveFile;

    bool execute(ProjectData& data) override;
    bool leavesProjectClean() const override { return true; }
};

}  // namespace Project
