#include "DeviceConfig.h"

#include <charconv>
#include <fstream>

namespace Devsim {

bool parseNumber(std::string_view text, long long low, long long high, long long& value)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) {
        return false;
    }
    long long parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool parseHexBytes(std::string_view text, size_t maxBytes, std::string& bytes)
{
    if (text.size() % 2 != 0 || text.size() / 2 > maxBytes) {
        return false;
    }
    std::string parsed;
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (ec != std::errc() || end != text.data() + i + 2) {
            return false;
        }
        parsed.push_back(static_cast<char>(value));
    }
    bytes = parsed;
    return true;
}

bool parseModuleEntry(std::string_view text, DeviceConfig& config, std::string& error)
{
    const size_t equals = text.find('=');
    long long module = 0;
    long long continuity = 0;
    if (equals == std::string_view::npos ||
        !parseNumber(text.substr(0, equals), 0, 0xFFFF, module) ||
        !parseNumber(text.substr(equals + 1), 0, 0xFFFF, continuity)) {
        error = "module entry '" + std::string(text) + "' is not MODULE=CONTINUITY";
        return false;
    }
    config.modules[static_cast<int>(module)] = static_cast<uint16_t>(continuity);
    return true;
}

bool loadModuleFile(const std::string& path, DeviceConfig& config, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read module file " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (!parseModuleEntry(line, config, error)) {
            return false;
        }
    }
    return true;
}

bool parseArguments(const std::vector<std::string>& arguments, DeviceConfig& config,
                    std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--armed") {
            config.startArmed = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (option == "--log") {
            config.logPath = value;
        } else if (option == "--module") {
            if (!parseModuleEntry(value, config, error)) {
                return false;
            }
        } else if (option == "--modules") {
            if (!loadModuleFile(value, config, error)) {
                return false;
            }
        } else if (option == "--room") {
            long long room = 0;
            if (!parseNumber(value, 1, 4096, room)) {
                error = "--room takes a number from 1 to 4096";
                return false;
            }
            config.queueRoom = static_cast<int>(room);
        } else if (option == "--info") {
            std::string_view rest = value;
            const long long limits[4] = {0xFF, 0xFF, 0xFFFF, 0xFFFF};
            for (int n = 0; n < 4; ++n) {
                const size_t comma = n < 3 ? rest.find(',') : rest.size();
                long long part = 0;
                if (comma == std::string_view::npos ||
                    !parseNumber(rest.substr(0, comma), 0, limits[n], part)) {
                    error = "--info takes four numbers A,B,C,D (bytes, then two u16)";
                    return false;
                }
                config.info[n] = static_cast<int>(part);
                rest.remove_prefix(n < 3 ? comma + 1 : comma);
            }
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    return true;
}

}  // namespace Devsim
