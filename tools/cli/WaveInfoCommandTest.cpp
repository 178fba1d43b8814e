#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = Cli::dispatch(args, out, err);
    return {code, out.str(), err.str()};
}

// The reference WAVE files of the reader's tests.
std::string reference(const char* name)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "src" /
            "FileIO" / "testdata" / name)
        .string();
}

const std::string kMono = "sampleFormat=0 sampleRate=8000 bytesPerFrame=1 frameCount=5\n";
const std::string kStereo = "sampleFormat=3 sampleRate=44100 bytesPerFrame=4 frameCount=6\n";

TEST(WaveInfoCommand, PrintsFormatFramesAndStream)
{
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{reference("mono8.wav")}, kMono},
        {{reference("mono8.wav"), "--frames", "3", "5"}, kMono + "-32512 -32512\n-256 -256\n"},
        {{reference("mono8.wav"), "--frames", "5", "1"}, kMono},
        {{"--frames", "1", "2", reference("stereo16.wav")}, kStereo + "1 -1\n32767 -32768\n"},
        {{reference("stereo16.wav"), "--frames", "0", "0"}, kStereo},
        // the stream gives exactly COUNT frames: silence before the track and after its end
        {{reference("stereo16.wav"), "--stream", "-2", "4"}, kStereo + "0 0\n0 0\n0 0\n1 -1\n"},
        {{reference("stereo16.wav"), "--stream", "5", "3"}, kStereo + "100 -100\n0 0\n0 0\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"wave-info"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
        EXPECT_EQ(r.err, "");
    }
}

TEST(WaveInfoCommand, ARefusedFileSaysWhyAndExitsWithOne)
{
    Platform::TestFolder folder;
    folder.writeBytes("text.wav", "not a wave file at all");
    const std::string text = Platform::toUtf8(folder.path("text.wav"));
    CliRun r = run({"wave-info", text, "--frames", "0", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "skyfirewright-cli wave-info: " + text + ": not a RIFF file\n");

    r = run({"wave-info", Platform::toUtf8(folder.path("missing.wav"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot open the file"), std::string::npos) << r.err;
}

TEST(WaveInfoCommand, RefusesBadArgumentsWithUsageExit)
{
    const std::string file = reference("mono8.wav");
    const std::vector<std::vector<std::string>> bad = {
        {"wave-info"},
        {"wave-info", file, file},
        {"wave-info", file, "--frames", "1"},
        {"wave-info", file, "--frames", "-1", "5"},
        {"wave-info", file, "--frames", "x", "5"},
        {"wave-info", file, "--stream", "-1", "-5"},
        {"wave-info", file, "--stream", "0", "1", "--frames", "0", "1"},
        {"wave-info", file, "--seconds", "1"},
    };
    for (const auto& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_NE(r.err, "") << args.back();
    }
}

}  // namespace
