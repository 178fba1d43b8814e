#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "Controller/ICommand.h"
#include "Controller/OperationCueStateUpdate.h"
#include "Controller/ShowMode.h"
#include "Timecode/SMPTE.h"

namespace Project {
class CueList;
}

namespace Controller {

// A project compiled into the command words the firing controller executes: groups of
// commands in time order, each time slot opened by a wait word, with the bookkeeping of how
// far the device has got. Built on the main thread; after the hand-over only the controller's
// worker touches it. The commands point at the cues, which cannot change during show mode.
class CompiledProject {
public:
    // One list of commands the device works through, with how many it has executed (the
    // index of the next one) and how many were sent to it.
    class Group {
    public:
        std::vector<std::unique_ptr<ICommand>> commands;
        int executedCount = 0;
        int sentCount = 0;

        int size() const { return static_cast<int>(commands.size()); }

        // Marks next every command from the device's place up to the next blocking wait: after
        // the wait it stands at, or from the command it stands at when a report stopped
        // partway through a slot.
        void markNext(int64_t counter);
        void activate(int64_t counter);
        void deactivate(int64_t counter);
        // Moves the device's place to `index` (0..size()): every command is deactivated and
        // activated again around the move.
        void seek(int index, int64_t counter);
        // The device reports `count` commands executed. Fire words (unless pyro output is
        // off) and DMX words (unless DMX output is off) among the newly executed commands are
        // appended to `emulate`, when given, for the emulator to replay.
        void progress(int count, int64_t counter, bool pyroOff, bool dmxOff,
                      std::vector<uint32_t>* emulate = nullptr);
        // Copies up to `max` words from the first unsent one on; returns how many.
        int takeWords(uint32_t* buffer, int max);

        // The index of the wait word opening the slot of the first cue whose time (fire time
        // or timecode, in frames) is at or after `frames`; size() when there is none.
        int findIndexForTime(int frames, bool byFireTime) const;
        // The device lags three frames or more behind the clock at `frames`, or the clock
        // went back before what was executed.
        bool needsResync(int frames) const;
        // When the device stands at a trigger wait: the fire time of the first cue after it;
        // otherwise -1.
        int nextTriggerTime() const;
        // As nextTriggerTime(), for the slot `slots` trigger waits further on; -1 when the
        // device is not at a trigger wait or there is no such slot.
        int triggerTimeAhead(int slots) const;
        // The clock at `frames` is before the fire time of the last executed cue.
        bool isBeforeExecuted(int frames) const;
        // The index of the first unsent wait whose slot's time (in frames) lies after
        // `frames`: the words before it are due by then. size() when there is none.
        int streamEnd(int frames) const;
        // The fire time of the group's last cue, or -1 when it has none.
        int lastFireTime() const;

        // The event to every command, without publishing.
        void sendToAll(int event, int64_t counter);
    };

    CompiledProject(int showMode, int format);
    CompiledProject(const CompiledProject&) = delete;
    CompiledProject& operator=(const CompiledProject&) = delete;

    // Compiles the cue list for a show mode; timecodes and time keys are frame counts of
    // `format`. `counterFrequency` is the performance counter's counts per second.
    static std::unique_ptr<CompiledProject> compile(Project::CueList& cues, int format,
                                                    int showMode, int64_t counterFrequency);

    int getShowMode() const { return showMode_; }
    int getFormat() const { return format_; }
    int getCurrentGroupKey() const { return currentGroup_; }
    // The current group, or null when there is none.
    Group* getCurrentGroup();
    const Group* getCurrentGroup() const;
    // The group of this key, or null.
    Group* findGroup(int key);
    const std::map<int, Group>& getGroups() const { return groups_; }

    // Deactivates the old group and activates the new one (created empty if missing); -1
    // selects none.
    void selectGroup(int key, int64_t counter);
    // Every group back to its start with every command reset, then group 0 selected. The
    // returned update clears the continuity flags of every pyro cue and marks every other cue
    // tested.
    std::unique_ptr<OperationCueStateUpdate> resetAll(int64_t counter);
    // A tick to every command; the cue states that changed since the last collection, or null
    // when none did.
    std::unique_ptr<OperationCueStateUpdate> collectStates(int64_t counter);
    // The device was placed past the commands [from, to) of `group` without a report of
    // whether they ran: their cues end skipped, and the next collection marks them with an
    // unknown outcome.
    void markOutcomeUnknown(Group& group, int from, int to, int64_t counter);
    // The timecode of the current manual step: the earliest next cue of the current group,
    // else its last cue, else 00:00:00:00; in the show's format.
    SMPTE getStepTime() const;

    // Counts every command of every group.
    int getCommandCount() const;

private:
    std::map<int, Group> groups_;
    int currentGroup_ = -1;
    std::set<Project::Cue*> outcomeUnknown_;  // not yet collected
    int showMode_;
    int format_;
};

}  // namespace Controller
