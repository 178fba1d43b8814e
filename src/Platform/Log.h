#pragma once

#include <functional>
#include <string>

// The program keeps no log file. Diagnostic lines (a missing localization key, a settings
// file that could not be written) go to one sink: by default standard error as UTF-8, never
// standard output, which the command-line program keeps for its results.
namespace Platform {

using LogSink = std::function<void(const std::wstring& line)>;

// Writes one line; the sink adds the line end.
void logLine(const std::wstring& line);

// Installs a sink and returns the previous one; an empty sink restores standard error.
LogSink setLogSink(LogSink sink);

}  // namespace Platform
