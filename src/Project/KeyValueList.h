#pragma once

#include <string>
#include <vector>

#include "Platform/ListenerSet.h"

namespace Project {

// An ordered list of (key, value) pairs of wide strings: a cue's metadata. Keys compare
// exactly (case matters) and need not be unique; indexOf() finds the first. Copies carry the
// listener set, as copies of the other model objects do.
class KeyValueList {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void entryInserted(int /*index*/, const std::wstring& /*key*/,
                                   const std::wstring& /*value*/)
        {
        }
        virtual void entryValueChanged(int /*index*/, const std::wstring& /*key*/,
                                       const std::wstring& /*value*/)
        {
        }
        virtual void entryRemoved(int /*index*/, const std::wstring& /*key*/) {}
        virtual void listChanged() {}
    };

    KeyValueList() = default;
    virtual ~KeyValueList() = default;
    KeyValueList(const KeyValueList&) = default;
    KeyValueList& operator=(const KeyValueList&) = default;

    // Inserts before the pair at `index` (0..size()); a negative index appends. Returns the
    // index of the new pair. Listeners get entryInserted, then listChanged.
    virtual int insert(int index, const std::wstring& key, const std::wstring& value);
    // Index -1 does nothing and returns false; any other index must be valid. Listeners get
    // entryRemoved with the old key, then listChanged.
    virtual bool remove(int index);
    // Removes the pairs from the last to the first (entryRemoved for each), then sends
    // listChanged once, also when the list was already empty.
    virtual bool clear();
    // False for an index out of range. A new key is announced as the removal of the old
    // pair followed by the insertion of the new one, without listChanged.
    virtual bool setKey(int index, const std::wstring& key);
    // False for an index out of range; entryValueChanged when the value differs.
    virtual bool setValue(int index, const std::wstring& value);
    // First index with the key, or -1.
    virtual int indexOf(const std::wstring& key) const;
    // Null when the index or key is absent. The pointers stay valid until the list changes.
    virtual const std::wstring* keyAt(int index) const;
    virtual const std::wstring* valueOf(const std::wstring& key) const;
    virtual const std::wstring* valueAt(int index) const;
    virtual int size() const;

    bool addListener(Listener* listener) { return listeners_.add(listener); }
    bool removeListener(Listener* listener) { return listeners_.remove(listener); }
    bool hasListener(Listener* listener) const { return listeners_.contains(listener); }

    // Same pairs in the same order (listeners are not compared).
    bool operator==(const KeyValueList& other) const { return pairs_ == other.pairs_; }

private:
    bool inRange(int index) const { return index >= 0 && index < size(); }

    // Key and value alternately: pair i is at 2i (key) and 2i + 1 (value).
    std::vector<std::wstring> pairs_;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace Project
