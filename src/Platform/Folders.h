#pragma once

#include <string>

// The two folders the program works from. Paths are wide strings in the program and UTF-8
// for the operating system; both folders are returned ending in "/".
namespace Platform {

// The per-user data folder (settings, libraries): $appdata/Skyfirewright when "appdata" is
// set, else $XDG_CONFIG_HOME/Skyfirewright, else $HOME/.config/Skyfirewright. Created with
// its parents when missing; when it cannot be created it is still returned, and writes into
// it fail later as writes do.
std::wstring userDataFolder();

// The folder of the program's own data files (locale/, defaults.ini, images/).
std::wstring programFolder();

// programFolder() for an executable at `executable` (an absolute path): the executable's
// folder when it holds a "locale" folder, else the nearest parent folder that does (a build
// tree keeps the executable below the source tree), else the installed data folder.
std::wstring programFolderFor(const std::wstring& executable);

// Creates the folder and its missing parents; true when it exists afterwards.
bool createFolders(const std::wstring& path);

}  // namespace Platform
