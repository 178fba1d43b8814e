#include "GUIMain/KeyMap.h"

#include <cstdio>
#include <string>

#include "Config/Settings.h"
#include "GUI/KeyRouter.h"
#include "GUIMain/Commands.h"

namespace GUIMain {

namespace {
std::optional<int> lookUp(const Config::Settings& settings, const wchar_t* map,
                          std::uint32_t keyCode)
{
    wchar_t key[32];
    std::swprintf(key, sizeof key / sizeof key[0], L"%ls.%08X", map,
                  static_cast<unsigned>(keyCode));
    const int command = settings.getInt(key);
    if (command < 0) {
        return std::nullopt;
    }
    return command;
}
}  // namespace

std::optional<int> commandForKey(const Config::Settings& settings, std::uint32_t keyCode,
                                 bool cueKeysAllowed)
{
    if (std::optional<int> command = lookUp(settings, L"keys", keyCode)) {
        return command;
    }
    if (!cueKeysAllowed) {
        return std::nullopt;
    }
    if (std::optional<int> command = lookUp(settings, L"cuekeys", keyCode)) {
        return command;
    }
    return lookUp(settings, L"speedkeys", keyCode);
}

bool isRepeatable(int command)
{
    switch (command) {
        case 22:
        case 23:
        case 37:
        case 39:
        case 40:
        case 42:
        case 50:
        case 52:
        case 53:
        case 55:
        case 61:
        case 64: return true;
        default: return (command >= 71 && command <= 78) || (command >= 80 && command <= 83);
    }
}

std::optional<KeyCommand> commandToSend(int command, int pressKind)
{
    switch (pressKind) {
        case GUI::kKeyPressed: return KeyCommand{command, 0};
        case GUI::kKeyRepeated:
            if (isRepeatable(command)) {
                return KeyCommand{command, 0};
            }
            return std::nullopt;
        default:
            if (command == Command::kRecordDmxCue) {
                return KeyCommand{Command::kRecordDmxCue, 1};
            }
            return std::nullopt;
    }
}

}  // namespace GUIMain
