#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Devsim {

// What the simulated controller is started with: the firing modules that answer a check and
// their loaded pins, the size of its word queue, its information reply and its log file.
struct DeviceConfig {
    // Module number -> continuity word (bit n: pin n has an igniter with continuity).
    // Modules not listed do not answer a check.
    std::map<int, uint16_t> modules;
    // Words the queue holds; the room reports count down from here.
    int queueRoom = 64;
    // The six-byte information reply: byte, byte, u16, u16.
    std::array<int, 4> info = {1, 0, 1, 100};
    // The device starts armed on the unspecified channel, as a PC that was killed in the
    // middle of a show leaves it.
    bool startArmed = false;
    std::string logPath;
};

// "M=MASK", e.g. "3=0x00FF" or "12=65535": module 0..65535, continuity 0..0xFFFF.
bool parseModuleEntry(std::string_view text, DeviceConfig& config, std::string& error);

// A file of module entries, one a line; empty lines and lines starting with '#' are skipped.
bool loadModuleFile(const std::string& path, DeviceConfig& config, std::string& error);

// The command line after the program name: --log PATH, --module M=MASK (repeatable),
// --modules FILE, --room N (1..4096), --info A,B,C,D, --armed.
bool parseArguments(const std::vector<std::string>& arguments, DeviceConfig& config,
                    std::string& error);

// Bytes written as hex digits, two a byte ("50030151"); false unless all of `text` is such
// digits, at most `maxBytes` of them.
bool parseHexBytes(std::string_view text, size_t maxBytes, std::string& bytes);

// A whole number in decimal or with a 0x prefix in hex; false unless all of `text` is one
// and it lies in [low, high].
bool parseNumber(std::string_view text, long long low, long long high, long long& value);

}  // namespace Devsim
