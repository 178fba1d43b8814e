#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Clears the project for a file about to be read into it: every cue, the project metadata
// and the soundtrack link go, and the soundtrack is dropped. The base of the operations that
// open and import files; like them it leaves the project clean, and as it is not undoable,
// submitting it clears both histories.
class OperationOpenFile : public IOperation {
public:
    explicit OperationOpenFile(std::wstring path) : path_(std::move(path)) {}

    bool execute(ProjectData& data) override;
    bool leavesProjectClean() const override { return true; }

    const std::wstring& getPath() const { return path_; }

    // What execute does; the opening operations call it once the file proved readable.
    static void clearProject(ProjectData& data);

private:
    std::wstring path_;
};

}  // namespace Project
