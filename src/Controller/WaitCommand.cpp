#include "Controller/WaitCommand.h"

#include "Controller/CommandWords.h"
#include "Platform/Assert.h"

namespace Controller {

WaitCommand::WaitCommand(uint32_t word) : word_(word)
{
    const uint32_t kind = CommandWords::kind(word);
    SKY_ASSERT(kind == CommandWords::kTimecodeWait || kind == CommandWords::kTriggerWait ||
                   kind == CommandWords::kStepWait,
               "WaitCommand");
    blocking_ = kind != CommandWords::kStepWait || word == CommandWords::kStepWait;
}

}  // namespace Controller
