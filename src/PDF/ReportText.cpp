#include "PDF/ReportText.h"

#include <charconv>
#include <cstdio>

#include "Config/Settings.h"
#include "PDF/WinAnsiText.h"

namespace PDF {

Translate ReportText::defaultTranslate()
{
    return [](const std::wstring& key) { return Config::tr(key); };
}

std::wstring ReportText::meta(const Project::Cue& cue, const wchar_t* key)
{
    const std::wstring* value = cue.getMetadata().valueOf(key);
    return value ? *value : std::wstring();
}

std::string ReportText::metaText(const Project::Cue& cue, const wchar_t* key)
{
    return toWinAnsi(meta(cue, key));
}

std::string ReportText::articleText(const Project::Cue& cue)
{
    std::string text;
    for (const wchar_t* key : {L"~DESC", L"~TYPE", L"~ARTNR"}) {
        const std::string part = metaText(cue, key);
        if (!part.empty()) {
            text += text.empty() ? part : " - " + part;
        }
    }
    return text;
}

std::string ReportText::fixed2(double value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc()) {
        return "?";
    }
    std::string text(buffer, result.ptr);
    // -0.00 reads as a fault on paper.
    return text == "-0.00" ? "0.00" : text;
}

std::string ReportText::addressText(int address)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02X-%X", static_cast<unsigned>(address / 16),
                  static_cast<unsigned>(address % 16));
    return buffer;
}

std::string ReportText::moduleText(int module)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(module));
    return buffer;
}

}  // namespace PDF
