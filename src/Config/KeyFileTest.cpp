#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Config/KeyFile.h"
#include "Platform/Log.h"
#include "Platform/TestFolder.h"
#include "Platform/TextFile.h"

namespace Config {
namespace {

using Lines = std::vector<std::wstring>;

struct ParseCase {
    const char* name;
    Lines lines;
    KeyMap values;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

class KeyFileParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(KeyFileParse, StoresTheEntries)
{
    KeyMap values;
    KeyFile::parse(GetParam().lines, values);
    EXPECT_EQ(values, GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KeyFileParse,
    ::testing::Values(
        ParseCase{"sections", {L"CH1=5", L"[dmx]", L"CH1=6"}, {{L"CH1", L"5"}, {L"dmx.CH1", L"6"}}},
        ParseCase{"first equals splits", {L"a=b=c"}, {{L"a", L"b=c"}}},
        ParseCase{"nothing trimmed", {L" a = b "}, {{L" a ", L" b "}}},
        ParseCase{"comments", {L";a=1", L"%b=2", L"", L"c=3"}, {{L"c", L"3"}}},
        ParseCase{"broken section keeps the current",
                  {L"[keys]", L"[broken", L"x=1", L"[other=2"},
                  {{L"keys.x", L"1"}}},
        ParseCase{"section ends at first bracket", {L"[a]b]", L"x=1"}, {{L"a.x", L"1"}}},
        ParseCase{"empty section and key", {L"[]", L"=v", L"k="}, {{L".", L"v"}, {L".k", L""}}},
        ParseCase{"later replaces earlier",
                  {L"k=1", L"[s]", L"k=2", L"[s]", L"k=3", L"[]", L"", L"[x]"},
                  {{L"k", L"1"}, {L"s.k", L"3"}}},
        ParseCase{"lines without equals", {L"junk", L" ;not a comment", L"[s] trailing"}, {}},
        ParseCase{"a blank line is not a comment", {L" ", L" =x"}, {{L" ", L"x"}}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(KeyFile, FormatsOutsideEntriesFirstThenEachSection)
{
    const KeyMap values{{L"keys.00000020", L"1"},
                        {L"locale", L"nl-nl"},
                        {L"recent.0", L"/a b.fwp"},
                        {L"keys.00000021", L"2"},
                        {L"a", L"x=y"}};
    EXPECT_EQ(KeyFile::format(values), (Lines{L"a=x=y", L"locale=nl-nl", L"[keys]", L"00000020=1",
                                              L"00000021=2", L"[recent]", L"0=/a b.fwp"}));
}

TEST(KeyFile, FormatsEverySectionWhenNoEntryIsOutside)
{
    const KeyMap values{{L"b.x", L"1"}, {L"a.y.z", L"2"}, {L"c.", L""}};
    EXPECT_EQ(KeyFile::format(values), (Lines{L"[a]", L"y.z=2", L"[b]", L"x=1", L"[c]", L"="}));
}

// Entries that would read back as something else are left out, with a log line each.
TEST(KeyFile, LeavesOutWhatCannotReadBack)
{
    std::vector<std::wstring> log;
    Platform::setLogSink([&log](const std::wstring& line) { log.push_back(line); });
    const KeyMap values{
        {L"recent.0", L"/x\nkeys.00000020=5"},  // a value with a line break
        {L"recent.1", L"/ok.fwp"},
        {L"a=b", L"1"},    // read back as key "a", value "b=1"
        {L";c", L"1"},     // a comment
        {L"[d", L"1"},     // a broken section line
        {L"e]f.g", L"1"},  // section line "[e]f]" names "e"
        {L"s.%h", L"1"},   // a comment inside the section
        {L"s.i=j", L"1"},
        {L"t\r.k", L"1"},
    };
    const Lines lines = KeyFile::format(values);
    Platform::setLogSink(nullptr);

    EXPECT_EQ(lines, (Lines{L"[recent]", L"1=/ok.fwp"}));
    EXPECT_EQ(log.size(), values.size() - 1);
    EXPECT_EQ(log.front(),
              L"Settings entry ;c holds text a key file cannot keep and was not "
              L"written.");
}

// Whatever a file holds, writing what was read and reading it again gives the same entries.
TEST(KeyFile, WhatWasReadWritesBackTheSame)
{
    const std::vector<std::string> files{
        "[dmx]\r\nCH1=5\r\n[broken\r\n=x\r\n[]\r\n.=y\r\n[a.b]\r\nc=d=e\r\n",
        "[a=1]\nk=v\n[[x]\n;c\n%d\nz= \n[ s ]\n k = v \n",
        "\xEF\xBB\xBF[\xC3\xA9]\n\xE2\x82\xAC=\xF0\x9F\x8E\x86\n\xFF=\xC3\n",
    };
    for (const std::string& bytes : files) {
        KeyMap first;
        KeyFile::parse(Platform::TextFile::decodeLines(bytes), first);
        KeyMap second;
        KeyFile::parse(Platform::TextFile::decodeLines(
                           Platform::TextFile::encodeLines(KeyFile::format(first))),
                       second);
        EXPECT_FALSE(first.empty());
        EXPECT_EQ(second, first) << bytes;
    }
}

// One settings file with odd lines, in every encoding the reader accepts.
class KeyFileOddFile : public ::testing::TestWithParam<int> {};

TEST_P(KeyFileOddFile, LoadsWhatIsValid)
{
    const std::u16string text =
        u"; settings\r\nlocale=nl-nl\r\nno equals here\r\n[keys\r\n[keys]\r\n00000020=1\r\n"
        u"[broken\r\n00000021=caf\u00E9\r\n%00000022=3\r\n\r\nlast=\u20AC";
    const std::string utf8 = Platform::toUtf8(std::wstring(text.begin(), text.end()));
    const std::string encodings[] = {utf8, "\xEF\xBB\xBF" + utf8, Platform::utf16le(text),
                                     "\xFF\xFE" + Platform::utf16le(text)};
    Platform::TestFolder folder;
    folder.writeBytes("config.ini", encodings[GetParam()]);

    KeyMap values{{L"locale", L"en-us"}, {L"kept", L"1"}};
    ASSERT_TRUE(KeyFile::read(folder.path("config.ini"), values));
    EXPECT_EQ(values, (KeyMap{{L"locale", L"nl-nl"},
                              {L"kept", L"1"},
                              {L"keys.00000020", L"1"},
                              {L"keys.00000021", L"caf\u00E9"},
                              {L"keys.last", L"\u20AC"}}));
}

// UTF-8 without and with a mark, UTF-16LE without and with a mark.
INSTANTIATE_TEST_SUITE_P(Encodings, KeyFileOddFile, ::testing::Values(0, 1, 2, 3));

TEST(KeyFile, AFileThatCannotBeReadChangesNothing)
{
    Platform::TestFolder folder;
    KeyMap values{{L"a", L"1"}};
    EXPECT_FALSE(KeyFile::read(folder.path("missing.ini"), values));
    EXPECT_EQ(values, (KeyMap{{L"a", L"1"}}));
}

TEST(KeyFile, WritesAndReadsBack)
{
    Platform::TestFolder folder;
    const KeyMap values{{L"locale", L"nl-nl"},
                        {L"recent.0", L"/shows/Oud & Nieuw \u00E9.fwp"},
                        {L"keys.00000020", L"7"},
                        {L"empty", L""}};
    ASSERT_TRUE(KeyFile::write(folder.path("config.ini"), values));
    EXPECT_TRUE(folder.readBytes("config.ini").starts_with("\xFF\xFE"));
    KeyMap read;
    ASSERT_TRUE(KeyFile::read(folder.path("config.ini"), read));
    EXPECT_EQ(read, values);
}

}  // namespace
}  // namespace Config
