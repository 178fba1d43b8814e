// skyfirewright-cli timecode: a timecode calculator for show designers and scripts.

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "CommandArguments.h"
#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Timecode/SMPTE.h"
#include "Timecode/TimecodeParser.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli timecode --format FMT --frames N [N ...]\n"
    "       skyfirewright-cli timecode --format FMT --parse TEXT\n"
    "       skyfirewright-cli timecode --format FMT --parse-strict TEXT\n"
    "       skyfirewright-cli timecode --format FMT --parse-tenths TEXT\n"
    "       skyfirewright-cli timecode --format FMT --bcd 0xHHHHHHHH\n"
    "\n"
    "Converts SMPTE timecodes. FMT is 24, 25, 30df (29.97 drop-frame) or 30.\n"
    "\n"
    "  --frames N ...      for each frame count N (0 up to one day), prints the label,\n"
    "                      its milliseconds and its packed BCD word, e.g.\n"
    "                      00:00:01:00 1000.000 0x00000100\n"
    "  --parse TEXT        prints the frame count of a typed cue time or duration\n"
    "                      (\"1:30:00\" is 1 minute 30 seconds), or -1 when refused\n"
    "  --parse-strict TEXT prints the frame count of exactly hh:mm:ss:ff, or -1\n"
    "  --parse-tenths TEXT prints the frame count of a prefire time in hh:mm:ss:ff or in\n"
    "                      tenths of a second (0 to 1300), or -1\n"
    "  --bcd WORD          prints the label of a packed BCD word\n"
    "\n"
    "Exit status: 0 on success, 2 for an unknown format or a bad number.\n";

std::optional<int> parseFormat(const std::string& text)
{
    if (text == "24")
        return SMPTE::SMPTE_24;
    if (text == "25")
        return SMPTE::SMPTE_25;
    if (text == "30df" || text == "30DF")
        return SMPTE::SMPTE_30DF;
    if (text == "30")
        return SMPTE::SMPTE_30;
    return std::nullopt;
}

// A whole decimal number with nothing after it.
std::optional<long long> parseInteger(const std::string& text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

std::optional<uint32_t> parseWord(const std::string& text)
{
    if (text.size() < 3 || text.size() > 10 || text[0] != '0' ||
        (text[1] != 'x' && text[1] != 'X')) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str() + 2, &end, 16);
    if (errno != 0 || *end != '\0' || text[2] == '-' || text[2] == '+' || text[2] == ' ') {
        return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

std::string describe(const SMPTE& label)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f 0x%08" PRIX32, label.getMilliseconds(),
                  label.getBCD());
    return label.toNarrowString() + " " + buffer;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Command self{"timecode", "", "", nullptr};
    std::optional<int> format;
    std::string mode;
    // The arguments after the mode are its values, whatever they look like.
    CommandArguments arguments(
        self, [&mode](const std::string& arg, std::size_t) -> std::optional<std::string> {
            if (mode.empty()) {
                return "unexpected argument '" + arg + "'";
            }
            return std::nullopt;
        });
    arguments.option("--format", "--format needs a value", [&](const std::string& value) {
        format = parseFormat(value);
        if (!format) {
            throw CommandArguments::Problem{"unknown format '" + value +
                                            "' (use 24, 25, 30df or 30)"};
        }
    });
    for (const std::string name :
         {"--frames", "--parse", "--parse-strict", "--parse-tenths", "--bcd"}) {
        arguments.flag(name, [&mode, name] {
            if (!mode.empty()) {
                throw CommandArguments::Problem{
                    "give one of --frames, --parse, --parse-strict, --parse-tenths and --bcd"};
            }
            mode = name;
        });
    }
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    if (!format) {
        return usageError(self, "--format is required", err);
    }
    if (mode.empty()) {
        return usageError(self,
                          "give one of --frames, --parse, --parse-strict, --parse-tenths "
                          "and --bcd",
                          err);
    }
    if (operands.empty()) {
        return usageError(self, mode + " needs a value", err);
    }
    if (mode != "--frames" && operands.size() != 1) {
        return usageError(self, mode + " takes one value", err);
    }

    if (mode == "--frames") {
        const long long limit = SMPTE::framesPerDay(*format);
        std::vector<int> counts;
        for (const std::string& operand : operands) {
            const std::optional<long long> n = parseInteger(operand);
            if (!n || *n < 0 || *n >= limit) {
                return usageError(self,
                                  "bad frame count '" + operand + "' (0 to " +
                                      std::to_string(limit - 1) + " in this format)",
                                  err);
            }
            counts.push_back(static_cast<int>(*n));
        }
        for (int n : counts) {
            out << describe(SMPTE::fromFrameNo(*format, n)) << "\n";
        }
        return kSuccess;
    }
    if (mode == "--bcd") {
        const std::optional<uint32_t> word = parseWord(operands[0]);
        if (!word) {
            return usageError(self, "bad word '" + operands[0] + "' (use 0x and 8 hex digits)",
                              err);
        }
        if (!SMPTE::isValidBCD(*word, *format)) {
            return usageError(self, "'" + operands[0] + "' is not a timecode in this format", err);
        }
        SMPTE label(*format);
        label.setBCD(*word);
        out << label.toNarrowString() << "\n";
        return kSuccess;
    }
    const std::wstring text = Platform::fromUtf8(operands[0]);
    int result = -1;
    if (mode == "--parse") {
        result = parseTimecode(text, *format);
    } else if (mode == "--parse-strict") {
        result = parseTimecodeStrict(text, *format);
    } else {
        result = parseTimecodeOrTenths(text, *format);
    }
    out << result << "\n";
    return kSuccess;
}

Command timecodeCommand()
{
    return {"timecode", "convert SMPTE timecodes: labels, milliseconds, BCD words, typed text",
            kHelp, run};
}

}  // namespace

const CommandRegistrar registrar(10, timecodeCommand);

}  // namespace Cli
