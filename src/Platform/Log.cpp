#include "Platform/Log.h"

#include <cstdio>
#include <utility>

#include "Platform/Utf.h"

namespace Platform {

namespace {

LogSink& currentSink()
{
    static LogSink sink;
    return sink;
}

}  // namespace

void logLine(const std::wstring& line)
{
    if (const LogSink& sink = currentSink()) {
        sink(line);
        return;
    }
    const std::string text = toUtf8(line) + "\n";
    // Nothing sensible is left to report a failing standard error to.
    (void)std::fwrite(text.data(), 1, text.size(), stderr);
    (void)std::fflush(stderr);
}

LogSink setLogSink(LogSink sink)
{
    return std::exchange(currentSink(), std::move(sink));
}

}  // namespace Platform
