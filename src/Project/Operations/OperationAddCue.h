#pragma once

#include <algorithm>
#include <string>

#include "Project/CueCommand.h"
#include "Project/IOperation.h"
#include "Timecode/SMPTE.h"

namespace Project {

class CueList;

// Adds one new cue (prefire time 0, group 1) and selects it alone. Undo removes it again;
// redo brings it back with the same id. The kinds of cue are the subclasses below it.
class OperationAddCue : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }

    // The id of the cue added; -1 before execute.
    int getCueId() const { return cueId_; }

protected:
    OperationAddCue(const SMPTE& timecode, const CueCommand& command, int duration)
        : timecode_(timecode), command_(command), duration_(duration)
    {
    }

private:
    void add(CueList& cues);

    SMPTE timecode_;
    CueCommand command_;
    int duration_;
    int cueId_ = -1;
};

// A pyro cue without an address.
class OperationAddPyroCue : public OperationAddCue {
public:
    explicit OperationAddPyroCue(const SMPTE& timecode)
        : OperationAddCue(timecode, CueCommand::pyro(CueCommand::kNoAddress), 0)
    {
    }
    std::wstring getUndoText() const override { return L"UNDO.ADD_CUE"; }
    std::wstring getRedoText() const override { return L"REDO.ADD_CUE"; }
};

// A DMX cue without a channel (universe 0, value 0), lasting from the start to the end
// timecode; an end before the start gives no duration rather than a negative one.
class OperationAddDMXCue : public OperationAddCue {
public:
    OperationAddDMXCue(const SMPTE& start, const SMPTE& end)
        : OperationAddCue(start, CueCommand::dmx(0, CueCommand::kNoAddress, 0),
                          std::max(0, end.getFrameNo() - start.getFrameNo()))
    {
    }
    std::wstring getUndoText() const override { return L"UNDO.ADD_CUE"; }
    std::wstring getRedoText() const override { return L"REDO.ADD_CUE"; }
};

// A reminder cue with an empty text.
class OperationAddReminderCue : public OperationAddCue {
public:
    explicit OperationAddReminderCue(const SMPTE& timecode)
        : OperationAddCue(timecode, CueCommand(CueCommand::TYPE_REMINDER), 0)
    {
    }
    std::wstring getUndoText() const override { return L"UNDO.ADD_REMINDER"; }
    std::wstring getRedoText() const override { return L"REDO.ADD_REMINDER"; }
};

}  // namespace Project
