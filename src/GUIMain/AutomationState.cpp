#include "GUIMain/AutomationState.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace GUIMain {

namespace {
struct Registrations {
    std::vector<std::pair<const void*, StateProvider>> states;
    const void* rowsOwner = nullptr;
    RowsProvider rows;
};

Registrations& registrations()
{
    static Registrations instance;
    return instance;
}
}  // namespace

void addStateProvider(const void* owner, StateProvider provider)
{
    removeStateProvider(owner);
    registrations().states.emplace_back(owner, std::move(provider));
}

void removeStateProvider(const void* owner)
{
    auto& states = registrations().states;
    states.erase(std::remove_if(states.begin(), states.end(),
                                [owner](const auto& entry) { return entry.first == owner; }),
                 states.end());
}

void collectState(nlohmann::json& state)
{
    // A copy: a provider may register or remove providers while it runs.
    const auto states = registrations().states;
    for (const auto& entry : states) {
        entry.second(state);
    }
}

void setRowsProvider(const void* owner, RowsProvider provider)
{
    registrations().rowsOwner = owner;
    registrations().rows = std::move(provider);
}

void clearRowsProvider(const void* owner)
{
    if (registrations().rowsOwner == owner) {
        registrations().rowsOwner = nullptr;
        registrations().rows = nullptr;
    }
}

nlohmann::json collectRows(int first, int count)
{
    if (!registrations().rows) {
        return nullptr;
    }
    return registrations().rows(first, count);
}

}  // namespace GUIMain
