#include "Project/KeyValueList.h"

#include <cstddef>
#include <utility>

#include "Platform/Assert.h"

namespace Project {

namespace {
constexpr const char* kUnit = "KeyValueList";
}  // namespace

int KeyValueList::insert(int index, const std::wstring& key, const std::wstring& value)
{
    if (index < 0) {
        index = size();
    }
    SKY_ASSERT(index <= size(), kUnit);
    const auto at = pairs_.begin() + static_cast<std::ptrdiff_t>(index) * 2;
    pairs_.insert(at, {key, value});
    // The listeners get the caller's strings: a listener may change the list meanwhile.
    listeners_.forEach([&](Listener* listener) {
        listener->entryInserted(index, key, value);
        listener->listChanged();
    });
    return index;
}

bool KeyValueList::remove(int index)
{
    if (index == -1) {
        return false;
    }
    SKY_ASSERT(index >= 0 && index < size(), kUnit);
    const auto at = pairs_.begin() + static_cast<std::ptrdiff_t>(index) * 2;
    const std::wstring oldKey = std::move(*at);
    pairs_.erase(at, at + 2);
    listeners_.forEach([&](Listener* listener) {
        listener->entryRemoved(index, oldKey);
        listener->listChanged();
    });
    return true;
}

bool KeyValueList::clear()
{
    for (int index = size() - 1; index >= 0; --index) {
        const std::wstring oldKey = std::move(pairs_[static_cast<std::size_t>(index) * 2]);
        pairs_.resize(static_cast<std::size_t>(index) * 2);
        listeners_.notify(&Listener::entryRemoved, index, oldKey);
    }
    listeners_.notify(&Listener::listChanged);
    return true;
}

bool KeyValueList::setKey(int index, const std::wstring& key)
{
    if (!inRange(index)) {
        return false;
    }
    std::wstring& slot = pairs_[static_cast<std::size_t>(index) * 2];
    if (slot == key) {
        return true;
    }
    const std::wstring oldKey = std::exchange(slot, key);
    const std::wstring value = pairs_[static_cast<std::size_t>(index) * 2 + 1];
    listeners_.forEach([&](Listener* listener) {
        listener->entryRemoved(index, oldKey);
        listener->entryInserted(index, key, value);
    });
    return true;
}

bool KeyValueList::setValue(int index, const std::wstring& value)
{
    if (!inRange(index)) {
        return false;
    }
    std::wstring& slot = pairs_[static_cast<std::size_t>(index) * 2 + 1];
    if (slot == value) {
        return true;
    }
    slot = value;
    const std::wstring key = pairs_[static_cast<std::size_t>(index) * 2];
    listeners_.notify(&Listener::entryValueChanged, index, key, value);
    return true;
}

int KeyValueList::indexOf(const std::wstring& key) const
{
    for (std::size_t i = 0; i < pairs_.size(); i += 2) {
        if (pairs_[i] == key) {
            return static_cast<int>(i / 2);
        }
    }
    return -1;
}

const std::wstring* KeyValueList::keyAt(int index) const
{
    return inRange(index) ? &pairs_[static_cast<std::size_t>(index) * 2] : nullptr;
}

const std::wstring* KeyValueList::valueOf(const std::wstring& key) const
{
    return valueAt(indexOf(key));
}

const std::wstring* KeyValueList::valueAt(int index) const
{
    return inRange(index) ? &pairs_[static_cast<std::size_t>(index) * 2 + 1] : nullptr;
}

int KeyValueList::size() const
{
    return static_cast<int>(pairs_.size() / 2);
}

}  // namespace Project
