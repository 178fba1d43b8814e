#pragma once

#include "Project/IOperation.h"
#include "Timecode/SMPTE.h"

namespace Project {

// Sets the timecode at which the soundtrack starts. Every run exchanges the operation's
// offset with the project's, so undo and redo are the same exchange.
class OperationSetAudioOffset : public IOperation {
public:
    explicit OperationSetAudioOffset(const SMPTE& offset) : offset_(offset) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override { return execute(data); }
    bool redo(ProjectData& data) override { return execute(data); }
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.MOD_OFFSET"; }
    std::wstring getRedoText() const override { return L"REDO.MOD_OFFSET"; }

private:
    SMPTE offset_;
};

}  // namespace Project
