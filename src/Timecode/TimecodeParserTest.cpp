#include <gtest/gtest.h>

#include "Timecode/SMPTE.h"
#include "Timecode/TimecodeParser.h"

namespace {

using Parser = int (*)(const std::wstring&, int);

struct Case {
    const char* name;
    Parser parser;
    const wchar_t* text;
    int format;
    int expected;
};

class TimecodeParserCases : public ::testing::TestWithParam<Case> {};

TEST_P(TimecodeParserCases, Parses)
{
    const Case& c = GetParam();
    EXPECT_EQ(c.parser(c.text, c.format), c.expected) << c.name << " \"" << c.text << "\"";
}

constexpr int k24 = SMPTE::SMPTE_24, k25 = SMPTE::SMPTE_25, kDF = SMPTE::SMPTE_30DF,
              k30 = SMPTE::SMPTE_30;

INSTANTIATE_TEST_SUITE_P(
    Strict, TimecodeParserCases,
    ::testing::Values(Case{"frames at the rate", parseTimecodeStrict, L"00:00:10:25", k25, -1},
                      Case{"frames below 30", parseTimecodeStrict, L"00:00:10:25", k30, 325},
                      Case{"hour 24", parseTimecodeStrict, L"24:00:00:00", k25, -1},
                      Case{"blanks around", parseTimecodeStrict, L" \t00:00:01:00\r\n", k25, 25},
                      Case{"semicolons in any format", parseTimecodeStrict, L"00;00;01;00", k25,
                           25},
                      Case{"mixed separators", parseTimecodeStrict, L"00:00;01:00", k25, -1},
                      Case{"too short", parseTimecodeStrict, L"0:00:01:00", k25, -1},
                      Case{"frame 29 at 29.97", parseTimecodeStrict, L"00;00;00;29", kDF, 29},
                      Case{"dropped label", parseTimecodeStrict, L"00;01;00;00", kDF, 1798},
                      Case{"minute 60", parseTimecodeStrict, L"00:60:00:00", k25, -1},
                      Case{"frame 24 at 24", parseTimecodeStrict, L"00:00:00:24", k24, -1}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Loose, TimecodeParserCases,
    ::testing::Values(
        Case{"colons removed", parseTimecode, L"1:30:00", k25, 2250},
        Case{"strict form first", parseTimecode, L"00:01:30:00", k25, 2250},
        Case{"no numbers", parseTimecode, L"abc", k25, 0},
        Case{"nine digits", parseTimecode, L"123456789", k25, 0},
        Case{"empty", parseTimecode, L"", k25, 0}, Case{"frames only", parseTimecode, L"7", k25, 7},
        Case{"seconds without range", parseTimecode, L"9000", k25, 90 * 25},
        Case{"hours group", parseTimecode, L"1000000", k25, 3600 * 25},
        Case{"real rate rounds", parseTimecode, L"1:00:00:00", kDF, 107892},
        Case{"drop-frame real rate", parseTimecode, L"100", kDF, 30},  // 29.97 + 0.5
        // Refused: a time before zero or of a whole day and more cannot be a cue time.
        Case{"negative", parseTimecode, L"-5", k25, -1},
        Case{"a day", parseTimecode, L"24000000", k25, -1},
        Case{"just below a day", parseTimecode, L"23595924", k25, 2159999}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Tenths, TimecodeParserCases,
    ::testing::Values(Case{"tenths", parseTimecodeOrTenths, L"25", k25, 63},
                      Case{"above 130 s", parseTimecodeOrTenths, L"1301", k25, -1},
                      Case{"negative", parseTimecodeOrTenths, L"-1", k25, -1},
                      Case{"largest", parseTimecodeOrTenths, L"1300", k25, 3250},
                      Case{"strict form", parseTimecodeOrTenths, L"00:00:02:00", k25, 50},
                      Case{"not a number", parseTimecodeOrTenths, L"soon", k25, -1},
                      Case{"nan", parseTimecodeOrTenths, L"nan", k25, -1},
                      Case{"decimal tenths", parseTimecodeOrTenths, L" 2.5 ", k30, 8}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
