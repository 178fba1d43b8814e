#include "Controller/CompiledProject.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Controller/CommandWords.h"
#include "Controller/DMXDurationCommand.h"
#include "Controller/EffectCommand.h"
#include "Controller/WaitCommand.h"
#include "Platform/Assert.h"
#include "Project/Cue.h"
#include "Project/CueCommand.h"
#include "Project/CueFireCheck.h"
#include "Project/CueList.h"

namespace Controller {

namespace {

constexpr const char* kUnit = "CompiledProject";

// A cue's fire time (timecode minus prefire) in frames, without overflow. Cues that take
// part lie inside the day, so their fire times also fit an int.
int64_t fireTime(const Project::Cue& cue)
{
    return cue.getFireMoment();
}

bool isWait(uint32_t word)
{
    // The wait words are the only non-negative ones.
    return static_cast<int32_t>(word) >= 0;
}

// A cue takes part in a show when it has something to fire or set that the controller's
// words can carry, at a moment they can carry. Left out, like a pyro cue without an address:
// a pyro address above 0xFFF (it used to wrap into another module), a DMX cue with only a
// DMX text (it used to set universe 127, channel 512), DMX fields outside their ranges, a
// negative prefire, a firing moment before 0 or past the day (a damaged prefire used to wrap
// to 00:00:00:00 and fire early) and a prefire longer than a step's delay word holds. The
// cue check refuses them all before a show.
bool takesPart(const Project::Cue& cue)
{
    switch (cue.getCommand().getType()) {
        case Project::CueCommand::TYPE_PYRO:
        case Project::CueCommand::TYPE_DMX512:
            return Project::CueFireCheck::cueProblem(cue) == Project::CueFireCheck::FIREABLE;
        default: return false;
    }
}

struct Pending {
    int key;  // time key in frames
    Project::Cue* cue;
};

uint32_t slotWaitWord(int showMode, int format, int key)
{
    switch (showMode) {
        case SHOW_AUDIO_CLOCK: return CommandWords::kTriggerWait;
        case SHOW_MANUAL_FIRE: return CommandWords::kStepWait;
        default: {
            // Fire times lie inside the day (takesPart), so every field of the label fits.
            const SMPTE label = SMPTE::fromFrameNo(format, key);
            return CommandWords::timecodeWait(label.getHours(), label.getMinutes(),
                                              label.getSeconds(), label.getFrames());
        }
    }
}

void appendCueCommands(CompiledProject::Group& group, Project::Cue* cue, bool immediate,
                       int64_t counterFrequency)
{
    if (cue->getCommand().getType() == Project::CueCommand::TYPE_DMX512) {
        const double fps = SMPTE::framesPerSecond(cue->getTimecode().getFormat());
        const double ticks = std::trunc(cue->getDuration() / fps * 40.0 + 0.5);
        const double maxTicks = CommandWords::kDelayMask;
        const auto count = static_cast<uint32_t>(std::clamp(ticks, 1.0, maxTicks));
        group.commands.push_back(std::make_unique<DMXDurationCommand>(count));
    }
    group.commands.push_back(std::make_unique<EffectCommand>(cue, immediate, counterFrequency));
}

// The delay word of a manual step: the prefire in milliseconds. The cue check keeps it
// within the 24 bits of the word (a longer one used to be cut to its low bits).
uint32_t delayWord(const Project::Cue& cue)
{
    const double fps = SMPTE::framesPerSecond(cue.getTimecode().getFormat());
    const auto ms = static_cast<int64_t>(std::trunc(cue.getPrefireTime() * 1000.0 / fps + 0.5));
    SKY_ASSERT(ms > 0 && ms <= CommandWords::kDelayMask, kUnit);
    return CommandWords::kStepWait | static_cast<uint32_t>(ms);
}

}  // namespace

// ---- Group ----

void CompiledProject::Group::sendToAll(int event, int64_t counter)
{
    for (const auto& command : commands) {
        command->update(counter, event, nullptr);
    }
}

void CompiledProject::Group::markNext(int64_t counter)
{
    // The wait the device stands at is not part of its slot; any other command there is the
    // next one to run (a report can stop partway through a slot longer than one block).
    int first = executedCount;
    if (first < size() && commands[static_cast<std::size_t>(first)]->isBlockingWait()) {
        ++first;
    }
    for (int i = first; i < size(); ++i) {
        ICommand& command = *commands[static_cast<std::size_t>(i)];
        if (command.isBlockingWait()) {
            break;
        }
        command.update(counter, EVENT_NEXT, nullptr);
    }
}

void CompiledProject::Group::activate(int64_t counter)
{
    sentCount = executedCount;
    sendToAll(EVENT_ACTIVATE, counter);
    markNext(counter);
}

void CompiledProject::Group::deactivate(int64_t counter)
{
    sentCount = executedCount;
    sendToAll(EVENT_DEACTIVATE, counter);
}

void CompiledProject::Group::seek(int index, int64_t counter)
{
    SKY_ASSERT(index >= 0 && index <= size(), kUnit);
    sentCount = executedCount;
    sendToAll(EVENT_DEACTIVATE, counter);
    executedCount = sentCount = index;
    sendToAll(EVENT_ACTIVATE, counter);
    markNext(counter);
}

void CompiledProject::Group::progress(int count, int64_t counter, bool pyroOff, bool dmxOff,
                                      std::vector<uint32_t>* emulate)
{
    if (count <= executedCount) {
        return;
    }
    count = std::min(count, size());
    for (int i = executedCount; i < count; ++i) {
        ICommand& command = *commands[static_cast<std::size_t>(i)];
        const bool suppressed = (command.isPyro() && pyroOff) || (command.isDmx() && dmxOff);
        command.update(counter, suppressed ? EVENT_SUPPRESSED : EVENT_EXECUTED, nullptr);
    }
    if (emulate != nullptr) {
        for (int i = executedCount; i < count; ++i) {
            const uint32_t word = commands[static_cast<std::size_t>(i)]->getWord();
            const uint32_t kind = CommandWords::kind(word);
            if ((kind == CommandWords::kFire && !pyroOff) ||
                (kind == CommandWords::kDmxDuration && !dmxOff)) {
                emulate->push_back(word);
            }
        }
    }
    executedCount = count;
    markNext(counter);
}

int CompiledProject::Group::takeWords(uint32_t* buffer, int max)
{
    const int taken = std::clamp(size() - sentCount, 0, std::max(max, 0));
    for (int i = 0; i < taken; ++i) {
        buffer[i] = commands[static_cast<std::size_t>(sentCount + i)]->getWord();
    }
    sentCount += taken;
    return taken;
}

int CompiledProject::Group::findIndexForTime(int frames, bool byFireTime) const
{
    int lastWait = 0;
    for (int i = 0; i < size(); ++i) {
        const ICommand& command = *commands[static_cast<std::size_t>(i)];
        if (isWait(command.getWord())) {
            lastWait = i;
        }
        const Project::Cue* cue = command.getCue();
        if (cue != nullptr) {
            const int64_t time = byFireTime ? fireTime(*cue) : cue->getTimecode().getFrameNo();
            if (time >= frames) {
                return lastWait;
            }
        }
    }
    return size();
}

bool CompiledProject::Group::needsResync(int frames) const
{
    for (int i = executedCount; i < size(); ++i) {
        const Project::Cue* cue = commands[static_cast<std::size_t>(i)]->getCue();
        if (cue != nullptr) {
            if (fireTime(*cue) + 3 <= static_cast<int64_t>(frames)) {
                return true;
            }
            break;
        }
    }
    for (int i = std::min(executedCount, size()) - 1; i >= 0; --i) {
        const Project::Cue* cue = commands[static_cast<std::size_t>(i)]->getCue();
        if (cue != nullptr) {
            return fireTime(*cue) > frames;
        }
    }
    return false;
}

int CompiledProject::Group::nextTriggerTime() const
{
    return triggerTimeAhead(0);
}

int CompiledProject::Group::triggerTimeAhead(int slots) const
{
    const auto isTriggerWait = [this](int i) {
        return CommandWords::kind(commands[static_cast<std::size_t>(i)]->getWord()) ==
               CommandWords::kTriggerWait;
    };
    if (executedCount < 0 || executedCount >= size() || !isTriggerWait(executedCount)) {
        return -1;
    }
    int wait = executedCount;
    for (int i = executedCount + 1; i < size() && slots > 0; ++i) {
        if (isTriggerWait(i)) {
            wait = i;
            --slots;
        }
    }
    if (slots > 0) {
        return -1;
    }
    for (int i = wait + 1; i < size(); ++i) {
        const Project::Cue* cue = commands[static_cast<std::size_t>(i)]->getCue();
        if (cue != nullptr) {
            return static_cast<int>(fireTime(*cue));
        }
    }
    return -1;
}

bool CompiledProject::Group::isBeforeExecuted(int frames) const
{
    for (int i = std::min(executedCount, size()) - 1; i >= 0; --i) {
        const Project::Cue* cue = commands[static_cast<std::size_t>(i)]->getCue();
        if (cue != nullptr) {
            return fireTime(*cue) > frames;
        }
    }
    return false;
}

int CompiledProject::Group::streamEnd(int frames) const
{
    for (int i = std::max(sentCount, 0); i < size(); ++i) {
        if (!isWait(commands[static_cast<std::size_t>(i)]->getWord())) {
            continue;
        }
        for (int j = i + 1; j < size(); ++j) {
            const Project::Cue* cue = commands[static_cast<std::size_t>(j)]->getCue();
            if (cue != nullptr) {
                if (fireTime(*cue) > frames) {
                    return i;
                }
                break;
            }
        }
    }
    return size();
}

int CompiledProject::Group::lastFireTime() const
{
    for (int i = size() - 1; i >= 0; --i) {
        if (const Project::Cue* cue = commands[static_cast<std::size_t>(i)]->getCue()) {
            return fireTime(*cue);
        }
    }
    return -1;
}

// ---- CompiledProject ----

CompiledProject::CompiledProject(int showMode, int format) : showMode_(showMode), format_(format) {}

std::unique_ptr<CompiledProject> CompiledProject::compile(Project::CueList& cues, int format,
                                                          int showMode, int64_t counterFrequency)
{
    auto compiled = std::make_unique<CompiledProject>(showMode, format);
    const bool manual = showMode == SHOW_MANUAL_FIRE;

    // The pending entries by group, the groups in the order of their first cue.
    std::vector<int> groupOrder;
    std::map<int, std::vector<Pending>> pending;
    for (Project::CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (!takesPart(*cue)) {
            continue;
        }
        const int groupKey = manual ? cue->getGroup() : 0;
        // Inside the day (takesPart), so the key fits an int.
        const int key = manual ? cue->getTimecode().getFrameNo() : static_cast<int>(fireTime(*cue));
        auto [entry, added] = pending.try_emplace(groupKey);
        if (added) {
            groupOrder.push_back(groupKey);
        }
        entry->second.push_back({key, cue});
    }

    for (const int groupKey : groupOrder) {
        Group& group = compiled->groups_[groupKey];
        std::vector<Pending>& entries = pending[groupKey];
        // Slot by slot in ascending time; within a slot, list order (the sort is stable).
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Pending& a, const Pending& b) { return a.key < b.key; });
        std::size_t begin = 0;
        while (begin < entries.size()) {
            std::size_t end = begin;
            while (end < entries.size() && entries[end].key == entries[begin].key) {
                ++end;
            }
            group.commands.push_back(
                std::make_unique<WaitCommand>(slotWaitWord(showMode, format, entries[begin].key)));
            if (!manual) {
                for (std::size_t i = begin; i < end; ++i) {
                    appendCueCommands(group, entries[i].cue, false, counterFrequency);
                }
            } else {
                // The step's cues by ascending prefire (list order among equals), each new
                // prefire after a delay of that length from the step.
                std::stable_sort(entries.begin() + static_cast<std::ptrdiff_t>(begin),
                                 entries.begin() + static_cast<std::ptrdiff_t>(end),
                                 [](const Pending& a, const Pending& b) {
                                     return a.cue->getPrefireTime() < b.cue->getPrefireTime();
                                 });
                int last = 0;
                for (std::size_t i = begin; i < end; ++i) {
                    const int prefire = entries[i].cue->getPrefireTime();
                    if (prefire > last) {
                        group.commands.push_back(
                            std::make_unique<WaitCommand>(delayWord(*entries[i].cue)));
                        last = prefire;
                    }
                    appendCueCommands(group, entries[i].cue, true, counterFrequency);
                }
            }
            begin = end;
        }
    }
    return compiled;
}

