#include "Project/Operations/CsvExport.h"

#include <charconv>
#include <cstdio>

#include "Config/Settings.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ReplaceFile.h"

namespace Project {

namespace {

constexpr const wchar_t* kHeaderKeys[] = {
    L"REPORTS.CSV.HEADER.CUENR",       L"REPORTS.CSV.HEADER.TIMECODE",
    L"REPORTS.CSV.HEADER.CUETYPE",     L"REPORTS.CSV.HEADER.TYPE",
    L"REPORTS.CSV.HEADER.PREFIRE",     L"REPORTS.CSV.HEADER.ADDRESS",
    L"REPORTS.CSV.HEADER.VALUE",       L"REPORTS.CSV.HEADER.CALIBERGROUP",
    L"REPORTS.CSV.HEADER.LOCATION",    L"REPORTS.CSV.HEADER.ANGLE",
    L"REPORTS.CSV.HEADER.QTY",         L"REPORTS.CSV.HEADER.DURATIONFRAMES",
    L"REPORTS.CSV.HEADER.DURATIONSEC", L"REPORTS.CSV.HEADER.DESCRIPTION",
    L"REPORTS.CSV.HEADER.ARTNR",       L"REPORTS.CSV.HEADER.PRICE",
};

// The low byte of each UTF-16 unit.
void appendLowBytes(std::string& out, const std::wstring& text)
{
    for (char16_t unit : Platform::toUtf16(text)) {
        out += static_cast<char>(unit & 0xFF);
    }
}

void appendNumber(std::string& out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// A metadata value in quotes; a missing key gives an empty field, or `missing` when given.
void appendQuotedMeta(std::string& out, const Cue& cue, const wchar_t* key,
                      const char* missing = "")
{
    out += '"';
    if (const std::wstring* value = cue.getMetadata().valueOf(key)) {
        appendLowBytes(out, *value);
    } else {
        out += missing;
    }
    out += '"';
}

void appendLine(std::string& out, const Cue& cue, long long number, double rate)
{
    const CueCommand& command = cue.getCommand();
    const int type = command.getType();
    const int address = command.getAddress() < 0 ? 0 : command.getAddress();
    const SMPTE& timecode = cue.getTimecode();
    char text[64];

    appendNumber(out, number);
    out += ',';
    std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", timecode.getHours(),
                  timecode.getMinutes(), timecode.getSeconds(), timecode.getFrames());
    out += text;
    out += ',';
    out += type == CueCommand::TYPE_DMX512     ? "DMX"
           : type == CueCommand::TYPE_REMINDER ? "NOTE"
                                               : "PYRO";
    out += ',';
    appendQuotedMeta(out, cue, L"~TYPE");
    out += ',';
    appendNumber(out, cue.getPrefireTime());
    out += ',';
    if (type == CueCommand::TYPE_PYRO) {
        std::snprintf(text, sizeof text, "%03X", static_cast<unsigned>(address));
        out += text;
    } else if (type == CueCommand::TYPE_DMX512) {
        appendNumber(out, static_cast<long long>(address) + 1);
    }
    out += ',';
    if (type == CueCommand::TYPE_DMX512) {
        const int value = command.getValue();
        appendNumber(out, value < 0 || value > 255 ? 0 : value);
    }
    out += ',';
    appendNumber(out, cue.getGroup());
    out += ',';
    appendQuotedMeta(out, cue, L"~POS");
    out += ',';
    appendQuotedMeta(out, cue, L"~ANGLE");
    out += ',';
    appendNumber(out, cue.getQuantity());
    out += ',';
    appendNumber(out, cue.getDuration());
    out += ',';
    // The short real form: up to six significant digits, no trailing zeros, and a full stop
    // whatever the locale.
    const auto seconds = std::to_chars(text, text + sizeof text, cue.getDuration() / rate,
                                       std::chars_format::general, 6);
    out.append(text, seconds.ptr);
    out += ',';
    if (type == CueCommand::TYPE_REMINDER) {
        out += '"';
        out += cue.getReminderText();
        out += '"';
    } else {
        appendQuotedMeta(out, cue, L"~DESC");
    }
    out += ',';
    appendQuotedMeta(out, cue, L"~ARTNR");
    out += ',';
    appendQuotedMeta(out, cue, L"~PRICE", "0.00");
    out += "\r\n";
}

}  // namespace

CsvExport::Translate CsvExport::defaultTranslate()
{
    return [](const std::wstring& key) { return Config::tr(key); };
}

std::string CsvExport::build(const ProjectData& data, const Translate& translate)
{
    std::string out;
    bool first = true;
    for (const wchar_t* key : kHeaderKeys) {
        if (!first) {
            out += ',';
        }
        first = false;
        appendLowBytes(out, translate(key));
    }
    out += "\r\n";

    const std::vector<const Cue*> cues = orderCues(data.getCueList(), firingMoment);
    out.reserve(out.size() + cues.size() * 96);
    const double rate = SMPTE::framesPerSecond(data.getFormat());
    long long number = 0;
    for (const Cue* cue : cues) {
        appendLine(out, *cue, ++number, rate);
    }
    return out;
}

bool CsvExport::save(const std::wstring& path, const ProjectData& data, const Translate& translate,
                     std::wstring& errorKey)
{
    return replaceFile(path, build(data, translate), errorKey);
}

}  // namespace Project
