#include "Project/CueFireCheck.h"

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
            if (!inRange(command.getAddress(), kMaxDmxChannel) ||
                !inRange(command.getUniverse(), kMaxDmxUniverse)) {
                return ADDRESS_OUT_OF_RANGE;
            }
            return inRange(command.getValue(), kMaxDmxValue) ? FIREABLE : VALUE_OUT_OF_RANGE;
        default:
            // A reminder fires nothing; it counts as undefined unless it has an address or text.
            return command.isDefined() ? FIREABLE : NO_COMMAND;
    }
}

Problem cueProblem(const Cue& cue)
{
    if (cue.getTimecode().getFrameNo() - cue.getPrefireTime() < 0) {
        return FIRES_BEFORE_ZERO;
    }
    return commandProblem(cue.getCommand());
}

}  // namespace Project::CueFireCheck
