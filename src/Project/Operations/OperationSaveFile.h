#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// The base of the operations that write the project to a file; by itself it does nothing.
// Writing a file changes no data: the operation is passive (it leaves both histories alone
// and may run in show mode) and leaves the project clean.
class OperationSaveFile : public IOperation {
public:
    explicit OperationSaveFile(std::wstring path) : path_(std::move(path)) {}

    bool execute(ProjectData& /*data*/) override { return true; }
    bool isPassive() const override { return true; }
    bool leavesProjectClean() const override { return true; }

    const std::wstring& getPath() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace Project
