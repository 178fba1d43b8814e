#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "FileIO/RiffTestBytes.h"
#include "Platform/TestFolder.h"

namespace {

using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;
using namespace FileIO::TestBytes;

std::string referenceFile(const char* name)
{
    std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "testdata" / name,
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Resets the write limit however a test ends.
struct WriteLimit {
    explicit WriteLimit(std::size_t bytes) { RiffFileWriter::failWritesAfterForTesting(bytes); }
    ~WriteLimit() { RiffFileWriter::failWritesAfterForTesting(std::nullopt); }
};

TEST(RiffFileWriter, WritesTheLayoutByteForByte)
{
    // The reference files were made by a separate script; the writer must produce the same.
    RiffFileWriter mono;
    mono.openInMemory();
    EXPECT_TRUE(mono.beginList("WAVE"));
    EXPECT_TRUE(mono.beginList("INFO"));
    EXPECT_TRUE(mono.beginChunk("INAM") && mono.write(std::string("Tone\0", 5)) && mono.end());
    EXPECT_TRUE(mono.end());
    EXPECT_TRUE(mono.beginChunk("fmt "));
    EXPECT_TRUE(mono.writeU16(1) && mono.writeU16(1) && mono.writeU32(8000) &&
                mono.writeU32(8000) && mono.writeU16(1) && mono.writeU16(8));
    EXPECT_TRUE(mono.end());
    EXPECT_TRUE(mono.beginChunk("data") && mono.write(std::string("\x00\x80\xFF\x01\x7F", 5)));
    EXPECT_TRUE(mono.close());  // ends the chunk and the root
    EXPECT_EQ(mono.getBytes(), referenceFile("mono8.wav"));

    RiffFileWriter stereo;
    stereo.openInMemory();
    stereo.beginList("WAVE");
    stereo.beginChunk("fmt ");
    for (uint32_t value : {1u, 2u}) {
        stereo.writeU16(static_cast<uint16_t>(value));
    }
    stereo.writeU32(44100);
    stereo.writeU32(176400);
    stereo.writeU16(4);
    stereo.writeU16(16);
    stereo.writeU16(0);
    stereo.end();
    stereo.beginChunk("data");
    for (int value : {0, 0, 1, -1, 32767, -32768, -2, 256, 0x1234, -0x1234, 100, -100}) {
        stereo.writeU16(static_cast<uint16_t>(value));
    }
    stereo.write("\xAA\xBB");
    EXPECT_TRUE(stereo.close());
    EXPECT_EQ(stereo.getBytes(), referenceFile("stereo16.wav"));
}

TEST(RiffFileWriter, RoundTripsThroughTheReader)
{
    Platform::TestFolder folder;
    RiffFileWriter writer;
    ASSERT_TRUE(writer.open(folder.path("show.fwp")));
    bool ok = writer.beginList("FWP ");
    ok = ok && writer.beginChunk("META") && writer.writeString(L"title") &&
         writer.writeString(L"Gro\u00DFes Finale \U0001F386") && writer.writeString(L"") &&
         writer.end();
    ok = ok && writer.beginList("CUE ") && writer.beginChunk("CUED") && writer.writeI32(-2) &&
         writer.writeU8(0xE4) && writer.end();
    ok = ok && writer.beginList("FIX ") && writer.beginChunk("FIXD") && writer.writeU32(7) &&
         writer.end() && writer.end() && writer.end();
    ok = ok && writer.beginChunk("EMPT") && writer.end();
    ASSERT_TRUE(ok);
    EXPECT_EQ(writer.getPosition() % 2, 0u);
    ASSERT_TRUE(writer.close());

    RiffFileReader reader;
    ASSERT_TRUE(reader.open(folder.path("show.fwp"))) << Platform::toUtf8(reader.getError());
    const auto& top = reader.getRoot().getChildren();
    ASSERT_EQ(top.size(), 3u);
    std::string bytes;
    ASSERT_TRUE(reader.readData(*top[0], bytes));
    EXPECT_EQ(RiffFileReader::splitStrings(bytes),
              (std::vector<std::wstring>{L"title", L"Gro\u00DFes Finale \U0001F386", L""}));

    const auto& cue = static_cast<const FileIO::RiffList&>(*top[1]);
    EXPECT_EQ(cue.getId(), "CUE ");
    const FileIO::RiffElement* cued = cue.findChunk("CUED");
    ASSERT_NE(cued, nullptr);
    EXPECT_EQ(cued->getSize(), 5u);  // odd: the next element follows a pad byte
    uint32_t value = 0;
    EXPECT_TRUE(reader.readU32(*cued, 0, value));
    EXPECT_EQ(static_cast<int32_t>(value), -2);
    const auto& fix = static_cast<const FileIO::RiffList&>(*cue.getChildren()[1]);
    ASSERT_EQ(fix.getChildren().size(), 1u);
    EXPECT_TRUE(reader.readU32(*fix.getChildren()[0], 0, value));
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(top[2]->getId(), "EMPT");
    EXPECT_EQ(top[2]->getSize(), 0u);
    EXPECT_EQ(reader.getRoot().getSize() + 8, reader.getFileSize());
}

TEST(RiffFileWriter, AnEmptyFormIsTwelveBytes)
{
    RiffFileWriter writer;
    writer.openInMemory();
    EXPECT_TRUE(writer.beginList("FWE "));
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(writer.getBytes(), "RIFF" + u32(4) + "FWE ");
}

TEST(RiffFileWriter, RefusesMisuseAndStaysFailed)
{
    struct Case {
        const char* name;
        bool (*misuse)(RiffFileWriter&);
    };
    const Case cases[] = {
        {"chunk before the root", [](RiffFileWriter& w) { return w.beginChunk("fmt "); }},
        {"data outside a chunk",
         [](RiffFileWriter& w) { return w.beginList("WAVE") && w.writeU8(1); }},
        {"chunk inside a chunk",
         [](RiffFileWriter& w) {
             return w.beginList("WAVE") && w.beginChunk("a   ") && w.beginChunk("b   ");
         }},
        {"list inside a chunk",
         [](RiffFileWriter& w) {
             return w.beginList("WAVE") && w.beginChunk("a   ") && w.beginList("b   ");
         }},
        {"a chunk named LIST",
         [](RiffFileWriter& w) { return w.beginList("WAVE") && w.beginChunk("LIST"); }},
        {"a second root",
         [](RiffFileWriter& w) { return w.beginList("WAVE") && w.end() && w.beginList("WAVE"); }},
        {"end with nothing open", [](RiffFileWriter& w) { return w.end(); }},
    };
    for (const Case& c : cases) {
        RiffFileWriter writer;
        writer.openInMemory();
        EXPECT_FALSE(c.misuse(writer)) << c.name;
        EXPECT_TRUE(writer.hasFailed()) << c.name;
        const std::string before = writer.getBytes();
        EXPECT_FALSE(writer.beginList("MORE")) << c.name;  // nothing more is written
        EXPECT_EQ(writer.getBytes(), before) << c.name;
        EXPECT_FALSE(writer.close()) << c.name;
    }
}

TEST(RiffFileWriter, AFullDiskFailsTheWriteAndTheClose)
{
    // In memory: the write that crosses the limit is refused at once.
    {
        WriteLimit limit(26);
        RiffFileWriter writer;
        writer.openInMemory();
        EXPECT_TRUE(writer.beginList("FWP ") && writer.beginChunk("META"));
        EXPECT_TRUE(writer.writeU32(1));  // header 12, chunk header 8, data 4: 24 bytes
        EXPECT_FALSE(writer.writeU32(2));
        EXPECT_EQ(writer.getBytes().size(), 26u);  // what the disk took
        EXPECT_FALSE(writer.end());
        EXPECT_FALSE(writer.close());
    }
    // On disk: blocks larger than the write buffer, so that sizes are patched in data that
    // has gone to the disk already.
    Platform::TestFolder folder;
    const std::string block(100000, 'x');
    const std::size_t total = 12 + 2 * (12 + 8 + block.size());
    for (const std::size_t bytes : {std::size_t{50}, std::size_t{150000}, std::size_t{1000000}}) {
        WriteLimit limit(bytes);
        RiffFileWriter writer;
        ASSERT_TRUE(writer.open(folder.path("big.riff")));
        bool ok = writer.beginList("BIG ");
        for (int i = 0; i < 2; ++i) {
            ok = ok && writer.beginList("PART") && writer.beginChunk("DATA") &&
                 writer.write(block) && writer.end() && writer.end();
        }
        const bool closed = writer.close();
        if (bytes < total) {
            EXPECT_FALSE(ok) << bytes;  // the write that crossed the limit said so
            EXPECT_FALSE(closed) << bytes;
            continue;
        }
        ASSERT_TRUE(ok && closed);
        RiffFileReader reader;
        ASSERT_TRUE(reader.open(folder.path("big.riff"))) << Platform::toUtf8(reader.getError());
        const auto& parts = reader.getRoot().getChildren();
        ASSERT_EQ(parts.size(), 2u);
        const auto& part = static_cast<const FileIO::RiffList&>(*parts[1]);
        EXPECT_EQ(part.getSize(), 4u + 8u + 100000u);
        EXPECT_EQ(part.getChildren()[0]->getSize(), 100000u);
    }
}

TEST(RiffFileWriter, ReportsADeviceThatRefusesEveryByte)
{
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    RiffFileWriter writer;
    ASSERT_TRUE(writer.open(L"/dev/full"));
    EXPECT_TRUE(writer.beginList("FWP "));  // still in the buffer
    EXPECT_FALSE(writer.close());
    EXPECT_FALSE(writer.open(L"/no/such/folder/show.fwp"));
}

TEST(RiffFileWriter, TheIntegrityRecordEndsTheFileAndCoversEveryByteBeforeIt)
{
    EXPECT_EQ(crc32c("123456789"), 0xE3069283u);  // the check value of CRC-32C

    // Written to a file (the digest reads the flushed bytes back) and into memory: the
    // bytes of the definition.
    Platform::TestFolder folder;
    RiffFileWriter file;
    RiffFileWriter memory;
    ASSERT_TRUE(file.open(folder.path("sealed.riff")));
    memory.openInMemory();
    const std::string big(200000, 'x');  // more than one buffer goes to the disk first
    for (RiffFileWriter* w : {&file, &memory}) {
        EXPECT_TRUE(w->beginList("TEST") && w->beginList("LIST") && w->beginChunk("data") &&
                    w->write(big) && w->writeU8(1));
        EXPECT_TRUE(w->appendIntegrityRecord());
        EXPECT_TRUE(w->close());
    }
    const std::string expected = withIntegrityRecord(
        list("RIFF", "TEST", list("LIST", "LIST", chunk("data", big + std::string(1, '\1')))));
    EXPECT_EQ(memory.getBytes(), expected);
    EXPECT_EQ(folder.readBytes("sealed.riff"), expected);

    RiffFileReader reader;
    ASSERT_TRUE(reader.open(folder.path("sealed.riff")));
    EXPECT_EQ(reader.checkIntegrityRecord(), RiffFileReader::IntegrityRecord::MATCHES);
    EXPECT_FALSE(reader.isDamaged());

    RiffFileWriter sealed;
    sealed.openInMemory();
    EXPECT_TRUE(sealed.beginList("TEST") && sealed.appendIntegrityRecord());
    EXPECT_FALSE(sealed.beginChunk("more"));
    EXPECT_FALSE(sealed.close());
}

}  // namespace
