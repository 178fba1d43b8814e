// skyfirewright-cli play: plays a soundtrack through the program's audio player and prints
// the show clock and the levels as they go, for checking the sound output and the clock.

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ostream>

#include "Audio/AudioPlayer.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/Utf.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli play FILE.wav [--device silent|default|NAME] [--seconds S]\n"
    "                                       [--speed N]\n"
    "\n"
    "Loads a WAVE file into the audio player and plays it, printing every 100 ms a line\n"
    "  position_ms=P left=L right=R\n"
    "with the show clock in milliseconds of track time and the output levels (0 to 32768),\n"
    "until the track ends or S seconds have passed; then it stops.\n"
    "\n"
    "  --device D   silent: no sound, the clock runs in real time; default: the system's\n"
    "               default output (the silent device when there is none); or the name of\n"
    "               a sound device (default: default)\n"
    "  --seconds S  stop after S seconds of real time (a positive number)\n"
    "  --speed N    play N times slower (a whole number, 1 to 16; default 1)\n"
    "\n"
    "Exit status: 0 on success, 1 when the file is refused or the output cannot be opened\n"
    "(the reason goes to standard error), 2 for usage errors.\n";

constexpr std::uint32_t kPrintTimer = 1;
constexpr std::uint32_t kPrintPeriodMs = 100;
// How long the player may take to open its output or to stop.
constexpr std::chrono::seconds kWaitLimit{10};

std::optional<double> parseNumber(const std::string& text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Keeps the latest position and levels the player reported.
struct Monitor : Audio::AudioPlayer::Listener {
    void onPositionChanged(double ms) override { positionMs = ms; }
    void onLevels(int l, int r) override
    {
        left = l;
        right = r;
    }

    double positionMs = 0;
    int left = 0;
    int right = 0;
};

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Command self{"play", "", "", nullptr};
    std::string device = "default";
    std::optional<double> seconds;
    int speed = 1;
    CommandArguments arguments(self, CommandArguments::operands(1));
    arguments.option("--device", "--device needs a value", [&](const std::string& value) {
        if (value.empty()) {
            throw CommandArguments::Problem{"give a device name"};
        }
        device = value;
    });
    arguments.option("--seconds", "--seconds needs a value", [&](const std::string& value) {
        seconds = parseNumber(value);
        if (!seconds || *seconds <= 0) {
            throw CommandArguments::Problem{"bad number of seconds '" + value + "'"};
        }
    });
    arguments.option("--speed", "--speed needs a value", [&](const std::string& value) {
        const std::optional<double> n = parseNumber(value);
        if (!n || *n != std::floor(*n) || *n < 1 || *n > 16) {
            throw CommandArguments::Problem{"bad speed '" + value + "'"};
        }
        speed = static_cast<int>(*n);
    });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    const std::optional<std::string> path =
        operands.empty() ? std::nullopt : std::optional<std::string>(operands[0]);
    if (!path) {
        return usageError(self, "give a WAVE file", err);
    }

    // The player plays silence for a file it cannot read; here that is an error.
    const std::wstring file = Platform::fromUtf8(*path);
    {
        FileIO::WaveFileReader reader;
        if (!reader.open(file)) {
            err << "skyfirewright-cli play: " << *path << ": "
                << Platform::toUtf8(reader.getError()) << "\n";
            return kFailure;
        }
    }

    // This thread is the player's main thread: its queue carries the player's reports.
    Platform::MessageQueue queue;
    Audio::AudioPlayer::Options options;
    options.device = Platform::fromUtf8(device);
    Audio::AudioPlayer player(nullptr, options);
    Monitor monitor;
    player.addListener(&monitor);
    const int error =
        queue.runUntil([&] { return player.isReady(); }, kWaitLimit) ? player.load(file) : -1;
    if (error != 0 ||
        !queue.runUntil([&] { return player.getState() == Audio::AudioPlayer::STATE_STOPPED; },
                        kWaitLimit)) {
        err << "skyfirewright-cli play: the sound output did not open (error " << error << ")\n";
        player.removeListener(&monitor);
        return kFailure;
    }

    const auto start = std::chrono::steady_clock::now();
    Platform::MessageWindow printer([&](const Platform::Message& m) {
        if (m.code != Platform::kMessageTimer) {
            return std::int64_t{0};
        }
        out << "position_ms=" << static_cast<long long>(std::floor(monitor.positionMs))
            << " left=" << monitor.left << " right=" << monitor.right << "\n";
        out.flush();
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (monitor.positionMs >= player.getLengthMilliseconds() ||
            (seconds && elapsed >= *seconds - 0.0005)) {
            Platform::postQuit();
        }
        return std::int64_t{0};
    });
    if (speed != 1) {
        player.setSpeed(speed);  // starts playing, already slowed down
    } else {
        player.play();
    }
    printer.setTimer(kPrintTimer, kPrintPeriodMs);
    queue.run();
    printer.killTimer(kPrintTimer);

    player.stop();
    queue.runUntil([&] { return player.getState() == Audio::AudioPlayer::STATE_STOPPED; },
                   kWaitLimit);
    player.removeListener(&monitor);
    return kSuccess;
}

Command playCommand()
{
    return {"play", "play a WAVE soundtrack and print the show clock and the levels", kHelp, run};
}

}  // namespace

const CommandRegistrar registrar(30, playCommand);

}  // namespace Cli
