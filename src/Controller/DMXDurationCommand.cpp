#include "Controller/DMXDurationCommand.h"

#include "Controller/CommandWords.h"
#include "Platform/Assert.h"

namespace Controller {

DMXDurationCommand::DMXDurationCommand(uint32_t ticks) : word_(CommandWords::kDmxDuration | ticks)
{
    SKY_ASSERT(ticks <= CommandWords::kDelayMask, "DMXDurationCommand");
}

}  // namespace Controller
