#pragma once

#include <map>
#include <string>
#include <utility>

#include "Project/CueCommand.h"
#include "Project/DmxChannelValue.h"
#include "Project/IOperation.h"

namespace Project {

class Cue;

// Sets one value on the selected cues that it applies to (the sidebar's edit fields and the
// main window's value commands). Each kind of value applies to some cues only; the others
// are left alone:
//
//   PREFIRE_TIME, GROUP, QUANTITY, PYRO_TYPE: every cue;
//   PYRO_ADDRESS: pyro cues (a new pyro command with that address);
//   DMX_UNIVERSE, DMX_CHANNEL: DMX cues (a new DMX command keeping the other two of
//     universe, channel and value; DMX text, steps and chase settings start over);
//   DMX_VALUE: DMX cues (the DMX text is parsed again, so entries without a value take the
//     new value);
//   DMX_CHASE_BPM, DMX_CHASE_PATH, DMX_TEXT: DMX cues;
//   DURATION: pyro and DMX cues;
//   COMMAND_WORD: cues whose command type differs from the word's (converts cues to pyro or
//     DMX: the command decoded from the word).
//
// With the relative flag the value is added to each cue's own value (and the sum kept at 0
// or more), e.g. a duration of -5 frames. Channels are indices 0..511 (channel number - 1).
//
// A value outside the range of its field (CueValueLimits: a group of 17, a DMX value of 300,
// a negative prefire) is refused with the key of that field, before anything changes; with
// the relative flag each cue's sum is checked. A cue that refuses the value (a prefire time
// beyond its timecode, a DMX text that does not parse) makes the whole operation fail with
// "ERROR.GENERIC". Either way the cues changed before it are put back, so nothing is left
// half done. Undo restores each cue's whole previous value,
// for commands with their DMX text, steps and chase settings.
class OperationSetCueValue : public IOperation {
public:
    enum ValueType : int {
        PREFIRE_TIME = 0,
        GROUP = 1,
        PYRO_ADDRESS = 2,
        DMX_UNIVERSE = 3,
        DMX_CHANNEL = 4,
        DMX_VALUE = 5,
        DURATION = 6,
        COMMAND_WORD = 7,
        QUANTITY = 8,
        PYRO_TYPE = 9,
        DMX_CHASE_BPM = 10,
        DMX_TEXT = 11,
        DMX_CHASE_PATH = 12,
    };

    // A value of any type but DMX_TEXT; another type number changes nothing.
    OperationSetCueValue(int type, int value, bool relative = false)
        : type_(type), value_(value), relative_(relative)
    {
    }
    // A DMX text (DMX_TEXT), as typed: each character's low byte is kept.
    explicit OperationSetCueValue(const std::wstring& dmxText);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override;
    std::wstring getRedoText() const override;

    // The number of cues execute found the value to apply to.
    int getRecordedCount() const { return static_cast<int>(records_.size()); }

private:
    struct Record {
        int oldValue = 0;     // every type but DMX_TEXT
        std::string oldText;  // DMX_TEXT
    };
    struct OldCommand {
        CueCommand command;
        DmxSteps steps;  // the cue's own steps, which may differ from the command's
    };

    bool appliesTo(const Cue& cue) const;
    bool changesCommand() const;
    void record(const Cue& cue);
    // Applies the operation's value to every recorded cue; on a refusal puts back what it
    // changed and fails.
    bool applyNew(ProjectData& data);
    // The value the cue gets: the operation's, or with the relative flag the recorded one
    // plus the operation's, at least 0.
    int newValue(const Record& record) const;
    bool applyNewTo(Cue& cue, const Record& record) const;
    void restore(ProjectData& data) const;
    void restoreTo(Cue& cue, const Record& record) const;

    int type_;
    int value_ = 0;
    bool relative_ = false;
    std::string text_;
    std::map<int, Record> records_;
    std::map<int, OldCommand> oldCommands_;
};

}  // namespace Project
