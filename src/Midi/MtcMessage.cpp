#include "Midi/MtcMessage.h"

#include "Platform/Assert.h"

namespace Midi::MtcMessage {

namespace {

constexpr const char* kUnit = "MtcMessage";

// Hours on the 24-hour clock of time code; a label past a day (setFrameNo does not wrap)
// would otherwise spill into the rate bits.
int clockHours(const SMPTE& time)
{
    return time.getHours() % 24;
}

}  // namespace

int rateCode(int format)
{
    SKY_ASSERT(SMPTE::isValidFormat(format), kUnit);
    return format;
}

std::uint8_t quarterFramePiece(const SMPTE& time, int piece)
{
    SKY_ASSERT(piece >= 0 && piece < 8, kUnit);
    const int hours = clockHours(time);
    int value = 0;
    switch (piece) {
        case 0: value = time.getFrames() & 0x0F; break;
        case 1: value = (time.getFrames() >> 4) & 0x0F; break;
        case 2: value = time.getSeconds() & 0x0F; break;
        case 3: value = (time.getSeconds() >> 4) & 0x0F; break;
        case 4: value = time.getMinutes() & 0x0F; break;
        case 5: value = (time.getMinutes() >> 4) & 0x0F; break;
        case 6: value = hours & 0x0F; break;
        default: value = rateCode(time.getFormat()) << 1 | ((hours >> 4) & 1); break;
    }
    return static_cast<std::uint8_t>(piece << 4 | value);
}

QuarterFrame quarterFrame(const SMPTE& time, int piece)
{
    return {kQuarterFrame, quarterFramePiece(time, piece)};
}

FullFrame fullFrame(const SMPTE& time)
{
    const int hoursByte = (rateCode(time.getFormat()) << 5 | clockHours(time)) & 0x7F;
    return {kSysExStart,
            0x7F,
            0x7F,
            0x01,
            0x01,
            static_cast<std::uint8_t>(hoursByte),
            static_cast<std::uint8_t>(time.getMinutes()),
            static_cast<std::uint8_t>(time.getSeconds()),
            static_cast<std::uint8_t>(time.getFrames()),
            kSysExEnd};
}

UserBits userBits()
{
    return {kSysExStart, 0x7F, 0x7F, 0x01, 0x02, 0x00, 0x00,
            0x00,        0x00, 0x00, 0x00, 0x02, 0x00, kSysExEnd};
}

bool ReceivedTime::isPossible() const
{
    if (!SMPTE::isValidFormat(rate)) {
        return false;
    }
    return hours >= 0 && hours < 24 && minutes >= 0 && minutes < 60 && seconds >= 0 &&
           seconds < 60 && frames >= 0 && frames < SMPTE::nominalFramesPerSecond(rate);
}

}  // namespace Midi::MtcMessage
