#pragma once

#include "Project/IOperation.h"

namespace Project {

// Starts a new, untitled project in a timecode format: the project is cleared, named with
// the text of "FILENAME.NEW", and gets the format and a zero audio offset. It leaves the
// project clean and clears both histories.
class OperationNewProject : public IOperation {
public:
    explicit OperationNewProject(int format) : format_(format) {}

    bool execute(ProjectData& data) override;
    bool leavesProjectClean() const override { return true; }

private:
    int format_;
};

}  // namespace Project
