#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "Project/Fixture.h"
#include "Project/FixtureList.h"

// Test support: a fixture list listener (and so a fixture listener) that records every
// notification with its argument, so tests can compare whole sequences.
namespace Project {

struct FixtureEvent {
    std::string what;
    const void* subject = nullptr;  // the argument, or null for the notifications without one

    bool operator==(const FixtureEvent&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const FixtureEvent& e)
    {
        return out << e.what << '(' << e.subject << ')';
    }
};

class FixtureEventLog : public FixtureList::Listener {
public:
    std::vector<FixtureEvent> events;

    void safetyChanged(DmxChannelValue* v) override { add("safety", v); }
    void slowSafetyChanged(DmxChannelValue* v) override { add("slowSafety", v); }
    void dynamicChanged(DmxChannelValue* v) override { add("dynamic", v); }
    void channelChanged(DmxChannelValue* v) override { add("channel", v); }
    void valueChanged(DmxChannelValue* v) override { add("value", v); }
    void selectedChanged(DmxChannelValue* v) override { add("channelSelected", v); }
    void extraChanged(DmxChannelValue* v) override { add("extra", v); }
    void manufacturerChanged(Fixture* f) override { add("manufacturer", f); }
    void durationChanged(Fixture* f) override { add("duration", f); }
    void commentsChanged(Fixture* f) override { add("comments", f); }
    void channelCountChanged(Fixture* f) override { add("channelCount", f); }
    void productNameChanged(Fixture* f) override { add("productName", f); }
    void descriptionChanged(Fixture* f) override { add("description", f); }
    void fixtureSelectedChanged(Fixture* f) override { add("fixtureSelected", f); }
    void channelAdded(Fixture::ChannelItem* c) override { add("channelAdded", c); }
    void channelRemoved(Fixture::ChannelItem* c) override { add("channelRemoved", c); }
    void channelsCleared() override { add("channelsCleared", static_cast<const void*>(nullptr)); }
    void fixtureAdded(FixtureList::FixtureItem* i) override { add("fixtureAdded", i); }
    void fixtureRemoved(FixtureList::FixtureItem* i) override { add("fixtureRemoved", i); }
    void listCleared() override { add("listCleared", static_cast<const void*>(nullptr)); }

private:
    // Channel items are recorded as their DmxChannelValue base, whatever notified them, so
    // one pointer stands for one channel in every event.
    void add(const char* what, const DmxChannelValue* v) { events.push_back({what, v}); }
    void add(const char* what, const void* subject) { events.push_back({what, subject}); }
};

// Replaces the fixtures' clock while in scope; `now` is the time it answers.
class ManualFixtureClock {
public:
    int64_t now = 0;

    ManualFixtureClock() : previous_(Fixture::setClock([this] { return now; })) {}
    ~ManualFixtureClock() { Fixture::setClock(previous_); }
    ManualFixtureClock(const ManualFixtureClock&) = delete;
    ManualFixtureClock& operator=(const ManualFixtureClock&) = delete;

private:
    Fixture::Clock previous_;
};

}  // namespace Project
