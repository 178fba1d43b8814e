#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffTestBytes.h"
#include "Platform/TestFolder.h"

namespace {

using FileIO::RiffElement;
using FileIO::RiffFileReader;
using FileIO::RiffList;
using namespace FileIO::TestBytes;

// The id, size and kind of every element, depth first, as "LIST CUE 30 [ CUED 3 ]".
std::string describe(const RiffList& list)
{
    std::string text = list.getId().toString() + " " + std::to_string(list.getSize()) + " [";
    for (const auto& child : list.getChildren()) {
        if (child->isChunk()) {
            text += " " + child->getId().toString() + " " + std::to_string(child->getSize());
        } else {
            text += " " + describe(static_cast<const RiffList&>(*child));
        }
    }
    return text + " ]";
}

TEST(RiffFileReader, ReadsTheTreeWithPadBytesAndNestedLists)
{
    // "ODD " has 3 bytes and a pad byte; "NEXT" must be found at the even offset after it.
    const std::string bytes =
        list("RIFF", "FWP ",
             chunk("ODD ", "abc") + chunk("NEXT", "xy") +
                 list("LIST", "CUE ",
                      chunk("CUED", "12345") + list("LIST", "FIX ", chunk("FIXD", "")))) +
        "trailing bytes after the root list are ignored";
    RiffFileReader reader;
    ASSERT_TRUE(reader.openBytes(bytes)) << Platform::toUtf8(reader.getError());
    EXPECT_EQ(describe(reader.getRoot()),
              "FWP  72 [ ODD  3 NEXT 2 CUE  38 [ CUED 5 FIX  12 [ FIXD 0 ] ] ]");

    const auto& children = reader.getRoot().getChildren();
    EXPECT_EQ(children[0]->getDataOffset(), 20u);
    EXPECT_EQ(children[1]->getDataOffset(), 32u);  // 20 + 3 + pad + 8
    EXPECT_EQ(children[2]->getDataOffset(), 42u);  // a list's data begins with its type
    char data[8] = {};
    EXPECT_EQ(reader.readChunk(*children[1], 0, data, sizeof data), 2u);
    EXPECT_EQ(std::string(data, 2), "xy");

    EXPECT_EQ(reader.getRoot().findChunk("NEXT"), children[1].get());
    EXPECT_EQ(reader.getRoot().findChunk("CUE "), nullptr);  // lists do not count
    EXPECT_EQ(reader.getRoot().findChunk("CUED"), nullptr);  // nor are they searched
}

TEST(RiffFileReader, ForgivesAMissingPadByteAtTheEndOfTheFile)
{
    std::string bytes = list("RIFF", "TEST", chunk("ODD ", "abc"));
    bytes.pop_back();                     // the pad byte
    bytes.replace(4, 4, u32(4 + 8 + 3));  // and the root size without it
    RiffFileReader reader;
    ASSERT_TRUE(reader.openBytes(bytes)) << Platform::toUtf8(reader.getError());
    EXPECT_EQ(describe(reader.getRoot()), "TEST 15 [ ODD  3 ]");
}

struct Hostile {
    const char* name;
    std::string bytes;
    const char* reason;  // a part of getError()
};

void PrintTo(const Hostile& h, std::ostream* os)
{
    *os << h.name;
}

class RiffFileReaderHostile : public ::testing::TestWithParam<Hostile> {};

TEST_P(RiffFileReaderHostile, FailsTheOpenCleanly)
{
    RiffFileReader reader;
    EXPECT_FALSE(reader.openBytes(GetParam().bytes));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_NE(Platform::toUtf8(reader.getError()).find(GetParam().reason), std::string::npos)
        << Platform::toUtf8(reader.getError());
}

std::string nested(int depth)
{
    std::string body;
    for (int i = 1; i < depth; ++i) {
        body = list("LIST", "DEEP", body);
    }
    return list("RIFF", "DEEP", body);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RiffFileReaderHostile,
    ::testing::Values(
        Hostile{"empty", "", "not a RIFF file"},
        Hostile{"not RIFF", list("RIFX", "WAVE", ""), "not a RIFF file"},
        Hostile{"header cut off", "RIFF" + u32(4) + "WA", "cut off"},
        Hostile{"root too short for its type", "RIFF" + u32(2) + "WAVE", "too short"},
        Hostile{"root larger than the file", "RIFF" + u32(100) + "WAVE", "claims 100 bytes"},
        // 8 + 0xFFFFFFFF wraps to 7 in 32 bits
        Hostile{"root size wraps around", "RIFF" + u32(0xFFFFFFFF) + "WAVE" + chunk("data", ""),
                "claims 4294967295 bytes"},
        Hostile{"chunk larger than the file",
                list("RIFF", "WAVE", "data" + u32(0xFFFFFFF8) + "abcd"), "more than its list"},
        Hostile{"chunk larger than its list, inside the file",
                list("RIFF", "WAVE", "LIST" + u32(12) + "INFO" + "INAM" + u32(8) + "12345678"),
                "more than its list \"INFO\""},
        Hostile{"chunk header cut off by the list end",
                list("RIFF", "WAVE", chunk("fmt ", "") + "data"), "cut off by the end of the list"},
        Hostile{"list too short for its type", list("RIFF", "WAVE", "LIST" + u32(2) + "IN"),
                "too short to hold its type"},
        Hostile{"lists nested a thousand deep", nested(1000), "nested more than 32"},
        Hostile{"lists nested one too deep", nested(33), "nested more than 32"}));

TEST(RiffFileReader, AcceptsTheDeepestNesting)
{
    RiffFileReader reader;
    EXPECT_TRUE(reader.openBytes(nested(RiffFileReader::kMaxListDepth)));
}

TEST(RiffFileReader, ReadsStayInsideTheElement)
{
    const std::string bytes =
        list("RIFF", "TEST", chunk("ABCD", "0123456789") + chunk("NEXT", "zz"));
    RiffFileReader reader;
    ASSERT_TRUE(reader.openBytes(bytes));
    const RiffElement& element = *reader.getRoot().getChildren()[0];

    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(reader.readChunk(element, 6, buffer, sizeof buffer), 4u);  // clamped to size - 6
    EXPECT_EQ(std::string(buffer, 5), "6789#");
    EXPECT_EQ(reader.readChunk(element, 10, buffer, sizeof buffer), 0u);
    EXPECT_EQ(reader.readChunk(element, 0xFFFFFFFFFFull, buffer, sizeof buffer), 0u);

    uint32_t value = 7;
    EXPECT_TRUE(reader.readU32(element, 6, value));
    EXPECT_EQ(value, 0x39383736u);  // "6789", little-endian
    value = 7;
    EXPECT_FALSE(reader.readU32(element, 7, value));  // would reach into "NEXT"
    EXPECT_EQ(value, 7u);
    uint16_t half = 0;
    EXPECT_TRUE(reader.readU16(element, 8, half));
    EXPECT_EQ(half, 0x3938u);

    std::string data;
    EXPECT_TRUE(reader.readData(element, data));
    EXPECT_EQ(data, "0123456789");
}

TEST(RiffFileReader, SplitsZeroTerminatedStrings)
{
    using Strings = std::vector<std::wstring>;
    EXPECT_EQ(RiffFileReader::splitStrings(Platform::utf16le({u"key\0value\0", 10})),
              (Strings{L"key", L"value"}));
    EXPECT_EQ(RiffFileReader::splitStrings(Platform::utf16le({u"\0x", 2})), (Strings{L"", L"x"}));
    // an odd last byte is dropped; a surrogate pair becomes one character
    EXPECT_EQ(RiffFileReader::splitStrings(Platform::utf16le({u"\U0001F386\0", 3}) + "Z"),
              (Strings{L"\U0001F386"}));
    EXPECT_EQ(RiffFileReader::splitStrings(""), Strings{});
}

TEST(RiffFileReader, OpensFilesAndRefusesWhatIsNoFile)
{
    Platform::TestFolder folder;
    folder.writeBytes("show.fwp", list("RIFF", "FWP ", chunk("PRJD", "abcdef")));
    RiffFileReader reader;
    ASSERT_TRUE(reader.open(folder.path("show.fwp")));
    EXPECT_EQ(reader.getRoot().getId(), "FWP ");
    std::string data;
    EXPECT_TRUE(reader.readData(*reader.getRoot().getChildren()[0], data));
    EXPECT_EQ(data, "abcdef");

    EXPECT_FALSE(reader.open(folder.path("missing.fwp")));
    EXPECT_FALSE(reader.isOpen());  // the file opened before is dropped
    EXPECT_NE(reader.getError().find(L"cannot open"), std::wstring::npos);
    EXPECT_FALSE(reader.open(folder.path("")));
    EXPECT_EQ(reader.getError(), L"not a regular file");
    EXPECT_INVARIANT(reader.getRoot(), "root_ != nullptr", "RiffFileReader");
}

}  // namespace
