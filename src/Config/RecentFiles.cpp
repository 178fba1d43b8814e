#include "Config/RecentFiles.h"

#include "Config/Settings.h"
#include "Platform/Assert.h"

namespace Config {

namespace {
constexpr const char* kUnit = "RecentFiles";
}  // namespace

RecentFiles::RecentFiles(Settings& settings) : settings_(settings) {}

std::wstring RecentFiles::keyOf(int n)
{
    return L"recent." + std::to_wstring(n);
}

std::wstring RecentFiles::getEntry(int n) const
{
    SKY_ASSERT(n >= 0 && n < kMaxEntries, kUnit);
    return settings_.getString(keyOf(n), L"");
}

void RecentFiles::setEntry(int n, const std::wstring& path)
{
    settings_.setString(keyOf(n), path);
}

void RecentFiles::add(const std::wstring& path)
{
    if (path.empty() || path.find_first_of(L"\r\n") != std::wstring::npos) {
        return;
    }
    // n: the place the entries before it move down into, which is the path's old place, the
    // first empty place, or the last place.
    int n = 0;
    for (; n < kMaxEntries - 1; ++n) {
        const std::wstring entry = getEntry(n);
        if (entry.empty()) {
            break;
        }
        if (entry == path) {
            if (n == 0) {
                return;
            }
            break;
        }
    }
    for (int k = n - 1; k >= 0; --k) {
        setEntry(k + 1, getEntry(k));
    }
    setEntry(0, path);
    listeners_.notify(&Listener::onRecentFilesChanged);
}

void RecentFiles::remove(int n)
{
    SKY_ASSERT(n >= 0 && n < kMaxEntries, kUnit);
    // The last entry takes an empty value: "recent.10" and beyond are not part of the list.
    for (int k = n; k < kMaxEntries; ++k) {
        const std::wstring next = k + 1 < kMaxEntries ? getEntry(k + 1) : std::wstring();
        setEntry(k, next);
        if (next.empty()) {
            break;
        }
    }
    listeners_.notify(&Listener::onRecentFilesChanged);
}

}  // namespace Config
