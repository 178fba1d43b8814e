#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// The base of the operations that write the project to a file; by itself it does nothing.
// Writing a file changes no data: the operation is passive (it leaves both histories alone
// and may run in show mode). It leaves the modified state as it was: an export (CSV, show
// file, report) holds the edits but is no project file, so after edit, export, quit the
// edits must still be offered for saving. Only the project save (OperationSaveProject)
// marks the project saved.
class OperationSaveFile : public IOperation {
public:
    explicit OperationSaveFile(std::wstring path) : path_(std::move(path)) {}

    bool execute(ProjectData& /*data*/) override { return true; }
    bool isPassive() const override { return true; }

    const std::wstring& getPath() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace Project
