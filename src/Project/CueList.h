#pragma once

#include <map>
#include <memory_resource>
#include <string>
#include <vector>

#include "Platform/ListenerSet.h"
#include "Project/Cue.h"
#include "Project/CueCommand.h"
#include "Timecode/SMPTE.h"

namespace Project {

// All cues of a project, owned and kept in timecode order: a doubly linked sequence between
// a head and a tail marker. A cue whose timecode equals others' goes after them. The list
// gives out cue ids, numbers the cues 1..n when asked, and forwards every event of every cue
// to its own listeners, with cueAdded and cueRemoved besides.
//
// An ordered index beside the sequence finds a cue's place in O(log n), so that a show built
// or loaded in any order does not cost a walk per cue. The index assumes what a project
// guarantees: all timecodes in one format.
class CueList {
private:
    struct TimecodeLess {
        bool operator()(const SMPTE& a, const SMPTE& b) const { return a.compare(b) < 0; }
    };

public:
    class CueItem;

    class Listener : public Cue::Listener {
    public:
        virtual void cueAdded(Cue*) {}
        virtual void cueRemoved(Cue*) {}
    };

    // A cue that is a member of the list.
    class CueItem : public Cue {
    public:
        ~CueItem() override = default;
        CueItem(const CueItem&) = delete;

        // The tail marker (end()) after the last cue, the head marker (rend()) before the
        // first.
        CueItem* getNext() const { return next_; }
        CueItem* getPrevious() const { return previous_; }

    private:
        friend class CueList;
        using Index = std::pmr::multimap<SMPTE, CueItem*, TimecodeLess>;

        CueItem();  // a marker
        CueItem(const SMPTE& timecode, const CueCommand& command, int prefireTime, int duration,
                int group, int id, const std::string& reminderText);
        CueItem(const Cue& cue, int id);

        CueList* list_ = nullptr;  // set while linked into a list
        CueItem* next_ = nullptr;
        CueItem* previous_ = nullptr;
        Index::iterator position_;  // this cue's entry in the list's index
    };

    // The list's own listener on each of its cues: moves a cue whose timecode changed, then
    // passes every event on to the list's listeners. Events of cues that are not in the list
    // (a copy of a listed cue carries this listener along) are ignored.
    class CueListener : public Cue::Listener {
    public:
        explicit CueListener(CueList* list) : list_(list) {}

        void cueNumberChanged(Cue* cue) override;
        void cueTimecodeChanged(Cue* cue) override;
        void cuePrefireTimeChanged(Cue* cue) override;
        void cueCommandChanged(Cue* cue) override;
        void cueDurationChanged(Cue* cue) override;
        void cuePyroTypeChanged(Cue* cue) override;
        void cueReminderTextChanged(Cue* cue) override;
        void cueGroupNameChanged(Cue* cue) override;
        void cueGroupChanged(Cue* cue) override;
        void cueQuantityChanged(Cue* cue) override;
        void cueStateChanged(Cue* cue) override;
        void cueSelectionChanged(Cue* cue) override;
        void cueMetadataInserted(Cue* cue, int index, const std::wstring& key,
                                 const std::wstring& value) override;
        void cueMetadataValueChanged(Cue* cue, int index, const std::wstring& key,
                                     const std::wstring& value) override;
        void cueMetadataRemoved(Cue* cue, int index, const std::wstring& key) override;
        void cueMetadataChanged(Cue* cue) override;

    private:
        template <typename Member, typename... Args>
        void forward(Cue* cue, Member member, const Args&... args);

        CueList* list_;
    };

    CueList();
    // Destroys the cues without notifying anyone.
    ~CueList();
    CueList(const CueList&) = delete;
    CueList& operator=(const CueList&) = delete;

    // A new cue from the values, with quantity 1. Id -1 takes the next id (which then grows);
    // an explicit id is kept and leaves the next id alone.
    CueItem* add(const SMPTE& timecode, const CueCommand& command, int prefireTime, int duration,
                 int group, int id, const std::string& reminderText);
    // A copy of the cue with all its fields; with `newId` it takes the next id, otherwise it
    // keeps the id of the cue it copies.
    CueItem* addCopy(const Cue& cue, bool newId);
    // A cue to put back at a place it had: the number of cues of its timecode that came
    // before it (0: the first of them).
    struct PlacedCue {
        const Cue* cue;
        int place;
    };
    // Copies of the cues, each keeping its id, each put back at its place among the cues of
    // its timecode (after them all when there are fewer), so that undoing a removal restores
    // the order of cues at one timecode. Given in list order (by timecode, places ascending),
    // as they were taken, the batch costs one search per timecode and a step per cue.
    void addCopiesAt(const std::vector<PlacedCue>& cues);
    // Unlinks the cue, notifies cueRemoved and destroys it. The cue must be in this list.
    bool remove(Cue* cue);
    // Removes every cue, first to last, as remove() does. The next id is kept.
    void clear();
    // Sets number k on the k-th cue where it differs (cueNumberChanged for those only).
    void renumber();

    CueItem* first() { return head_.next_; }
    const CueItem* first() const { return head_.next_; }
    CueItem* last() { return tail_.previous_; }
    const CueItem* last() const { return tail_.previous_; }
    CueItem* end() { return &tail_; }
    const CueItem* end() const { return &tail_; }
    CueItem* rend() { return &head_; }
    const CueItem* rend() const { return &head_; }

    int getCount() const { return count_; }
    int getNextId() const { return nextId_; }

    bool addListener(Listener* listener) { return listeners_.add(listener); }
    bool removeListener(Listener* listener) { return listeners_.remove(listener); }

private:
    // Links the cue before `successor` (a cue of a later or the same timecode, or end()), or
    // with none given after every cue of an equal or earlier timecode, and announces it.
    CueItem* adopt(CueItem* item, CueItem* successor = nullptr);
    // Links the cue after every cue whose timecode compares less than or equal to its own,
    // or before `successor` when one is given.
    void place(CueItem* item, CueItem* successor = nullptr);
    // Takes the cue out of the sequence and the index.
    void unlink(CueItem* item);
    // Moves a listed cue to the place of its new timecode.
    void replace(CueItem* item);
    CueItem* member(Cue* cue);

    int32_t nextId_ = 0;
    int32_t count_ = 0;
    // A cue was placed or taken out since the last renumber().
    bool numbersStale_ = false;
    Platform::ListenerSet<Listener> listeners_;
    CueItem head_;
    CueItem tail_;
    // The index nodes come from a pool of their own, close together in memory: the search
    // reads one node per tree level, and nodes scattered among the cues miss the cache.
    std::pmr::unsynchronized_pool_resource indexNodes_;
    CueItem::Index index_{&indexNodes_};
    CueListener forwarder_{this};
};

}  // namespace Project
