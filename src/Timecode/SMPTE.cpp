#include "Timecode/SMPTE.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

#include "Platform/Assert.h"

namespace {
constexpr const char* kUnit = "SMPTE";
constexpr int kFramesPerTenMinutesDF = 17982;  // 10 minutes of 29.97 labels
constexpr int kFramesPerMinuteDF = 1798;       // a minute that drops two labels
}  // namespace

SMPTE::SMPTE(int format) : format_(format) {}

SMPTE::SMPTE(int format, int hours, int minutes, int seconds, int frames) : format_(format)
{
    setTime(hours, minutes, seconds, frames);
}

SMPTE SMPTE::fromFrameNo(int format, int frameNo)
{
    SMPTE label(format);
    label.setFrameNo(frameNo);
    return label;
}

int SMPTE::nominalFramesPerSecond(int format)
{
    switch (format) {
        case SMPTE_24: return 24;
        case SMPTE_25: return 25;
        default: return 30;
    }
}

double SMPTE::framesPerSecond(int format)
{
    switch (format) {
        case SMPTE_24: return 24.0;
        case SMPTE_25: return 25.0;
        case SMPTE_30DF: return 29.97;
        default: return 30.0;
    }
}

int SMPTE::framesPerDay(int format)
{
    return SMPTE(format, 23, 59, 59, nominalFramesPerSecond(format) - 1).getFrameNo() + 1;
}

bool SMPTE::framesInRange(int frames, int format)
{
    return frames >= 0 && (frames < 30) && (frames < 24 || format != SMPTE_24) &&
           (frames < 25 || format != SMPTE_25);
}

void SMPTE::setHours(int newHours)
{
    SKY_ASSERT(newHours >= 0, kUnit);
    SKY_ASSERT(newHours < 24, kUnit);
    hours_ = newHours;
}

void SMPTE::setMinutes(int newMinutes)
{
    SKY_ASSERT(newMinutes >= 0, kUnit);
    SKY_ASSERT(newMinutes < 60, kUnit);
    minutes_ = newMinutes;
}

void SMPTE::setSeconds(int newSeconds)
{
    SKY_ASSERT(newSeconds >= 0, kUnit);
    SKY_ASSERT(newSeconds < 60, kUnit);
    seconds_ = newSeconds;
}

void SMPTE::setFrames(int newFrames)
{
    SKY_ASSERT(newFrames >= 0, kUnit);
    SKY_ASSERT((newFrames < 30) && (newFrames < 24 || format_ != SMPTE_24) &&
                   (newFrames < 25 || format_ != SMPTE_25),
               kUnit);
    frames_ = newFrames;
}

void SMPTE::setTime(int newHours, int newMinutes, int newSeconds, int newFrames)
{
    SKY_ASSERT(newHours >= 0, kUnit);
    SKY_ASSERT(newHours < 24, kUnit);
    SKY_ASSERT(newMinutes >= 0, kUnit);
    SKY_ASSERT(newMinutes < 60, kUnit);
    SKY_ASSERT(newSeconds >= 0, kUnit);
    SKY_ASSERT(newSeconds < 60, kUnit);
    SKY_ASSERT(newFrames >= 0, kUnit);
    SKY_ASSERT((newFrames < 30) && (newFrames < 24 || format_ != SMPTE_24) &&
                   (newFrames < 25 || format_ != SMPTE_25),
               kUnit);
    hours_ = newHours;
    minutes_ = newMinutes;
    seconds_ = newSeconds;
    frames_ = newFrames;
}

void SMPTE::setFrameNo(int frameNo)
{
    SKY_ASSERT(frameNo >= 0, kUnit);
    // 64-bit: the drop-frame correction may push a count near INT_MAX past it.
    int64_t labels = frameNo;
    if (format_ == SMPTE_30DF) {
        const int64_t d = frameNo / kFramesPerTenMinutesDF;
        const int64_t m = frameNo % kFramesPerTenMinutesDF;
        labels += 18 * d;
        if (m >= 2) {
            labels += 2 * ((m - 2) / kFramesPerMinuteDF);
        }
    }
    const int64_t f = nominalFramesPerSecond(format_);
    const int64_t s = labels / f;
    frames_ = static_cast<int32_t>(labels - s * f);
    seconds_ = static_cast<int32_t>(s % 60);
    minutes_ = static_cast<int32_t>((s / 60) % 60);
    hours_ = static_cast<int32_t>(s / 3600);
}