CompiledProject::Group* CompiledProject::getCurrentGroup()
{
    return currentGroup_ == -1 ? nullptr : findGroup(currentGroup_);
}

const CompiledProject::Group* CompiledProject::getCurrentGroup() const
{
    if (currentGroup_ == -1) {
        return nullptr;
    }
    const auto found = groups_.find(currentGroup_);
    return found == groups_.end() ? nullptr : &found->second;
}

CompiledProject::Group* CompiledProject::findGroup(int key)
{
    const auto found = groups_.find(key);
    return found == groups_.end() ? nullptr : &found->second;
}

void CompiledProject::selectGroup(int key, int64_t counter)
{
    if (key == currentGroup_) {
        return;
    }
    if (Group* old = getCurrentGroup()) {
        old->deactivate(counter);
    }
    if (key != -1) {
        groups_[key].activate(counter);
    }
    currentGroup_ = key;
}

std::unique_ptr<OperationCueStateUpdate> CompiledProject::resetAll(int64_t counter)
{
    for (auto& [key, group] : groups_) {
        group.executedCount = group.sentCount = 0;
        group.sendToAll(EVENT_RESET, counter);
    }
    currentGroup_ = -1;
    outcomeUnknown_.clear();
    selectGroup(0, counter);
    return std::make_unique<OperationCueStateUpdate>(CueStateMap{},
                                                     OperationCueStateUpdate::kAllCues);
}

