#include <gtest/gtest.h>

#include <vector>

#include "Platform/ListenerSet.h"

namespace {

struct Listener {
    std::vector<int>* log;
    int name;
    Platform::ListenerSet<Listener>* set = nullptr;
    Listener* toRemove = nullptr;
    Listener* toAdd = nullptr;

    void changed(int value)
    {
        log->push_back(name * 100 + value);
        if (toRemove) {
            set->remove(toRemove);
        }
        if (toAdd) {
            set->add(toAdd);
        }
    }
};

TEST(ListenerSet, HoldsEachListenerOnce)
{
    std::vector<int> log;
    Listener a{&log, 1};
    Platform::ListenerSet<Listener> set;
    EXPECT_TRUE(set.add(&a));
    EXPECT_FALSE(set.add(&a));
    set.notify(&Listener::changed, 5);
    EXPECT_EQ(log, std::vector<int>{105});
    EXPECT_TRUE(set.remove(&a));
    EXPECT_FALSE(set.remove(&a));
    set.notify(&Listener::changed, 6);
    EXPECT_EQ(log.size(), 1u);
}

TEST(ListenerSet, ListenersMayChangeTheSetWhileNotified)
{
    // Whichever listener runs first removes the other and adds a third: the removed one is
    // not called, the added one waits for the next notification.
    std::vector<int> log;
    Platform::ListenerSet<Listener> set;
    std::vector<Listener> listeners{{&log, 1, &set}, {&log, 2, &set}, {&log, 3, &set}};
    Listener* first = std::min(&listeners[0], &listeners[1]);
    Listener* second = std::max(&listeners[0], &listeners[1]);
    first->toRemove = second;
    first->toAdd = &listeners[2];
    set.add(&listeners[0]);
    set.add(&listeners[1]);
    set.notify(&Listener::changed, 1);
    EXPECT_EQ(log, std::vector<int>{first->name * 100 + 1});
    first->toAdd = nullptr;
    set.notify(&Listener::changed, 2);
    EXPECT_EQ(log.size(), 3u);
    EXPECT_TRUE(set.contains(&listeners[2]));
}

TEST(ListenerSet, ManyListenersUseTheHeapSnapshot)
{
    std::vector<int> log;
    Platform::ListenerSet<Listener> set;
    std::vector<Listener> listeners;
    for (int i = 0; i < 40; ++i) {
        listeners.push_back({&log, i, &set});
    }
    for (auto& l : listeners) {
        set.add(&l);
    }
    // The first listener called removes every other listener.
    Listener* firstCalled = *set.begin();
    for (auto& l : listeners) {
        if (&l != firstCalled) {
            set.add(&l);
        }
    }
    struct Remover {
        Platform::ListenerSet<Listener>* set;
        std::vector<Listener>* all;
    };
    set.forEach([&](Listener* l) {
        log.push_back(l->name);
        if (l == firstCalled) {
            for (auto& other : listeners) {
                if (&other != firstCalled) {
                    set.remove(&other);
                }
            }
        }
    });
    EXPECT_EQ(log, std::vector<int>{firstCalled->name});
}

}  // namespace
