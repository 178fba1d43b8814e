#include <gtest/gtest.h>

#include <sstream>

#include "CommandLine.h"

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

struct Case {
    std::vector<std::string> args;
    std::string out;
};

void PrintTo(const Case& c, std::ostream* os)
{
    for (const std::string& arg : c.args) {
        *os << arg << ' ';
    }
}

class TimecodeCommandCases : public ::testing::TestWithParam<Case> {};

TEST_P(TimecodeCommandCases, PrintsTheConversion)
{
    const Case& c = GetParam();
    std::vector<std::string> args{"timecode"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun r = run(args);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Timecode, TimecodeCommandCases,
    ::testing::Values(
        Case{{"--format", "25", "--frames", "0", "25", "1499"},
             "00:00:00:00 0.000 0x00000000\n00:00:01:00 1000.000 0x00000100\n"
             "00:00:59:24 59960.000 0x00005924\n"},
        // drop-frame: real-time milliseconds, flag 0x40 in the frames byte, dropped labels
        Case{{"--format", "30df", "--frames", "1798", "1800", "107892"},
             "00;00;59;28 59993.327 0x00005968\n00;01;00;02 60060.060 0x00010042\n"
             "01;00;00;00 3600000.000 0x01000040\n"},
        Case{{"--frames", "3", "--format", "24"}, "00:00:00:03 125.000 0x00000003\n"},
        Case{{"--format", "30", "--parse-strict", " 00:00:10:25 "}, "325\n"},
        Case{{"--format", "25", "--parse-strict", "00:00:10:25"}, "-1\n"},
        Case{{"--format", "25", "--parse", "1:30:00"}, "2250\n"},
        Case{{"--format", "25", "--parse", "abc"}, "0\n"},
        Case{{"--format", "25", "--parse-tenths", "25"}, "63\n"},
        Case{{"--format", "25", "--parse-tenths", "1301"}, "-1\n"},
        Case{{"--format", "25", "--bcd", "0x01020344"}, "01:02:03:04\n"},
        Case{{"--format", "30df", "--bcd", "0x01020344"}, "01;02;03;04\n"}));

TEST(TimecodeCommand, RefusesBadInputWithUsageExit)
{
    const std::vector<std::vector<std::string>> bad = {
        {"timecode", "--format", "29", "--frames", "1"},
        {"timecode", "--frames", "1"},
        {"timecode", "--format", "25"},
        {"timecode", "--format", "25", "--frames"},
        {"timecode", "--format", "25", "--frames", "-1"},
        {"timecode", "--format", "25", "--frames", "12x"},
        {"timecode", "--format", "25", "--frames", "2160000"},  // one day at 25 fps
        {"timecode", "--format", "25", "--bcd", "01020304"},
        {"timecode", "--format", "25", "--bcd", "0x24000000"},  // hour 24
        {"timecode", "--format", "25", "--bcd", "0x00000025"},  // frame 25 at 25 fps
        {"timecode", "--format", "25", "--parse", "1", "2"},
        {"timecode", "--format", "25", "--parse", "1", "--bcd", "0x0"},
    };
    for (const auto& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_NE(r.err, "") << args.back();
    }
}

TEST(TimecodeCommand, LastFrameOfTheDayIsAccepted)
{
    const CliRun r = run({"timecode", "--format", "25", "--frames", "2159999"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "23:59:59:24 86399960.000 0x23595924\n");
}

TEST(CommandLine, HelpAndUnknownCommands)
{
    CliRun r = run({"help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("timecode"), std::string::npos);

    r = run({"timecode", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("--parse-tenths"), std::string::npos);

    r = run({});
    EXPECT_EQ(r.code, 2);

    r = run({"nonsense"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("unknown command"), std::string::npos);
}

}  // namespace
