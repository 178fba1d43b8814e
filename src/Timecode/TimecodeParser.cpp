#include "Timecode/TimecodeParser.h"

#include <cmath>
#include <cwchar>

#include "Platform/NumberReading.h"
#include "Timecode/SMPTE.h"

namespace {

// A frame count computed from real numbers, refused (-1) when it is not a time of day.
int checkedFrameCount(double frames, int format)
{
    if (!std::isfinite(frames)) {
        return -1;
    }
    const double rounded = std::trunc(frames);
    if (rounded < 0.0 || rounded >= SMPTE::framesPerDay(format)) {
        return -1;
    }
    return static_cast<int>(rounded);
}

// A group that is missing or does not read counts as 0.
double readGroup(const std::wstring& group)
{
    return Platform::readLeadingReal(group).value_or(0.0);
}

}  // namespace

int parseTimecodeStrict(const std::wstring& text, int format)
{
    const std::wstring trimmed = Platform::trimBlanks(text);
    if (trimmed.size() != 11) {
        return -1;
    }
    int h = 0, m = 0, s = 0, f = 0;
    if (std::swscanf(trimmed.c_str(), L"%02d:%02d:%02d:%02d", &h, &m, &s, &f) != 4 &&
        std::swscanf(trimmed.c_str(), L"%02d;%02d;%02d;%02d", &h, &m, &s, &f) != 4) {
        return -1;
    }
    const int frameLimit = static_cast<int>(std::ceil(SMPTE::framesPerSecond(format)));
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || f < 0 || f >= frameLimit) {
        return -1;
    }
    return SMPTE(format, h, m, s, f).getFrameNo();
}

int parseTimecode(const std::wstring& text, int format)
{
    const int strict = parseTimecodeStrict(text, format);
    if (strict >= 0) {
        return strict;
    }
    std::wstring digits;
    for (wchar_t c : Platform::trimBlanks(text)) {
        if (c != L':') {
            digits += c;
        }
    }
    const std::size_t length = digits.size();
    if (length == 0 || length > 8) {
        return 0;
    }
    // Groups from the left: the first takes what the two-digit groups after it leave.
    const std::size_t groups = (length + 1) / 2;  // 1..4: frames, seconds, minutes, hours
    const std::size_t leading = length - 2 * (groups - 1);
    double values[4] = {0.0, 0.0, 0.0, 0.0};  // hours, minutes, seconds, frames
    std::size_t position = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t size = g == 0 ? leading : 2;
        values[4 - groups + g] = readGroup(digits.substr(position, size));
        position += size;
    }
    const double r = SMPTE::framesPerSecond(format);
    return checkedFrameCount(
        values[0] * 3600 * r + values[1] * 60 * r + values[2] * r + values[3] + 0.5, format);
}

int parseTimecodeOrTenths(const std::wstring& text, int format)
{
    const int strict = parseTimecodeStrict(text, format);
    if (strict >= 0) {
        return strict;
    }
    const std::optional<double> tenths = Platform::readLeadingReal(Platform::trimBlanks(text));
    if (!tenths || *tenths < 0.0 || *tenths > 1300.0) {
        return -1;
    }
    return checkedFrameCount(SMPTE::framesPerSecond(format) * (*tenths / 10.0) + 0.5, format);
}
