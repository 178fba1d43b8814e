#include "Config/Settings.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include "Platform/Assert.h"
#include "Platform/Folders.h"
#include "Platform/Log.h"
#include "Platform/Utf.h"

namespace Config {

namespace {

constexpr const char* kUnit = "Settings";

Settings* theInstance = nullptr;

bool nothingAt(const std::wstring& path)
{
    std::error_code ec;
    return !std::filesystem::exists(std::filesystem::symlink_status(Platform::toUtf8(path), ec));
}

}  // namespace

Settings::Settings(std::wstring programFolder, std::wstring userFolder)
    : programFolder_(std::move(programFolder)),
      userFolder_(std::move(userFolder)),
      recentFiles_(std::make_unique<RecentFiles>(*this))
{
    SKY_ASSERT(!programFolder_.empty() && programFolder_.back() == L'/', kUnit);
    SKY_ASSERT(!userFolder_.empty() && userFolder_.back() == L'/', kUnit);

    const std::wstring settingsFile = settingsPath();
    if (!KeyFile::read(settingsFile, values_)) {
        KeyFile::read(programFolder_ + L"defaults.ini", values_);
        // Only a missing settings file is replaced by the defaults: one that exists but
        // cannot be read is still the user's and stays as it is.
        if (nothingAt(settingsFile) && !KeyFile::write(settingsFile, values_)) {
            Platform::logLine(L"Settings could not be written to " + settingsFile + L".");
        }
    }
    KeyFile::read(programFolder_ + L"locale/" + getString(L"locale", L"en-us") + L".ini", texts_);
    modified_ = false;
}

Settings::~Settings() = default;

Settings& Settings::create()
{
    return create(Platform::programFolder(), Platform::userDataFolder());
}

Settings& Settings::create(std::wstring programFolder, std::wstring userFolder)
{
    SKY_ASSERT(theInstance == nullptr, kUnit);
    theInstance = new Settings(std::move(programFolder), std::move(userFolder));
    return *theInstance;
}

void Settings::destroy()
{
    if (theInstance == nullptr) {
        return;
    }
    if (theInstance->isModified()) {
        theInstance->save();
    }
    delete std::exchange(theInstance, nullptr);
}

Settings* Settings::getInstance()
{
    return theInstance;
}

int Settings::getInt(const std::wstring& key) const
{
    const auto it = values_.find(key);
    if (it == values_.end()) {
        return -1;
    }
    const std::wstring& text = it->second;
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size() || text[i] < L'0' || text[i] > L'9') {
        return -1;
    }
    long long number = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        number = std::min<long long>(number * 10 + (text[i] - L'0'), 1LL + INT_MAX);
    }
    number = negative ? -number : number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

std::wstring Settings::getString(const std::wstring& key, const std::wstring& defaultValue) const
{
    const auto it = values_.find(key);
    return it == values_.end() ? defaultValue : it->second;
}

void Settings::setString(const std::wstring& key, const std::wstring& value)
{
    values_[key] = value;
    modified_ = true;
}

std::wstring Settings::translate(const std::wstring& key) const
{
    const auto it = texts_.find(key);
    if (it != texts_.end()) {
        return it->second;
    }
    Platform::logLine(L"Localization warning: key " + key + L" was requested but not found.");
    return key;
}

bool Settings::save()
{
    const std::wstring path = settingsPath();
    if (!KeyFile::write(path, values_)) {
        Platform::logLine(L"Settings could not be written to " + path + L".");
        return false;
    }
    modified_ = false;
    return true;
}

std::wstring Settings::settingsPath() const
{
    return userFolder_ + L"config.ini";
}

std::wstring tr(const std::wstring& key)
{
    const Settings* settings = Settings::getInstance();
    return settings ? settings->translate(key) : key;
}

}  // namespace Config
