#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "Platform/FileReplacement.h"
#include "Platform/TestFolder.h"
#include "Platform/TextFile.h"

namespace Platform {
namespace {

using Lines = std::vector<std::wstring>;

struct DecodeCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextFileDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TextFileDecode, YieldsTheLines)
{
    EXPECT_EQ(TextFile::decodeLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, TextFileDecode,
    ::testing::Values(
        DecodeCase{"utf8 mark", "\xEF\xBB\xBFk=\xC3\xA9\r\nx", {L"k=\u00E9", L"x"}},
        DecodeCase{"utf16 mark", "\xFF\xFE" + utf16le(u"k=\u00E9\r\nx"), {L"k=\u00E9", L"x"}},
        // no mark: a NUL byte means UTF-16LE, none means UTF-8
        DecodeCase{"utf16 no mark", utf16le(u"ab\ncd\n"), {L"ab", L"cd"}},
        DecodeCase{"utf8 no mark", "k=\xE2\x82\xAC", {L"k=\u20AC"}},
        // a mark of one encoding is not text of the other
        DecodeCase{"utf8 mark then nul",
                   std::string("\xEF\xBB\xBF"
                               "a\0b",
                               6),
                   {std::wstring(L"a\0b", 3)}},
        DecodeCase{"malformed utf8", "a\xFFz\xC3", {L"a\uFFFDz\uFFFD"}},
        DecodeCase{"odd utf16 byte", "\xFF\xFE" + utf16le(u"ab") + "c", {L"ab"}},
        DecodeCase{"lone surrogate", "\xFF\xFE" + utf16le(u"a\xD800z"), {L"a\uFFFDz"}},
        DecodeCase{"surrogate pair", "\xFF\xFE" + utf16le(u"\U0001F386"), {L"\U0001F386"}},
        DecodeCase{"mark only", "\xFF\xFE", {}}, DecodeCase{"empty", "", {}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

INSTANTIATE_TEST_SUITE_P(
    LineEnds, TextFileDecode,
    ::testing::Values(DecodeCase{"mixed", "a\r\nb\nc\rd", {L"a", L"b", L"c", L"d"}},
                      DecodeCase{"cr before crlf", "a\r\r\nb", {L"a", L"", L"b"}},
                      DecodeCase{"lf cr", "a\n\rb", {L"a", L"", L"b"}},
                      DecodeCase{"last line ended", "a\n", {L"a"}},
                      DecodeCase{"trailing empty line", "a\n\n", {L"a", L""}},
                      DecodeCase{"only a line end", "\r\n", {L""}},
                      DecodeCase{"utf16 crlf", utf16le(u"a\r\nb\r\n"), {L"a", L"b"}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(TextFile, WritesUtf16WithMarkAndLineFeeds)
{
    EXPECT_EQ(TextFile::encodeLines({L"a", L"\u00E9", L"\U0001F386"}),
              std::string("\xFF\xFE"
                          "a\0\n\0\xE9\0\n\0\x3C\xD8\x86\xDF\n\0",
                          16));
    EXPECT_EQ(TextFile::encodeLines({}), "\xFF\xFE");
}

TEST(TextFile, RoundTripsThroughAFile)
{
    TestFolder folder;
    const Lines lines{L"[s\u00E9ction]", L"", L"key = value ", L"\U0001F386=\u20AC", L"last"};
    ASSERT_TRUE(TextFile::writeLines(folder.path("t.ini"), lines));
    Lines read;
    ASSERT_TRUE(TextFile::readLines(folder.path("t.ini"), read));
    EXPECT_EQ(read, lines);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"t.ini"});  // no temporary left
}

TEST(TextFile, ReadFailuresLeaveTheLinesAlone)
{
    TestFolder folder;
    std::filesystem::create_directory(folder.root() / "dir");
    ASSERT_EQ(::mkfifo((folder.root() / "fifo").c_str(), 0600), 0);
    for (const char* name : {"missing.ini", "dir", "fifo"}) {
        Lines lines{L"untouched"};
        EXPECT_FALSE(TextFile::readLines(folder.path(name), lines)) << name;
        EXPECT_EQ(lines, Lines{L"untouched"}) << name;
    }
}

TEST(TextFile, AnEmptyFileIsReadAsNoLines)
{
    TestFolder folder;
    folder.writeBytes("empty.ini", "");
    Lines lines{L"old"};
    EXPECT_TRUE(TextFile::readLines(folder.path("empty.ini"), lines));
    EXPECT_TRUE(lines.empty());
}

// The replacement itself is tested in FileReplacementTest; here only that a write the disk
// refuses reaches the caller.
TEST(TextFile, AFailedWriteLeavesTheOldFile)
{
    TestFolder folder;
    const std::string old = "\xEF\xBB\xBFold=1\n";
    folder.writeBytes("config.ini", old);
    FileReplacement::failWritesAfterForTesting(9);
    const bool written = TextFile::writeLines(folder.path("config.ini"), {L"new=2", L"more=3"});
    FileReplacement::failWritesAfterForTesting(std::nullopt);
    EXPECT_FALSE(written);
    EXPECT_EQ(folder.readBytes("config.ini"), old);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"config.ini"});
}

}  // namespace
}  // namespace Platform
