#pragma once

#include <memory>
#include <string>

#include "Config/KeyFile.h"
#include "Config/RecentFiles.h"

namespace Config {

// The program's settings and the texts of its language. Created first at start-up and
// destroyed last; everything else reaches it through getInstance(). Main thread only.
//
// Settings come from "config.ini" in the user folder, or, when there is none, from
// "defaults.ini" in the program folder, which is then written to "config.ini" at once. The
// texts come from "locale/" + the setting "locale" (or "en-us") + ".ini" in the program
// folder. A changed "locale" takes effect at the next start.
class Settings {
public:
    // Loads from the given folders (each ending in "/"); for tests and tools.
    Settings(std::wstring programFolder, std::wstring userFolder);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The process-wide object, loaded from Platform::programFolder() and
    // Platform::userDataFolder(), or from the given folders. Creating a second is a
    // programming error.
    static Settings& create();
    static Settings& create(std::wstring programFolder, std::wstring userFolder);
    // Writes "config.ini" when a setting changed, then releases the object. Nothing happens
    // when there is none.
    static void destroy();
    // Null before create() and after destroy().
    static Settings* getInstance();

    // The value read as a decimal integer: leading blanks and a sign are allowed, digits
    // after the number are ignored ("12abc" is 12), a value beyond the range of int is
    // clamped. -1 when the key is absent or the value does not start with a number.
    int getInt(const std::wstring& key) const;
    std::wstring getString(const std::wstring& key, const std::wstring& defaultValue) const;
    // Stores the value, creating the key, and marks the settings modified.
    void setString(const std::wstring& key, const std::wstring& value);

    // The text of a localization key. A key without a text logs a warning on every lookup
    // and comes back unchanged, so the user sees the key.
    std::wstring translate(const std::wstring& key) const;

    const std::wstring& getProgramFolder() const { return programFolder_; }
    const std::wstring& getUserFolder() const { return userFolder_; }
    RecentFiles& getRecentFiles() { return *recentFiles_; }

    bool isModified() const { return modified_; }
    // Writes "config.ini" in the user folder now. On success the settings count as
    // unmodified; on failure they stay modified and the old file is untouched.
    bool save();

private:
    std::wstring settingsPath() const;

    KeyMap values_;
    KeyMap texts_;
    bool modified_ = false;
    std::wstring programFolder_;
    std::wstring userFolder_;
    std::unique_ptr<RecentFiles> recentFiles_;
};

// The text of a localization key when the settings exist, else the key itself: the way every
// caller shows a text, since the settings may be gone during start-up and shutdown.
std::wstring tr(const std::wstring& key);

}  // namespace Config
