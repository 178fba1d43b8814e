#pragma once

#include <functional>
#include <nlohmann/json.hpp>

namespace GUIMain {

// What the panels add to the automation's `state` line and `rows` answer. A panel registers
// a provider while it exists, keyed by itself, and removes it when it goes; the providers
// are called in registration order, each adding its own keys to the state object.
using StateProvider = std::function<void(nlohmann::json& state)>;
void addStateProvider(const void* owner, StateProvider provider);
void removeStateProvider(const void* owner);
// Every provider's keys added to `state`.
void collectState(nlohmann::json& state);

// The cue list as the user sees it: rows FIRST to FIRST + COUNT - 1 (COUNT < 0: to the
// end). A JSON array is printed one element a line (a head line, then one line a row). Set
// by the cue list view.
using RowsProvider = std::function<nlohmann::json(int first, int count)>;
void setRowsProvider(const void* owner, RowsProvider provider);
void clearRowsProvider(const void* owner);
// Null json when no view provides rows.
nlohmann::json collectRows(int first, int count);

}  // namespace GUIMain
