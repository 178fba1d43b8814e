#include "Project/Project.h"

#include <memory>

#include "Config/Settings.h"
#include "Platform/Assert.h"

namespace Project {

namespace {
std::unique_ptr<Project> theInstance;
}  // namespace

Project::Project() = default;
Project::~Project() = default;

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

bool Project::checkCues()
{
    constexpr int kCheckedFlags = FLAG_NEG_TRIGGER | FLAG_DUPLICATE | FLAG_BUSY;
    bool fireable = true;
    CueList& cues = data_.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const bool negative = cue->getTimecode().getFrameNo() - cue->getPrefireTime() < 0;
        cue->setState(cue->getState(), negative ? FLAG_NEG_TRIGGER : 0, kCheckedFlags);
        if (negative || !cue->getCommand().isDefined()) {
            fireable = false;
        }
    }
    listeners_.notify(&Listener::projectUpdated);
    return fireable;
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
