#pragma once

#include <cstdint>
#include <optional>

namespace Config {
class Settings;
}

namespace GUIMain {

// The command a key code is bound to: "keys.%08X" always; "cuekeys.%08X", then
// "speedkeys.%08X", only when `cueKeysAllowed` (the focus is not in a field that takes typed
// keys). None when the key is not bound (a missing entry or one that is not a number).
std::optional<int> commandForKey(const Config::Settings& settings, std::uint32_t keyCode,
                                 bool cueKeysAllowed);

// The commands a held key repeats: undo and redo, the frame and second moves, the duration
// steps, the seek steps and the selection moves.
bool isRepeatable(int command);

struct KeyCommand {
    int code;
    std::uint64_t argument;
};
// What a bound key sends for a press kind (0 released, 1 pressed, 2 repeated): the command
// on a press, on a repeat only when it is repeatable, and on a release only the end of the
// DMX hold (command 27 with argument 1).
std::optional<KeyCommand> commandToSend(int command, int pressKind);

}  // namespace GUIMain
