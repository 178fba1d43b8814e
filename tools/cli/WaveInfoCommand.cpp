// skyfirewright-cli wave-info: what the program's WAVE reader makes of a file, for checking a
// soundtrack before a show and for testing the reader end to end.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <vector>

#include "CommandArguments.h"
#include "CommandLine.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/Utf.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli wave-info FILE.wav\n"
    "       skyfirewright-cli wave-info FILE.wav --frames FIRST COUNT\n"
    "       skyfirewright-cli wave-info FILE.wav --stream POSITION COUNT\n"
    "\n"
    "Opens a WAVE file as the audio player does and prints one line\n"
    "  sampleFormat=F sampleRate=R bytesPerFrame=B frameCount=N\n"
    "where F is 0 (8-bit mono), 1 (8-bit stereo), 2 (16-bit mono) or 3 (16-bit stereo).\n"
    "\n"
    "  --frames FIRST COUNT     then prints up to COUNT frames from frame FIRST (0 or more),\n"
    "                           one per line as \"left right\", converted to signed 16 bits;\n"
    "                           the output stops at the end of the data\n"
    "  --stream POSITION COUNT  then prints exactly COUNT frames from POSITION, which may be\n"
    "                           negative: silence (0 0) before the first frame and after the\n"
    "                           last, as the player hears it\n"
    "\n"
    "Exit status: 0 on success, 1 when the file is refused (the reason goes to standard\n"
    "error), 2 for usage errors.\n";

// Frames are read and printed in blocks of this many, so a large COUNT needs no large buffer.
constexpr std::size_t kBlock = 65536;

std::optional<int64_t> parseInteger(const std::string& text)
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
    return static_cast<int64_t>(value);
}

void printFrames(const std::vector<int16_t>& samples, std::size_t frames, std::ostream& out)
{
    for (std::size_t i = 0; i < frames; ++i) {
        out << samples[2 * i] << ' ' << samples[2 * i + 1] << '\n';
    }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Command self{"wave-info", "", "", nullptr};
    std::string mode;
    int64_t start = 0;
    int64_t count = 0;
    CommandArguments arguments(self, CommandArguments::operands(1));
    for (const std::string name : {"--frames", "--stream"}) {
        const auto missing = [&mode, name] {
            return mode.empty() ? name + " needs two values" : "give one of --frames and --stream";
        };
        arguments.option(name, 2, missing, [&, name](const std::vector<std::string>& values) {
            if (!mode.empty()) {
                throw CommandArguments::Problem{"give one of --frames and --stream"};
            }
            mode = name;
            const std::optional<int64_t> first = parseInteger(values[0]);
            const std::optional<int64_t> n = parseInteger(values[1]);
            if (!first || (mode == "--frames" && *first < 0)) {
                throw CommandArguments::Problem{
                    "bad " + std::string(mode == "--frames" ? "first frame" : "position") + " '" +
                    values[0] + "'"};
            }
            if (!n || *n < 0) {
                throw CommandArguments::Problem{"bad count '" + values[1] + "'"};
            }
            start = *first;
            count = *n;
        });
    }
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    const std::optional<std::string> path =
        operands.empty() ? std::nullopt : std::optional<std::string>(operands[0]);
    if (!path) {
        return usageError(self, "give a WAVE file", err);
    }

    FileIO::WaveFileReader reader;
    if (!reader.open(Platform::fromUtf8(*path))) {
        err << "skyfirewright-cli wave-info: " << *path << ": "
            << Platform::toUtf8(reader.getError()) << "\n";
        return kFailure;
    }
    out << "sampleFormat=" << reader.getSampleFormat() << " sampleRate=" << reader.getSampleRate()
        << " bytesPerFrame=" << reader.getBytesPerFrame()
        << " frameCount=" << reader.getFrameCount() << "\n";

    std::vector<int16_t> samples;
    if (mode == "--frames") {
        int64_t frame = start;
        int64_t left = count;
        while (left > 0) {
            const auto block = static_cast<std::size_t>(std::min<int64_t>(left, kBlock));
            samples.resize(2 * block);
            const std::size_t read = reader.readFrames(samples.data(), frame, block);
            printFrames(samples, read, out);
            if (read < block) {
                break;
            }
            frame += static_cast<int64_t>(read);
            left -= static_cast<int64_t>(read);
        }
    } else if (mode == "--stream") {
        reader.setStreamPosition(start);
        int64_t left = count;
        while (left > 0) {
            const auto block = static_cast<std::size_t>(std::min<int64_t>(left, kBlock));
            samples.resize(2 * block);
            printFrames(samples, reader.readStream(samples.data(), block), out);
            left -= static_cast<int64_t>(block);
        }
    }
    return kSuccess;
}

Command waveInfoCommand()
{
    return {"wave-info", "show how a WAVE soundtrack is read: format, length, sample frames", kHelp,
            run};
}

}  // namespace

const CommandRegistrar registrar(11, waveInfoCommand);

}  // namespace Cli
