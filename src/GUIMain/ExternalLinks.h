#pragma once

#include <QUrl>
#include <functional>

namespace GUIMain {

// The online manual (command 20) and the maker's web site (command 21).
inline constexpr const char* kManualAddress = "https://skyfirewright.org/manual/";
inline constexpr const char* kWebsiteAddress = "https://skyfirewright.org/";

// Opens a web address or a file with the desktop's program for it.
void openExternal(const QUrl& url);
// Replaces what openExternal does (scripts and tests record the address instead of starting
// a browser); returns the previous handler. An empty handler restores the desktop's.
using ExternalOpener = std::function<void(const QUrl& url)>;
ExternalOpener setExternalOpener(ExternalOpener opener);

}  // namespace GUIMain
