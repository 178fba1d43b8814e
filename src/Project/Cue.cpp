#include "Project/Cue.h"

#include <algorithm>
#include <bitset>
#include <memory>
#include <string>

#include "Platform/Assert.h"

namespace Project {

namespace {

constexpr const char* kUnit = "Cue";

// Whether the firing command, `prefireTime` frames before `timecode`, would go out before
// frame 0. Wide arithmetic: a prefire time near the int limits must not overflow.
bool firesBeforeZero(const SMPTE& timecode, int prefireTime)
{
    return static_cast<long long>(timecode.getFrameNo()) - prefireTime < 0;
}

}  // namespace

const char* cueStateKey(int state)
{
    switch (state) {
        case CUE_DISABLED: return "CUESTATE.DISABLED";
        case CUE_QUEUED: return "CUESTATE.QUEUED";
        case CUE_NEXT: return "CUESTATE.NEXT";
        case CUE_PREFIRE: return "CUESTATE.PREFIRE";
        case CUE_ACTIVE: return "CUESTATE.ACTIVE";
        case CUE_DONE: return "CUESTATE.DONE";
        case CUE_SKIPPED: return "CUESTATE.SKIPPED";
        default: return nullptr;
    }
}

const char* cueFlagKey(int flags, bool pyroInShowMode)
{
    if (flags & FLAG_NEG_TRIGGER) {
        return "CUESTATE.NEG_TRIGGER";
    }
    if (flags & FLAG_DUPLICATE) {
        return "CUESTATE.DUPLICATE";
    }
    if (flags & FLAG_BUSY) {
        return "CUESTATE.BUSY";
    }
    if (!pyroInShowMode) {
        return nullptr;
    }
    if (!(flags & FLAG_TESTED)) {
        return "CUESTATE.NOTCHECKED";
    }
    if (flags & FLAG_COMMFAIL) {
        return "CUESTATE.COMMFAIL";
    }
    if (flags & FLAG_NO_CONTINUITY) {
        return "CUESTATE.NOCONTINUITY";
    }
    return "CUESTATE.CONTINUITY";
}

void Cue::MetadataListener::entryInserted(int index, const std::wstring& key,
                                          const std::wstring& value)
{
    cue_->listeners_.notify(&Cue::Listener::cueMetadataInserted, cue_, index, key, value);
}

void Cue::MetadataListener::entryValueChanged(int index, const std::wstring& key,
                                              const std::wstring& value)
{
    cue_->listeners_.notify(&Cue::Listener::cueMetadataValueChanged, cue_, index, key, value);
}

void Cue::MetadataListener::entryRemoved(int index, const std::wstring& key)
{
    cue_->listeners_.notify(&Cue::Listener::cueMetadataRemoved, cue_, index, key);
}

void Cue::MetadataListener::listChanged()
{
    cue_->notify(&Cue::Listener::cueMetadataChanged);
}

Cue::Cue(const SMPTE& timecode, const CueCommand& command, int prefireTime, int duration, int group,
         int id, const std::string& reminderText)
    : id_(id),
      timecode_(timecode),
      prefireTime_(prefireTime),
      duration_(duration),
      reminderText_(reminderText),
      command_(command),
      group_(group),
      dmxSteps_(command.getDmxSteps())
{
    metadata_.addListener(&metadataListener_);
}

Cue::Cue(const Cue& other)
    : id_(other.id_),
      listeners_(other.listeners_),
      number_(other.number_),
      timecode_(other.timecode_),
      prefireTime_(other.prefireTime_),
      duration_(other.duration_),
      reminderText_(other.reminderText_),
      groupName_(other.groupName_),
      command_(other.command_),
      group_(other.group_),
      quantity_(other.quantity_),
      pyroType_(other.pyroType_),
      state_(other.state_),
      hasSlowOnlyChannel_(other.hasSlowOnlyChannel_),
      flags_(other.flags_),
      selected_(other.selected_),
      nextAddress_(other.nextAddress_),
      dmxDuration_(other.dmxDuration_),
      dmxSteps_(other.dmxSteps_),
      metadataListener_(this),
      fixtureChannelValues_(other.fixtureChannelValues_),
      metadata_(other.metadata_)
{
    // The copied list still reports to the original cue's forwarder; it must report to ours,
    // or metadata changes of the copy would be announced as changes of the original.
    metadata_.removeListener(const_cast<MetadataListener*>(&other.metadataListener_));
    metadata_.addListener(&metadataListener_);
}

void Cue::setNumber(int number)
{
    if (number_ != number) {
        number_ = number;
        notify(&Listener::cueNumberChanged);
    }
}

bool Cue::setTimecode(const SMPTE& timecode)
{
    if (firesBeforeZero(timecode, prefireTime_)) {
        return false;
    }
    setState(state_, 0, FLAG_NEG_TRIGGER);
    if (timecode_.compare(timecode) != 0) {
        timecode_ = timecode;
        notify(&Listener::cueTimecodeChanged);
    }
    return true;
}

bool Cue::setPrefireTime(int frames)
{
    if (firesBeforeZero(timecode_, frames)) {
        return false;
    }
    setState(state_, 0, FLAG_NEG_TRIGGER);
    if (prefireTime_ != frames) {
        prefireTime_ = frames;
        notify(&Listener::cuePrefireTimeChanged);
    }
    return true;
}

void Cue::setCommand(const CueCommand& command)
{
    if (command_ == command) {
        return;
    }
    command_ = command;
    dmxSteps_ = command.getDmxSteps();
    notify(&Listener::cueCommandChanged);
}

void Cue::setDuration(int frames)
{
    if (duration_ != frames) {
        duration_ = frames;
        notify(&Listener::cueDurationChanged);
    }
}

void Cue::setPyroType(int pyroType)
{
    if (pyroType_ != pyroType) {
        pyroType_ = pyroType;
        notify(&Listener::cuePyroTypeChanged);
    }
}

void Cue::setReminderText(const std::string& text)
{
    if (reminderText_ != text) {
        reminderText_ = text;
        notify(&Listener::cueReminderTextChanged);
    }
}

void Cue::setGroupName(const std::string& name)
{
    if (groupName_ != name) {
        groupName_ = name;
        notify(&Listener::cueGroupNameChanged);
    }
}

void Cue::setGroup(int group)
{
    if (group_ != group) {
        group_ = group;
        notify(&Listener::cueGroupChanged);
    }
}

void Cue::setQuantity(int quantity)
{
    if (quantity_ != quantity) {
        quantity_ = quantity;
        notify(&Listener::cueQuantityChanged);
    }
}

void Cue::setState(int state, int flagBits, int mask)
{
    const int32_t flags = (flagBits & mask) | (flags_ & ~mask);
    if (state_ != state || flags_ != flags) {
        state_ = state;
        flags_ = flags;
        notify(&Listener::cueStateChanged);
    }
}

void Cue::setSelected(bool selected)
{
    if (selected_ != selected) {
        selected_ = selected;
        notify(&Listener::cueSelectionChanged);
    }
}

void Cue::rebuildDmxText()
{
    hasSlowOnlyChannel_ = false;
    // A step without channels has no text form ("()" does not parse); it is left out.
    std::vector<const DmxStep*> steps;
    for (const DmxStep& step : dmxSteps_) {
        if (!step.empty()) {
            steps.push_back(&step);
        }
    }
    const bool chase = steps.size() >= 2;
    std::string text;
    for (std::size_t s = 0; s < steps.size(); ++s) {
        if (s > 0) {
            text += '+';
        }
        if (chase) {
            text += '(';
        }
        const DmxStep& step = *steps[s];
        for (std::size_t c = 0; c < step.size(); ++c) {
            const DmxChannelValue& value = step[c];
            if (c > 0) {
                text += '+';
            }
            if (value.isSafety() && value.isSlowSafety()) {
                text += 'Q';
            } else if (value.isSafety()) {
                text += 'S';
            } else if (value.isSlowSafety()) {
                text += 'D';
                hasSlowOnlyChannel_ = true;
            }
            // "%d@%d" of channel and value.
            text += std::to_string(value.getChannel());
            text += '@';
            text += std::to_string(value.getValue());
        }
        if (chase) {
            text += ')';
        }
    }
    if (text.empty()) {
        // No channels left: the command must not keep firing the channels of its old text,
        // which setDmxText() keeps when given an empty text.
        command_.clearDmxText();
    } else {
        // Built from 16-bit channels and 8-bit values in non-empty steps: it always parses.
        const bool parsed = command_.setDmxText(text);
        SKY_ASSERT(parsed, kUnit);
    }
    notify(&Listener::cueCommandChanged);
}

void Cue::addFixtureChannelValue(const DmxChannelValue& value)
{
    const bool present =
        std::any_of(fixtureChannelValues_.begin(), fixtureChannelValues_.end(),
                    [&](const DmxChannelValue& v) { return v.getChannel() == value.getChannel(); });
    if (!present) {
        fixtureChannelValues_.push_back(value);
    }
}

void Cue::addFixtureChannelValues(const std::vector<DmxChannelValue>& values)
{
    // A few values are checked one by one; for many, a set of the channels seen keeps the
    // work linear.
    constexpr std::size_t kFew = 64;
    if (fixtureChannelValues_.size() + values.size() <= kFew) {
        for (const DmxChannelValue& value : values) {
            addFixtureChannelValue(value);
        }
        return;
    }
    auto seen = std::make_unique<std::bitset<65536>>();
    for (const DmxChannelValue& kept : fixtureChannelValues_) {
        seen->set(kept.getChannel());
    }
    for (const DmxChannelValue& value : values) {
        if (!seen->test(value.getChannel())) {
            seen->set(value.getChannel());
            fixtureChannelValues_.push_back(value);
        }
    }
}

}  // namespace Project
