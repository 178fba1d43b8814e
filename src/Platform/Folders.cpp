#include "Platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "Platform/Utf.h"

namespace fs = std::filesystem;

namespace Platform {

namespace {

// The installed data folder: SKYFIREWRIGHT_DATA_DIR when the build names one, else
// share/skyfirewright beside the executable's bin folder, so that an installed tree can be
// moved as a whole.
fs::path installedDataFolder(const fs::path& executableFolder)
{
#ifdef SKYFIREWRIGHT_DATA_DIR
    (void)executableFolder;
    return fs::path(SKYFIREWRIGHT_DATA_DIR);
#else
    return (executableFolder / ".." / "share" / "skyfirewright").lexically_normal();
#endif
}

std::wstring withSlash(std::wstring path)
{
    if (path.empty() || path.back() != L'/') {
        path += L'/';
    }
    return path;
}

std::wstring withoutSlash(std::wstring path)
{
    while (path.size() > 1 && path.back() == L'/') {
        path.pop_back();
    }
    return path;
}

std::wstring environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? fromUtf8(value) : std::wstring();
}

std::wstring homeFolder()
{
    std::wstring home = environment("HOME");
    if (!home.empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir) {
        return fromUtf8(result->pw_dir);
    }
    return {};
}

bool isFolder(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

}  // namespace

bool createFolders(const std::wstring& path)
{
    const fs::path folder(toUtf8(path));
    std::error_code ec;
    fs::create_directories(folder, ec);
    return isFolder(folder);
}

std::wstring userDataFolder()
{
    std::wstring base = environment("appdata");
    if (base.empty()) {
        base = environment("XDG_CONFIG_HOME");
        // A relative XDG_CONFIG_HOME is invalid and must be ignored.
        if (base.empty() || base.front() != L'/') {
            const std::wstring home = homeFolder();
            base = home.empty() ? std::wstring() : withoutSlash(home) + L"/.config";
        }
    }
    if (base.empty()) {
        // Nowhere per-user to go: keep the settings beside the program's own files.
        return programFolder();
    }
    const std::wstring folder = withoutSlash(base) + L"/Skyfirewright";
    createFolders(folder);
    return withSlash(folder);
}

std::wstring programFolderFor(const std::wstring& executable)
{
    const fs::path executableFolder = fs::path(toUtf8(executable)).parent_path();
    for (fs::path folder = executableFolder; !folder.empty(); folder = folder.parent_path()) {
        if (isFolder(folder / "locale")) {
            return withSlash(fromUtf8(folder.string()));
        }
        if (folder == folder.parent_path()) {
            break;
        }
    }
    return withSlash(fromUtf8(installedDataFolder(executableFolder).string()));
}

std::wstring programFolder()
{
    std::error_code ec;
    fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        // Without /proc: treat the current folder as the executable's.
        executable = fs::current_path(ec) / "program";
    }
    return programFolderFor(fromUtf8(executable.string()));
}

}  // namespace Platform
