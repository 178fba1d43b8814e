#pragma once

#include <QWidget>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Platform/Assert.h"

namespace GUI {

// The children a container registered, found by name and by window. The name is unique
// among the children of one container and so is the window; a second registration of
// either is a programming error. Registration order is stacking order: each child is put
// directly below the one registered before it, so the first created lies on top.
template <typename Child>
class ChildRegistry {
public:
    explicit ChildRegistry(const char* unit) : unit_(unit) {}

    void add(QWidget* handle, const std::wstring& name, Child* child)
    {
        SKY_ASSERT_TEXT(nameToCompMap.count(name) == 0, "nameToCompMap.count(name) == 0", unit_);
        SKY_ASSERT_TEXT(handleToCompMap.count(handle) == 0, "handleToCompMap.count(handle) == 0",
                        unit_);
        nameToCompMap[name] = child;
        handleToCompMap[handle] = child;
        if (!order_.empty()) {
            QWidget* previous = order_.back().handle;
            if (previous->parentWidget() == handle->parentWidget()) {
                handle->stackUnder(previous);
            }
        }
        order_.push_back({handle, child});
    }

    // Returns false when the child was not registered under that window.
    bool remove(const QWidget* handle, const std::wstring& name)
    {
        auto named = nameToCompMap.find(name);
        auto it = handleToCompMap.find(handle);
        if (it == handleToCompMap.end()) {
            return false;
        }
        if (named != nameToCompMap.end() && named->second == it->second) {
            nameToCompMap.erase(named);
        }
        handleToCompMap.erase(it);
        order_.erase(std::remove_if(order_.begin(), order_.end(),
                                    [handle](const Entry& e) { return e.handle == handle; }),
                     order_.end());
        return true;
    }

    Child* findByName(const std::wstring& name) const
    {
        auto it = nameToCompMap.find(name);
        return it != nameToCompMap.end() ? it->second : nullptr;
    }

    Child* findByHandle(const QWidget* handle) const
    {
        auto it = handleToCompMap.find(handle);
        return it != handleToCompMap.end() ? it->second : nullptr;
    }

    // The children in the order of their windows (the order size changes place them in).
    const std::map<const QWidget*, Child*>& byHandle() const { return handleToCompMap; }

    // Calls fn(child) in registration order.
    template <typename Fn>
    void forEachInOrder(Fn&& fn) const
    {
        for (const Entry& entry : order_) {
            fn(entry.child);
        }
    }

    std::size_t size() const { return order_.size(); }

private:
    struct Entry {
        QWidget* handle;
        Child* child;
    };

    const char* unit_;
    std::map<std::wstring, Child*> nameToCompMap;
    std::map<const QWidget*, Child*> handleToCompMap;
    std::vector<Entry> order_;
};

}  // namespace GUI
