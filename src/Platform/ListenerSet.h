#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace Platform {

// An ordered set of listener pointers (ordered by pointer value), not owned.
//
// notify() calls a member on every listener. It is safe for a listener to add or remove
// listeners, itself included, from inside a callback: the call walks a snapshot taken at
// the start, skips listeners that were removed meanwhile, and does not reach listeners
// added during the walk. Copies carry the set, as copies of the model objects do.
template <typename Listener>
class ListenerSet {
public:
    // Returns false when the listener was already in the set.
    bool add(Listener* listener)
    {
        auto it = std::lower_bound(listeners_.begin(), listeners_.end(), listener);
        if (it != listeners_.end() && *it == listener) {
            return false;
        }
        listeners_.insert(it, listener);
        return true;
    }

    // Returns false when the listener was not in the set.
    bool remove(Listener* listener)
    {
        auto it = std::lower_bound(listeners_.begin(), listeners_.end(), listener);
        if (it == listeners_.end() || *it != listener) {
            return false;
        }
        listeners_.erase(it);
        return true;
    }

    bool contains(Listener* listener) const
    {
        return std::binary_search(listeners_.begin(), listeners_.end(), listener);
    }

    std::size_t size() const { return listeners_.size(); }
    bool empty() const { return listeners_.empty(); }
    void clear() { listeners_.clear(); }

    auto begin() const { return listeners_.begin(); }
    auto end() const { return listeners_.end(); }

    // Calls (listener->*member)(args...) on every listener.
    template <typename Member, typename... Args>
    void notify(Member member, const Args&... args) const
    {
        forEach([&](Listener* listener) { (listener->*member)(args...); });
    }

    // Calls fn(listener) on every listener, with the same safety as notify().
    template <typename Fn>
    void forEach(Fn&& fn) const
    {
        const std::size_t n = listeners_.size();
        if (n == 0) {
            return;
        }
        if (n == 1) {
            Listener* only = listeners_.front();
            fn(only);
            return;
        }
        if (n <= kInline) {
            std::array<Listener*, kInline> snapshot;
            std::copy(listeners_.begin(), listeners_.end(), snapshot.begin());
            walk(snapshot.data(), n, fn);
        } else {
            std::vector<Listener*> snapshot(listeners_);
            walk(snapshot.data(), n, fn);
        }
    }

private:
    static constexpr std::size_t kInline = 16;

    template <typename Fn>
    void walk(Listener* const* snapshot, std::size_t n, Fn& fn) const
    {
        for (std::size_t i = 0; i < n; ++i) {
            if (i == 0 || contains(snapshot[i])) {
                fn(snapshot[i]);
            }
        }
    }

    std::vector<Listener*> listeners_;
};

}  // namespace Platform