std::unique_ptr<OperationCueStateUpdate> CompiledProject::collectStates(int64_t counter)
{
    CueStateMap states;
    for (auto& [key, group] : groups_) {
        for (const auto& command : group.commands) {
            command->update(counter, EVENT_TICK, &states);
        }
    }
    if (states.empty() && outcomeUnknown_.empty()) {
        return nullptr;
    }
    auto update = std::make_unique<OperationCueStateUpdate>(std::move(states));
    update->setOutcomeUnknown(std::move(outcomeUnknown_));
    outcomeUnknown_.clear();
    return update;
}

void CompiledProject::markOutcomeUnknown(Group& group, int from, int to, int64_t counter)
{
    from = std::max(from, 0);
    to = std::min(to, group.size());
    for (int i = from; i < to; ++i) {
        ICommand& command = *group.commands[static_cast<std::size_t>(i)];
        command.update(counter, EVENT_OUTCOME_UNKNOWN, nullptr);
        if (Project::Cue* cue = command.getCue()) {
            outcomeUnknown_.insert(cue);
        }
    }
}

SMPTE CompiledProject::getStepTime() const
{
    const Group* group = getCurrentGroup();
    if (group == nullptr) {
        return SMPTE(format_);
    }
    int earliestNext = -1;
    int lastTimecode = 0;
    for (const auto& command : group->commands) {
        const auto* effect = dynamic_cast<const EffectCommand*>(command.get());
        if (effect == nullptr) {
            continue;
        }
        const int timecode = effect->getCue()->getTimecode().getFrameNo();
        lastTimecode = timecode;
        if (effect->getState() == Project::CUE_NEXT &&
            (earliestNext == -1 || timecode < earliestNext)) {
            earliestNext = timecode;
        }
    }
    return SMPTE::fromFrameNo(format_, earliestNext != -1 ? earliestNext : lastTimecode);
}

int CompiledProject::getCommandCount() const
{
    int count = 0;
    for (const auto& [key, group] : groups_) {
        count += group.size();
    }
    return count;
}

}  // namespace Controller
