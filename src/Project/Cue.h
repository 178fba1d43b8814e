#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Platform/ListenerSet.h"
#include "Project/CueCommand.h"
#include "Project/DmxChannelValue.h"
#include "Project/KeyValueList.h"
#include "Timecode/SMPTE.h"

namespace Project {

// The show-time state of a cue. Value 3 is not used.
enum CueState : int32_t {
    CUE_DISABLED = 0,
    CUE_QUEUED = 1,
    CUE_NEXT = 2,
    CUE_PREFIRE = 4,
    CUE_ACTIVE = 5,
    CUE_DONE = 6,
    CUE_SKIPPED = 7,
};

// Show-time condition bits of a cue.
enum CueFlag : int32_t {
    FLAG_TESTED = 0x01,
    FLAG_NO_CONTINUITY = 0x02,
    FLAG_COMMFAIL = 0x04,
    // In show mode: the controller was placed past the cue without reporting whether it
    // fired (an answer was lost); the cue is shown skipped.
    FLAG_OUTCOME_UNKNOWN = 0x08,
    FLAG_DUPLICATE = 0x10,
    FLAG_BUSY = 0x20,
    FLAG_NEG_TRIGGER = 0x40,
};

// The localization key of a state's text ("CUESTATE.QUEUED"), or null for a value without
// one.
const char* cueStateKey(int state);

// The localization key of the flag text a view shows, or null when none applies. The
// continuity texts apply only to a pyro cue while show mode is on.
const char* cueFlagKey(int flags, bool pyroInShowMode);

// One timed event of the show. The cue list owns the cues, orders them and gives out ids;
// operations change them; views, the show state and the exports observe them.
//
// A copy copies every field, the id and the listener set included; the copy's metadata
// reports to the copy's own forwarder.
class Cue {
public:
    enum PyroType : int32_t {
        PYRO_SINGLE = 1,
        PYRO_PARALLEL = 2,
    };

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void cueNumberChanged(Cue*) {}
        virtual void cueTimecodeChanged(Cue*) {}
        virtual void cuePrefireTimeChanged(Cue*) {}
        virtual void cueCommandChanged(Cue*) {}
        virtual void cueDurationChanged(Cue*) {}
        virtual void cuePyroTypeChanged(Cue*) {}
        virtual void cueReminderTextChanged(Cue*) {}
        virtual void cueGroupNameChanged(Cue*) {}
        virtual void cueGroupChanged(Cue*) {}
        virtual void cueQuantityChanged(Cue*) {}
        virtual void cueStateChanged(Cue*) {}
        virtual void cueSelectionChanged(Cue*) {}
        virtual void cueMetadataInserted(Cue*, int /*index*/, const std::wstring& /*key*/,
                                         const std::wstring& /*value*/)
        {
        }
        virtual void cueMetadataValueChanged(Cue*, int /*index*/, const std::wstring& /*key*/,
                                             const std::wstring& /*value*/)
        {
        }
        virtual void cueMetadataRemoved(Cue*, int /*index*/, const std::wstring& /*key*/) {}
        virtual void cueMetadataChanged(Cue*) {}
    };

    // Forwards the events of the cue's metadata list to the cue's listeners.
    class MetadataListener : public KeyValueList::Listener {
    public:
        explicit MetadataListener(Cue* cue) : cue_(cue) {}
        void entryInserted(int index, const std::wstring& key, const std::wstring& value) override;
        void entryValueChanged(int index, const std::wstring& key,
                               const std::wstring& value) override;
        void entryRemoved(int index, const std::wstring& key) override;
        void listChanged() override;

    private:
        Cue* cue_;
    };

    Cue(const SMPTE& timecode, const CueCommand& command, int prefireTime, int duration, int group,
        int id, const std::string& reminderText);
    virtual ~Cue() = default;
    Cue(const Cue& other);
    // Not assignable: a cue of the cue list must not change its timecode behind the list.
    Cue& operator=(const Cue&) = delete;

