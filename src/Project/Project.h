#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Platform/ListenerSet.h"
#include "Project/CueFireCheck.h"
#include "Project/CueList.h"
#include "Project/EffectList.h"
#include "Project/IOperation.h"
#include "Project/OperationHistory.h"
#include "Project/ProjectData.h"
#include "Project/ProjectState.h"

namespace Project {

class ISoundtrack;

// The one central object: it owns the project data, the undo and redo histories and the
// project's name and modified state, and tells its listeners about names, the modified state,
// errors and the end of every operation. Main thread only.
//
// The project is modified exactly when the change count differs from the saved count.
//
// Every change of the data is an operation handed to submit(). The operation's flags decide
// what happens after it ran: an undoable one goes on the undo history; a passive one (a
// selection, a save, a cue-state update) leaves both histories alone and may run in show
// mode; any other one clears both histories, since nothing before it can be undone. One
// that leaves the project clean makes the current change count the saved one.
class Project {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void fileNameChanged(const std::wstring& /*fileName*/) {}
        virtual void modifiedChanged(bool /*modified*/) {}
        // After every submit, undo and redo, before the cues are renumbered.
        virtual void historyChanged() {}
        // A localization key of a failure.
        virtual void errorReported(const std::wstring& /*text*/) {}
        // Before a selection operation changes selection flags.
        virtual void selectionChanging() {}
        // After every submit, undo and redo (after renumbering), and after checkCues().
        virtual void projectUpdated() {}
    };

    Project();
    ~Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    // The process-wide project, valid between createInstance() and destroyInstance().
    static Project* getInstance();
    // The project that is running an operation (execute, undo or redo) on this thread, or
    // null: the project an operation's failure and selection notices go to.
    static Project* running();
    static Project& createInstance();
    static void destroyInstance();

    ProjectData& getProjectData() { return data_; }
    const ProjectData& getProjectData() const { return data_; }
    ProjectState& getProjectState() { return state_; }
    const ProjectState& getProjectState() const { return state_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }
    void addCueListListener(CueList::Listener* listener);
    void removeCueListListener(CueList::Listener* listener);
    void addEffectListListener(EffectList::Listener* listener);
    void removeEffectListListener(EffectList::Listener* listener);

    // Runs the operation and takes ownership of it in every case: afterwards it lives in the
    // undo history or has been destroyed. Returns the operation's result; false also when
    // show mode refuses an operation that is not passive (then nobody is told). A null
    // operation does nothing and returns true.
    bool submit(IOperation* operation);
    bool submit(std::unique_ptr<IOperation> operation);
    // Undo and redo the top operation of their history. They do nothing and return true while
    // the history is empty or show mode is on. A failing undo (redo) destroys the whole undo
    // (redo) history and reports the last error.
    bool undo();
    bool redo();
    // Localization keys for the menu: the top operation's texts, or "UNDO.NOTHING" and
    // "REDO.NOTHING" when there is nothing to undo or redo or show mode is on.
    std::wstring getUndoText() const;
    std::wstring getRedoText() const;
    int getUndoCount() const { return undoHistory_.count(); }
    int getRedoCount() const { return redoHistory_.count(); }

    // Show mode, as the show state has it: while on, only passive operations run and undo
    // and redo do nothing. setShowMode enters show mode with the current clock or leaves it.
    void setShowMode(bool on);
    bool isShowMode() const { return state_.isShowMode(); }

    // A cue the last checkCues() found unable to fire, and why.
    struct CheckFailure {
        int cueId = 0;
        int cueNumber = 0;
        CueFireCheck::Problem problem = CueFireCheck::FIREABLE;
    };

    // Prepares a show: marks cues whose firing moment (timecode minus prefire time) is
    // before frame 0 and clears the duplicate and busy marks. False when a cue cannot fire
    // (CueFireCheck::cueProblem): a negative prefire, a firing moment before frame 0 or past
    // the day, a command without address and DMX text (reminders too), a pyro address, DMX
    // universe, channel or value outside the typed ranges, or a DMX text without a channel.
    // Each such cue is listed in getCheckFailures(), in cue-list order, and the last error
    // becomes the key of the first one's problem.
    bool checkCues();
    const std::vector<CheckFailure>& getCheckFailures() const { return checkFailures_; }

    // Sends selectionChanging to every listener; selection operations call it before they
    // change selection flags.
    void announceSelectionChanging();

    void setLastError(const std::wstring& key) { lastError_ = key; }
    const std::wstring& getLastError() const { return lastError_; }
    // Sends the text to every listener's errorReported.
    void reportError(const std::wstring& text);

    // The soundtrack the project's operations load and drop (not owned); none: the
    // process-wide one.
    void setSoundtrack(ISoundtrack* soundtrack) { soundtrack_ = soundtrack; }
    ISoundtrack* getSoundtrack() const { return soundtrack_; }

    // Opens the project under this name. A saved or opened project file (a ".fwp" path that
    // is not a placeholder) enters the recent-files list.
    void setFileName(const std::wstring& name, bool untitled);
    const std::wstring& getFileName() const { return fileName_; }
    bool isProjectOpen() const { return projectOpen_; }
    bool isUntitled() const { return untitled_; }

    // Sets both counts; listeners hear modifiedChanged when the modified state flips.
    void setChangeCounts(int changeCount, int savedCount);
    int getChangeCount() const { return changeCount_; }
    int getSavedCount() const { return savedCount_; }
    bool isModified() const { return changeCount_ != savedCount_; }

private:
    // Marks this project as the one running an operation for the scope's time.
    class RunningScope {
    public:
        explicit RunningScope(Project* project);
        ~RunningScope();
        RunningScope(const RunningScope&) = delete;
        RunningScope& operator=(const RunningScope&) = delete;

    private:
        Project* previous_;
    };

    // The end of every submit, undo and redo that ran an operation: listeners hear
    // historyChanged, the cues are renumbered, listeners hear projectUpdated, then the cue
    // state preview hook runs.
    void finishOperation();
    // When the show state marked its cue-state preview stale during the operation: clears
    // the mark and submits one preview update for the current position.
    void refreshPreviewIfDirty();

    Platform::ListenerSet<Listener> listeners_;
    ProjectData data_;
    ISoundtrack* soundtrack_ = nullptr;
    std::wstring lastError_;
    std::vector<CheckFailure> checkFailures_;
    std::wstring fileName_;
    bool projectOpen_ = false;
    bool untitled_ = false;
    int changeCount_ = 0;
    int savedCount_ = 0;
    // After the data: it stops listening to the cue list before the cues go.
    ProjectState state_{*this};
    // Declared after the data: operations are destroyed before the cues they refer to.
    OperationHistory undoHistory_;
    OperationHistory redoHistory_;
};

inline Project* getInstance()
{
    return Project::getInstance();
}

}  // namespace Project
