#include "Project/CueFireCheck.h"

#include <cmath>

#include "Timecode/SMPTE.h"

namespace Project::CueFireCheck {

namespace {

bool inRange(int value, int max)
{
    return value >= 0 && value <= max;
}

}  // namespace

Problem commandProblem(const CueCommand& command)
{
    switch (command.getType()) {
        case CueCommand::TYPE_PYRO:
            // An address above 0xFFF used to go out as module 256 and up, or from 0x100000 on
            // wrapped into module 0.
            if (command.getAddress() == CueCommand::kNoAddress) {
                return NO_COMMAND;
            }
            return inRange(command.getAddress(), kMaxPyroAddress) ? FIREABLE : ADDRESS_OUT_OF_RANGE;
        case CueCommand::TYPE_DMX512:
            if (command.getAddress() == CueCommand::kNoAddress) {
                // The DMX text alone used to compile as universe 127, channel 512, full.
                return command.getDmxText().empty() ? NO_COMMAND : NO_CHANNEL;
            }
            if (!inRange(command.getAddress(), kMaxDmxChannel)) {
                return ADDRESS_OUT_OF_RANGE;
            }
            if (!inRange(command.getUniverse(), kMaxDmxUniverse)) {
                return UNIVERSE_OUT_OF_RANGE;
            }
            return inRange(command.getValue(), kMaxDmxValue) ? FIREABLE : VALUE_OUT_OF_RANGE;
        default:
            // A reminder fires nothing; it counts as undefined unless it has an address or text.
            return command.isDefined() ? FIREABLE : NO_COMMAND;
    }
}

Problem cueProblem(const Cue& cue)
{
    // A negative prefire would hold the firing command back past the cue's timecode.
    if (cue.getPrefireTime() < 0) {
        return NEGATIVE_PREFIRE;
    }
    const int64_t moment = cue.getFireMoment();
    if (moment < 0) {
        return FIRES_BEFORE_ZERO;
    }
    const int format = cue.getTimecode().getFormat();
    const int64_t day = SMPTE::framesPerDay(format);
    if (moment >= day || cue.getTimecode().getFrameNo() >= day) {
        return FIRES_AFTER_DAY;
    }
    const double milliseconds =
        std::trunc(cue.getPrefireTime() * 1000.0 / SMPTE::framesPerSecond(format) + 0.5);
    if (milliseconds > static_cast<double>(kMaxPrefireMilliseconds)) {
        return PREFIRE_TOO_LONG;
    }
    return commandProblem(cue.getCommand());
}

const wchar_t* problemKey(Problem problem)
{
    switch (problem) {
        case FIRES_BEFORE_ZERO: return L"CHECK.FIRES_BEFORE_ZERO";
        case NO_COMMAND: return L"CHECK.NO_COMMAND";
        case ADDRESS_OUT_OF_RANGE: return L"CHECK.ADDRESS_OUT_OF_RANGE";
        case NO_CHANNEL: return L"CHECK.NO_CHANNEL";
        case VALUE_OUT_OF_RANGE: return L"CHECK.VALUE_OUT_OF_RANGE";
        case UNIVERSE_OUT_OF_RANGE: return L"CHECK.UNIVERSE_OUT_OF_RANGE";
        case NEGATIVE_PREFIRE: return L"CHECK.NEGATIVE_PREFIRE";
        case FIRES_AFTER_DAY: return L"CHECK.FIRES_AFTER_DAY";
        case PREFIRE_TOO_LONG: return L"CHECK.PREFIRE_TOO_LONG";
        default: return nullptr;
    }
}

const char* problemName(Problem problem)
{
    switch (problem) {
        case FIRES_BEFORE_ZERO: return "fires-before-zero";
        case NO_COMMAND: return "no-command";
        case ADDRESS_OUT_OF_RANGE: return "address-out-of-range";
        case NO_CHANNEL: return "no-channel";
        case VALUE_OUT_OF_RANGE: return "value-out-of-range";
        case UNIVERSE_OUT_OF_RANGE: return "universe-out-of-range";
        case NEGATIVE_PREFIRE: return "negative-prefire";
        case FIRES_AFTER_DAY: return "fires-after-day";
        case PREFIRE_TOO_LONG: return "prefire-too-long";
        default: return nullptr;
    }
}

}  // namespace Project::CueFireCheck
