#pragma once

#include <string>

#include "Platform/ListenerSet.h"
#include "Project/CueList.h"
#include "Project/EffectList.h"
#include "Project/ProjectData.h"

namespace Project {

// The one central object: it owns the project data and the project's name and modified
// state, and tells its listeners about names, the modified state, errors and the end of
// every operation. Main thread only.
//
// The project is modified exactly when the change count differs from the saved count.
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
    static Project& createInstance();
    static void destroyInstance();

    ProjectData& getProjectData() { return data_; }
    const ProjectData& getProjectData() const { return data_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }
    void addCueListListener(CueList::Listener* listener);
    void removeCueListListener(CueList::Listener* listener);
    void addEffectListListener(EffectList::Listener* listener);
    void removeEffectListListener(EffectList::Listener* listener);

    // Prepares a show: marks cues whose firing moment (timecode minus prefire time) is
    // before frame 0 and clears the duplicate and busy marks. False when a cue cannot fire:
    // a negative firing moment, or a command without address and DMX text (reminders too).
    bool checkCues();

    void setLastError(const std::wstring& key) { lastError_ = key; }
    const std::wstring& getLastError() const { return lastError_; }
    // Sends the text to every listener's errorReported.
    void reportError(const std::wstring& text);

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
    Platform::ListenerSet<Listener> listeners_;
    ProjectData data_;
    std::wstring lastError_;
    std::wstring fileName_;
    bool projectOpen_ = false;
    bool untitled_ = false;
    int changeCount_ = 0;
    int savedCount_ = 0;
};

inline Project* getInstance()
{
    return Project::getInstance();
}

}  // namespace Project
