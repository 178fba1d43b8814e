#include "Project/Project.h"

#include <memory>
#include <utility>

#include "Config/Settings.h"
#include "Platform/Assert.h"
#include "Project/CueFireCheck.h"

namespace Project {

namespace {
std::unique_ptr<Project> theInstance;
}  // namespace

Project::Project()
{
    data_.setOwner(this);
}
Project::~Project() = default;

namespace {
// The project whose operation runs on this thread now.
thread_local Project* runningProject = nullptr;
}  // namespace

Project::RunningScope::RunningScope(Project* project) : previous_(runningProject)
{
    runningProject = project;
}

Project::RunningScope::~RunningScope()
{
    runningProject = previous_;
}

Project* Project::running()
{
    return runningProject;
}

Project* Project::getInstance()
{
    return theInstance.get();
}

Project& Project::createInstance()
{
    SKY_ASSERT(theInstance == nullptr, "Project");
    theInstance = std::make_unique<Project>();
    return *theInstance;
}

void Project::destroyInstance()
{
    theInstance.reset();
}

void Project::addCueListListener(CueList::Listener* listener)
{
    data_.getCueList().addListener(listener);
}

void Project::removeCueListListener(CueList::Listener* listener)
{
    data_.getCueList().removeListener(listener);
}

void Project::addEffectListListener(EffectList::Listener* listener)
{
    data_.getEffectList().addListener(listener);
}

void Project::removeEffectListListener(EffectList::Listener* listener)
{
    data_.getEffectList().removeListener(listener);
}

bool Project::submit(IOperation* operation)
{
    return submit(std::unique_ptr<IOperation>(operation));
}

bool Project::submit(std::unique_ptr<IOperation> operation)
{
    if (!operation) {
        return true;
    }
    if (state_.isShowMode() && !operation->isPassive()) {
        return false;
    }
    const RunningScope running(this);
    const bool succeeded = operation->execute(data_);
    if (!succeeded) {
        reportError(lastError_);
    } else if (operation->isPassive()) {
        // Asked again after execute: an operation may turn out passive only once it has seen
        // the data (a deletion that found nothing to delete).
        if (operation->leavesProjectClean()) {
            setChangeCounts(changeCount_, changeCount_);
        }
    } else {
        redoHistory_.clear();
        if (operation->isUndoable()) {
            undoHistory_.push(std::move(operation));
            setChangeCounts(changeCount_ + 1, savedCount_);
        } else {
            // Nothing before this operation can be undone any more. If it does not leave the
            // project clean, no sequence of undo and redo reaches a saved state again.
            undoHistory_.clear();
            const int changeCount = changeCount_ + 1;
            setChangeCounts(changeCount, operation->leavesProjectClean() ? changeCount : -1);
        }
    }
    // The operation, unless it went on the undo history, is destroyed before listeners hear
    // of the change.
    operation.reset();
    finishOperation();
    return succeeded;
}

bool Project::undo()
{
    if (undoHistory_.empty() || state_.isShowMode()) {
        return true;
    }
    std::unique_ptr<IOperation> operation = undoHistory_.pop();
    const RunningScope running(this);
    const bool succeeded = operation->undo(data_);
    if (succeeded) {
        redoHistory_.push(std::move(operation));
        setChangeCounts(changeCount_ - 1, savedCount_);
    } else {
        undoHistory_.clear();
        operation.reset();
        reportError(lastError_);
    }
    finishOperation();
    return succeeded;
}

bool Project::redo()
{
    if (redoHistory_.empty() || state_.isShowMode()) {
        return true;
    }
    std::unique_ptr<IOperation> operation = redoHistory_.pop();
    const RunningScope running(this);
    const bool succeeded = operation->redo(data_);
    if (succeeded) {
        undoHistory_.push(std::move(operation));
        setChangeCounts(changeCount_ + 1, savedCount_);
    } else {
        redoHistory_.clear();
        operation.reset();
        reportError(lastError_);
    }
    finishOperation();
    return succeeded;
}

std::wstring Project::getUndoText() const
{
    if (undoHistory_.empty() || state_.isShowMode()) {
        return L"UNDO.NOTHING";
    }
    return undoHistory_.top()->getUndoText();
}

std::wstring Project::getRedoText() const
{
    if (redoHistory_.empty() || state_.isShowMode()) {
        return L"REDO.NOTHING";
    }
    return redoHistory_.top()->getRedoText();
}

void Project::finishOperation()
{
    listeners_.notify(&Listener::historyChanged);
    data_.getCueList().renumber();
    listeners_.notify(&Listener::projectUpdated);
    refreshPreviewIfDirty();
}

void Project::refreshPreviewIfDirty()
{
    if (state_.takePreviewDirty()) {
        state_.updateCueStatePreview();
    }
}

void Project::setShowMode(bool on)
{
    if (on) {
        state_.enterShowMode(state_.getClockMode());
    } else {
        state_.exitShowMode();
    }
}

bool Project::checkCues()
{
    constexpr int kCheckedFlags = FLAG_NEG_TRIGGER | FLAG_DUPLICATE | FLAG_BUSY;
    checkFailures_.clear();
    CueList& cues = data_.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const bool negative = cue->getFireMoment() < 0;
        cue->setState(cue->getState(), negative ? FLAG_NEG_TRIGGER : 0, kCheckedFlags);
        // Besides a missing command and a firing moment outside the day, a pyro address or
        // DMX field the controller's words cannot carry (it used to wrap into another module
        // or channel) and a DMX text without a channel (it used to set universe 127, channel
        // 512) make a cue unfireable.
        const CueFireCheck::Problem problem = CueFireCheck::cueProblem(*cue);
        if (problem != CueFireCheck::FIREABLE) {
            checkFailures_.push_back({cue->getId(), cue->getNumber(), problem});
        }
    }
    if (!checkFailures_.empty()) {
        lastError_ = CueFireCheck::problemKey(checkFailures_.front().problem);
    }
    listeners_.notify(&Listener::projectUpdated);
    return checkFailures_.empty();
}

void Project::announceSelectionChanging()
{
    listeners_.notify(&Listener::selectionChanging);
}

void Project::reportError(const std::wstring& text)
{
    listeners_.notify(&Listener::errorReported, text);
}

void Project::setFileName(const std::wstring& name, bool untitled)
{
    projectOpen_ = true;
    untitled_ = untitled;
    fileName_ = name;
    if (!untitled && name.find(L".fwp") != std::wstring::npos) {
        if (Config::Settings* settings = Config::Settings::getInstance()) {
            settings->getRecentFiles().add(name);
        }
    }
    listeners_.notify(&Listener::fileNameChanged, fileName_);
}

void Project::setChangeCounts(int changeCount, int savedCount)
{
    const bool wasModified = isModified();
    changeCount_ = changeCount;
    savedCount_ = savedCount;
    if (isModified() != wasModified) {
        listeners_.notify(&Listener::modifiedChanged, isModified());
    }
}

}  // namespace Project
