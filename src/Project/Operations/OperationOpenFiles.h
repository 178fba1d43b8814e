#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Project/IOperation.h"

namespace Project {

// The base of the operations that read several files into the project; by itself it does
// nothing. It leaves the project clean, and as it is not undoable, submitting it clears
// both histories.
class OperationOpenFiles : public IOperation {
public:
    explicit OperationOpenFiles(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}

    bool execute(ProjectData& /*data*/) override { return true; }
    bool leavesProjectClean() const override { return true; }

    const std::vector<std::wstring>& getPaths() const { return paths_; }

private:
    std::vector<std::wstring> paths_;
};

}  // namespace Project