    int getId() const { return id_; }
    int getNumber() const { return number_; }
    const SMPTE& getTimecode() const { return timecode_; }
    int getPrefireTime() const { return prefireTime_; }
    // The firing moment in frames: timecode minus prefire time. 64 bits wide, so that a
    // damaged prefire near the int limits gives a moment far out of range, never a wrapped
    // one that looks valid.
    int64_t getFireMoment() const
    {
        return static_cast<int64_t>(timecode_.getFrameNo()) - prefireTime_;
    }
    int getDuration() const { return duration_; }
    const std::string& getReminderText() const { return reminderText_; }
    const std::string& getGroupName() const { return groupName_; }
    const CueCommand& getCommand() const { return command_; }
    int getGroup() const { return group_; }
    int getQuantity() const { return quantity_; }
    int getPyroType() const { return pyroType_; }
    int getState() const { return state_; }
    int getFlags() const { return flags_; }
    bool hasSlowOnlyChannel() const { return hasSlowOnlyChannel_; }
    bool isSelected() const { return selected_; }
    int getNextAddress() const { return nextAddress_; }
    int getDmxDuration() const { return dmxDuration_; }
    const DmxSteps& getDmxSteps() const { return dmxSteps_; }
    const std::vector<DmxChannelValue>& getFixtureChannelValues() const
    {
        return fixtureChannelValues_;
    }
    KeyValueList& getMetadata() { return metadata_; }
    const KeyValueList& getMetadata() const { return metadata_; }

    // Each setter does nothing when the value is unchanged, otherwise stores it and notifies.
    void setNumber(int number);
    // Refused (false, nothing changed) when the firing moment, timecode minus prefire time,
    // would fall before frame 0. Otherwise clears FLAG_NEG_TRIGGER and stores the value.
    // Timecodes compare by SMPTE::compare: the same instant in another format is unchanged.
    bool setTimecode(const SMPTE& timecode);
    bool setPrefireTime(int frames);
    // Copies the whole command and takes a copy of its steps as the cue's DMX steps.
    void setCommand(const CueCommand& command);
    void setDuration(int frames);
    void setPyroType(int pyroType);
    void setReminderText(const std::string& text);
    void setGroupName(const std::string& name);
    void setGroup(int group);
    void setQuantity(int quantity);
    // flags become (flagBits & mask) | (flags & ~mask); notifies when state or flags changed.
    void setState(int state, int flagBits, int mask);
    void setSelected(bool selected);

    // Kept by the fixture patch; no notification.
    void setDmxSteps(DmxSteps steps) { dmxSteps_ = std::move(steps); }
    void setNextAddress(int address) { nextAddress_ = address; }
    void setDmxDuration(int milliseconds) { dmxDuration_ = milliseconds; }

    // Writes the cue's DMX steps as the command's DMX text (e.g. "S1@10+Q2@20", or
    // "(1@255)+(1@0)" for a chase) and notifies cueCommandChanged, also when nothing changed.
    void rebuildDmxText();
    // Appends unless a value for the same channel is already there.
    void addFixtureChannelValue(const DmxChannelValue& value);
    // The same for many values in one pass, in time linear in their number (a file may
    // carry tens of thousands).
    void addFixtureChannelValues(const std::vector<DmxChannelValue>& values);

    bool addListener(Listener* listener) { return listeners_.add(listener); }
    bool removeListener(Listener* listener) { return listeners_.remove(listener); }
    bool hasListener(Listener* listener) const { return listeners_.contains(listener); }

protected:
    // Ids are the cue list's to give.
    void setId(int id) { id_ = id; }

private:
    void notify(void (Listener::*callback)(Cue*)) { listeners_.notify(callback, this); }

    int32_t id_;
    Platform::ListenerSet<Listener> listeners_;
    int32_t number_ = 0;
    SMPTE timecode_;
    int32_t prefireTime_;
    int32_t duration_;
    std::string reminderText_;
    std::string groupName_;
    CueCommand command_;
    int32_t group_;
    int32_t quantity_ = 1;
    int32_t pyroType_ = PYRO_SINGLE;
    int32_t state_ = CUE_DISABLED;
    bool hasSlowOnlyChannel_ = false;
    int32_t flags_ = 0;
    bool selected_ = false;
    int32_t nextAddress_ = 1;
    int32_t dmxDuration_ = 0;
    DmxSteps dmxSteps_;
    MetadataListener metadataListener_{this};
    std::vector<DmxChannelValue> fixtureChannelValues_;
    KeyValueList metadata_;
};

}  // namespace Project
