#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Audio/AudioTestSupport.h"
#include "CommandLine.h"
#include "Platform/TestFolder.h"

namespace {

struct Line {
    long long positionMs;
    int left;
    int right;
};

struct PlayRun {
    int code;
    std::vector<Line> lines;
    std::string out;
    std::string err;
};

PlayRun play(std::vector<std::string> args)
{
    args.insert(args.begin(), "play");
    std::ostringstream out, err;
    PlayRun result;
    result.code = Cli::dispatch(args, out, err);
    result.out = out.str();
    result.err = err.str();
    static const std::regex line(R"(position_ms=(\d+) left=(\d+) right=(\d+))");
    std::istringstream in(result.out);
    std::string text;
    while (std::getline(in, text)) {
        std::smatch m;
        EXPECT_TRUE(std::regex_match(text, m, line)) << "line: " << text;
        if (!m.empty()) {
            result.lines.push_back({std::stoll(m[1]), std::stoi(m[2]), std::stoi(m[3])});
        }
    }
    return result;
}

// `frames` frames at 44.1 kHz: left full scale, right a quarter of it.
std::string loudWave(const Platform::TestFolder& folder, std::size_t frames)
{
    const std::string path = (folder.root() / "loud.wav").string();
    Audio::TestSupport::writeFile(
        path, Audio::TestSupport::waveBytes(
                  Audio::TestSupport::makeSamples(
                      frames, [](std::size_t, int c) -> std::int16_t { return c ? 8192 : -32768; }),
                  44100));
    return path;
}

TEST(PlayCommand, PlaysToTheEndOfTheTrackPrintingClockAndLevels)
{
    Platform::TestFolder folder;
    const PlayRun run = play({loudWave(folder, 15435), "--device", "silent"});  // 350 ms
    EXPECT_EQ(run.code, 0) << run.err;
    ASSERT_GE(run.lines.size(), 3u);
    EXPECT_LE(run.lines.size(), 6u) << "it stops once the track has ended";
    for (std::size_t i = 1; i < run.lines.size(); ++i) {
        EXPECT_GE(run.lines[i].positionMs, run.lines[i - 1].positionMs);
    }
    EXPECT_GE(run.lines.back().positionMs, 350);
    EXPECT_LE(run.lines.front().positionMs, 101) << "the clock never runs ahead of real time";
    bool loud = false;
    for (const Line& l : run.lines) {
        loud |= l.left == 32768 && l.right == 2048;
    }
    EXPECT_TRUE(loud) << run.out;
}

TEST(PlayCommand, StopsAfterTheGivenSecondsAndReportsTrackTimeWhenSlowed)
{
    Platform::TestFolder folder;
    const std::string track = loudWave(folder, 44100 * 3);
    const PlayRun timed = play({track, "--device", "silent", "--seconds", "0.25"});
    EXPECT_EQ(timed.code, 0) << timed.err;
    // Lines at 100, 200 and 300 ms; a tick that comes very late is skipped, not repeated.
    EXPECT_GE(timed.lines.size(), 2u);
    EXPECT_LE(timed.lines.size(), 3u);
    EXPECT_LT(timed.lines.back().positionMs, 1000);

    const PlayRun slowed = play({track, "--device", "silent", "--seconds", "0.3", "--speed", "2"});
    EXPECT_EQ(slowed.code, 0) << slowed.err;
    ASSERT_GE(slowed.lines.size(), 2u);
    // 300 ms of real time at half speed are at most 150 ms of the track.
    EXPECT_LE(slowed.lines.back().positionMs, 151);
    EXPECT_GE(slowed.lines.back().positionMs, 60);
}

TEST(PlayCommand, RefusesBadArgumentsAndFiles)
{
    Platform::TestFolder folder;
    const std::string track = loudWave(folder, 100);
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{}, Cli::kUsage, "give a WAVE file"},
        {{track, "--seconds", "0"}, Cli::kUsage, "bad number of seconds"},
        {{track, "--seconds"}, Cli::kUsage, "needs a value"},
        {{track, "--speed", "1.5"}, Cli::kUsage, "bad speed"},
        {{track, "--speed", "0"}, Cli::kUsage, "bad speed"},
        {{track, "--loud"}, Cli::kUsage, "unknown option"},
        {{track, track}, Cli::kUsage, "unexpected argument"},
        {{(folder.root() / "missing.wav").string(), "--device", "silent"},
         Cli::kFailure,
         "missing.wav: "},
    };
    for (const auto& c : cases) {
        const PlayRun run = play(c.args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

}  // namespace
