#include "Project/Operations/CueValueLimits.h"

#include <cstdint>

#include "Project/CueCommand.h"
#include "Project/CueFireCheck.h"
#include "Project/Operations/OperationSetCueValue.h"

namespace Project::CueValueLimits {

namespace {

bool within(int value, int least, int most)
{
    return value >= least && value <= most;
}

const wchar_t* unless(bool accepted, const wchar_t* key)
{
    return accepted ? nullptr : key;
}

}  // namespace

const wchar_t* refusal(int valueType, int value)
{
    using Type = OperationSetCueValue;
    switch (valueType) {
        case Type::PREFIRE_TIME: return unless(value >= 0, L"ERROR.VALUE.PREFIRE");
        case Type::GROUP: return unless(within(value, 1, 16), L"ERROR.VALUE.GROUP");
        // A cleared address field leaves the cue without an address.
        case Type::PYRO_ADDRESS:
            return unless(
                value == CueCommand::kNoAddress || within(value, 0, CueFireCheck::kMaxPyroAddress),
                L"ERROR.VALUE.PYRO_ADDRESS");
        case Type::DMX_UNIVERSE:
            return unless(within(value, 0, CueFireCheck::kMaxDmxUniverse),
                          L"ERROR.VALUE.DMX_UNIVERSE");
        case Type::DMX_CHANNEL:
            return unless(
                value == CueCommand::kNoAddress || within(value, 0, CueFireCheck::kMaxDmxChannel),
                L"ERROR.VALUE.DMX_CHANNEL");
        case Type::DMX_VALUE:
            return unless(within(value, 0, CueFireCheck::kMaxDmxValue), L"ERROR.VALUE.DMX_VALUE");
        case Type::DURATION: return unless(value >= 0, L"ERROR.VALUE.DURATION");
        case Type::QUANTITY: return unless(value >= 0, L"ERROR.VALUE.QUANTITY");
        case Type::PYRO_TYPE: return unless(within(value, 1, 2), L"ERROR.VALUE.PYRO_TYPE");
        case Type::DMX_CHASE_BPM: return unless(within(value, 0, 1000), L"ERROR.VALUE.CHASE_SPEED");
        case Type::DMX_CHASE_PATH: return unless(within(value, 1, 2), L"ERROR.VALUE.CHASE_PATH");
        case Type::COMMAND_WORD: {
            // DMX fields are masked to their widths by the decoding; a pyro address is not.
            const CueCommand command = CueCommand::fromCommandWord(static_cast<uint32_t>(value));
            const int address = command.getAddress();
            return unless(command.getType() != CueCommand::TYPE_PYRO ||
                              address == CueCommand::kNoAddress ||
                              within(address, 0, CueFireCheck::kMaxPyroAddress),
                          L"ERROR.VALUE.PYRO_ADDRESS");
        }
        default: return nullptr;
    }
}

}  // namespace Project::CueValueLimits
