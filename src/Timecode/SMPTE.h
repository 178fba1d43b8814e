#pragma once

#include <cstdint>
#include <string>

// One SMPTE timecode label (hours, minutes, seconds, frames) in one of the four frame-rate
// formats. A plain value type, copied everywhere a point in time is kept.
//
// Labels of 24 hours and more: setFrameNo() does not wrap, so a frame count of a day or
// more gives hours of 24 or more. toString() then prints every hour digit (the text never
// loses digits), and getBCD() keeps the hours modulo 24, since the packed word is a 24-hour
// clock. The text parsers refuse such times, so user input never produces them.
class SMPTE {
public:
    enum Format : int32_t {
        SMPTE_24 = 0,
        SMPTE_25 = 1,
        SMPTE_30DF = 2,  // 29.97 frames per second, drop-frame labels
        SMPTE_30 = 3,
    };

    // The drop-frame flag in the frames byte of the packed word.
    static constexpr uint32_t kDropFrameFlag = 0x40;

    explicit SMPTE(int format = SMPTE_30);
    SMPTE(int format, int hours, int minutes, int seconds, int frames);

    static SMPTE fromFrameNo(int format, int frameNo);

    static bool isValidFormat(int format) { return format >= SMPTE_24 && format <= SMPTE_30; }
    // Nominal label frames per second: 24, 25 or 30 (both 30 formats).
    static int nominalFramesPerSecond(int format);
    // Real rate: 24.0, 25.0, 29.97 or 30.0.
    static double framesPerSecond(int format);
    // The number of frames in 24 hours of the format: the first count the parsers refuse.
    static int framesPerDay(int format);

    int getFormat() const { return format_; }
    int getHours() const { return hours_; }
    int getMinutes() const { return minutes_; }
    int getSeconds() const { return seconds_; }
    int getFrames() const { return frames_; }

    void setHours(int newHours);
    void setMinutes(int newMinutes);
    void setSeconds(int newSeconds);
    void setFrames(int newFrames);
    void setTime(int newHours, int newMinutes, int newSeconds, int newFrames);

    double getFramesPerSecond() const { return framesPerSecond(format_); }

    void setFrameNo(int frameNo);
    int getFrameNo() const;

    void setMilliseconds(double ms);
    double getMilliseconds() const;

    // Packed BCD word: hours, minutes, seconds, frames from the high byte down; the
    // drop-frame flag 0x40 in the frames byte for SMPTE_30DF. Decoding keeps the format.
    void setBCD(uint32_t bcd);
    uint32_t getBCD() const;
    // True when setBCD() of the word would pass every range check in this format; readers
    // of files and devices check words with it before decoding them.
    static bool isValidBCD(uint32_t bcd, int format);

    // "hh:mm:ss:ff", or "hh;mm;ss;ff" for SMPTE_30DF.
    std::wstring toString() const;
    std::string toNarrowString() const;

    // -1, 0 or +1 as this label is earlier than, equal to or later than the other. Labels of
    // the same format compare field by field; of different formats, by milliseconds.
    int compare(const SMPTE& other) const;

    static int intToBCD(int i);
    static int bcdToInt(int bcd);

private:
    static bool framesInRange(int frames, int format);

    int32_t format_;
    int32_t hours_ = 0;
    int32_t minutes_ = 0;
    int32_t seconds_ = 0;
    int32_t frames_ = 0;
};