int SMPTE::getFrameNo() const
{
    // 64-bit: labels of a frame count near INT_MAX count more labels than frames.
    const int64_t f = nominalFramesPerSecond(format_);
    int64_t n = ((int64_t{hours_} * 60 + minutes_) * 60 + seconds_) * f + frames_;
    if (format_ == SMPTE_30DF) {
        n -= int64_t{hours_} * 108 + (minutes_ / 10) * 18 + (minutes_ % 10) * 2;
    }
    return static_cast<int>(n);
}

void SMPTE::setMilliseconds(double ms)
{
    setFrameNo(static_cast<int>(std::trunc(ms / 1000.0 * getFramesPerSecond() + 0.5)));
}

double SMPTE::getMilliseconds() const
{
    return getFrameNo() * 1000.0 / getFramesPerSecond();
}

void SMPTE::setBCD(uint32_t bcd)
{
    const int h = bcdToInt(static_cast<int>((bcd >> 24) & 0x3F));
    const int m = bcdToInt(static_cast<int>((bcd >> 16) & 0x7F));
    const int s = bcdToInt(static_cast<int>((bcd >> 8) & 0x7F));
    const int f = bcdToInt(static_cast<int>(bcd & 0x3F));
    setHours(h);
    setMinutes(m);
    setSeconds(s);
    setFrames(f);
}

bool SMPTE::isValidBCD(uint32_t bcd, int format)
{
    const int h = bcdToInt(static_cast<int>((bcd >> 24) & 0x3F));
    const int m = bcdToInt(static_cast<int>((bcd >> 16) & 0x7F));
    const int s = bcdToInt(static_cast<int>((bcd >> 8) & 0x7F));
    const int f = bcdToInt(static_cast<int>(bcd & 0x3F));
    return h < 24 && m < 60 && s < 60 && framesInRange(f, format);
}

uint32_t SMPTE::getBCD() const
{
    uint32_t word = static_cast<uint32_t>(intToBCD(hours_ % 24)) << 24 |
                    static_cast<uint32_t>(intToBCD(minutes_)) << 16 |
                    static_cast<uint32_t>(intToBCD(seconds_)) << 8 |
                    static_cast<uint32_t>(intToBCD(frames_));
    if (format_ == SMPTE_30DF) {
        word |= kDropFrameFlag;
    }
    return word;
}

std::wstring SMPTE::toString() const
{
    const std::string narrow = toNarrowString();
    return std::wstring(narrow.begin(), narrow.end());
}

std::string SMPTE::toNarrowString() const
{
    const char* pattern = format_ == SMPTE_30DF ? "%02d;%02d;%02d;%02d" : "%02d:%02d:%02d:%02d";
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, pattern, hours_, minutes_, seconds_, frames_);
    return buffer;
}

int SMPTE::compare(const SMPTE& other) const
{
    if (format_ == other.format_) {
        const int32_t mine[] = {hours_, minutes_, seconds_, frames_};
        const int32_t theirs[] = {other.hours_, other.minutes_, other.seconds_, other.frames_};
        for (int i = 0; i < 4; ++i) {
            if (mine[i] != theirs[i]) {
                return mine[i] < theirs[i] ? -1 : 1;
            }
        }
        return 0;
    }
    const double a = getMilliseconds();
    const double b = other.getMilliseconds();
    return a < b ? -1 : (a > b ? 1 : 0);
}

int SMPTE::intToBCD(int i)
{
    SKY_ASSERT(i >= 0, kUnit);
    SKY_ASSERT(i < 100, kUnit);
    return i + (i / 10) * 6;
}

int SMPTE::bcdToInt(int bcd)
{
    SKY_ASSERT(bcd >= 0, kUnit);
    SKY_ASSERT(bcd < 256, kUnit);
    return (bcd & 0x0F) + (bcd / 16) * 10;
}
