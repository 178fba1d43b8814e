#pragma once

#include <string>

#include "Platform/ListenerSet.h"

namespace Config {

class Settings;

// The last opened or saved project files, most recent first. The list keeps nothing of its
// own: entry n is the setting "recent." + n, so it is saved with the settings. The list ends
// at the first absent or empty entry. Owned by the settings object.
class RecentFiles {
public:
    static constexpr int kMaxEntries = 10;

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void onRecentFilesChanged() {}
    };

    explicit RecentFiles(Settings& settings);
    RecentFiles(const RecentFiles&) = delete;
    RecentFiles& operator=(const RecentFiles&) = delete;

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    // Entry n (0 to 9), empty when absent; nothing is created.
    std::wstring getEntry(int n) const;

    // Moves `path` to the front: the entries before its old place (or before the first
    // empty one) move down by one, and an entry pushed past the last is dropped. Adding the
    // front entry again changes nothing and notifies nobody. An empty path, or one with a
    // line break that the settings file cannot keep, is not added.
    void add(const std::wstring& path);

    // Removes entry n (0 to 9): the later entries move up by one.
    void remove(int n);

private:
    static std::wstring keyOf(int n);
    void setEntry(int n, const std::wstring& path);

    Settings& settings_;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace Config
