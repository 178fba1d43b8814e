#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "FileIO/RiffTestBytes.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/Utf.h"

namespace {

using FileIO::WaveFileReader;
using namespace FileIO::TestBytes;
using Frames = std::vector<std::pair<int, int>>;

std::wstring testdata(const char* name)
{
    return Platform::fromUtf8(
        (std::filesystem::path(__FILE__).parent_path() / "testdata" / name).string());
}

std::string wave(const std::string& chunks)
{
    return list("RIFF", "WAVE", chunks);
}

// 16-bit mono whose sample at frame i is i.
std::string rampWave(int frames)
{
    std::string data;
    for (int i = 0; i < frames; ++i) {
        data += u16(static_cast<uint16_t>(i));
    }
    return wave(pcmFormat(1, 1000, 16) + chunk("data", data));
}

Frames toFrames(const std::vector<int16_t>& samples, std::size_t count)
{
    Frames frames;
    for (std::size_t i = 0; i < count; ++i) {
        frames.emplace_back(samples[2 * i], samples[2 * i + 1]);
    }
    return frames;
}

Frames readFrames(WaveFileReader& reader, int64_t first, std::size_t count)
{
    std::vector<int16_t> buffer(2 * count);
    return toFrames(buffer, reader.readFrames(buffer.data(), first, count));
}

Frames readStream(WaveFileReader& reader, std::size_t count)
{
    std::vector<int16_t> buffer(2 * count, 99);
    EXPECT_EQ(reader.readStream(buffer.data(), count), count);
    return toFrames(buffer, count);
}

TEST(WaveFileReader, ReadsTheReferenceFiles)
{
    WaveFileReader mono;
    ASSERT_TRUE(mono.open(testdata("mono8.wav"))) << Platform::toUtf8(mono.getError());
    EXPECT_EQ(mono.getSampleFormat(), WaveFileReader::MONO_8);
    EXPECT_EQ(mono.getSampleRate(), 8000u);
    EXPECT_EQ(mono.getBytesPerFrame(), 1u);
    EXPECT_EQ(mono.getFrameCount(), 5u);
    // 8-bit samples centre on 128: 0 -> -32768, 128 -> 0, 255 -> 32512; mono goes to both sides
    EXPECT_EQ(readFrames(mono, 0, 8),
              (Frames{{-32768, -32768}, {0, 0}, {32512, 32512}, {-32512, -32512}, {-256, -256}}));

    // an 18-byte "fmt " and 26 bytes of data: the seventh, partial frame is not counted
    WaveFileReader stereo;
    ASSERT_TRUE(stereo.open(testdata("stereo16.wav"))) << Platform::toUtf8(stereo.getError());
    EXPECT_EQ(stereo.getSampleFormat(), WaveFileReader::STEREO_16);
    EXPECT_EQ(stereo.getSampleRate(), 44100u);
    EXPECT_EQ(stereo.getBytesPerFrame(), 4u);
    EXPECT_EQ(stereo.getFrameCount(), 6u);
    EXPECT_EQ(readFrames(stereo, 2, 10),
              (Frames{{32767, -32768}, {-2, 256}, {0x1234, -0x1234}, {100, -100}}));
}

TEST(WaveFileReader, SampleFormatsAndTheirConversion)
{
    struct Case {
        uint16_t channels, bits;
        std::string data;
        int format;
        Frames frames;
    };
    using namespace std::string_literals;
    using W = WaveFileReader;
    const Case cases[] = {
        {1, 8, "\x80\xFF"s, W::MONO_8, {{0, 0}, {32512, 32512}}},
        {2, 8, "\x00\xFF\x80\x81"s, W::STEREO_8, {{-32768, 32512}, {0, 256}}},
        {1, 16, u16(0x8000) + u16(0x7FFF), W::MONO_16, {{-32768, -32768}, {32767, 32767}}},
        {2, 16, u16(1) + u16(0xFFFF), W::STEREO_16, {{1, -1}}},
    };
    for (const Case& c : cases) {
        WaveFileReader reader;
        ASSERT_TRUE(
            reader.openBytes(wave(pcmFormat(c.channels, 22050, c.bits) + chunk("data", c.data))));
        EXPECT_EQ(reader.getSampleFormat(), c.format);
        EXPECT_EQ(reader.getBytesPerFrame(), c.bits / 8u * c.channels);
        EXPECT_EQ(readFrames(reader, 0, 4), c.frames) << "format " << c.format;
    }
}

TEST(WaveFileReader, RefusesWhatItCannotPlay)
{
    const std::string data = chunk("data", "abcd");
    auto format = [](uint16_t tag, uint16_t channels, uint32_t rate, uint32_t byteRate,
                     uint16_t align, uint16_t bits) {
        return u16(tag) + u16(channels) + u32(rate) + u32(byteRate) + u16(align) + u16(bits);
    };
    const std::pair<std::string, const char*> cases[] = {
        {wave(data), "no \"fmt \" chunk"},
        {wave(pcmFormat(1, 8000, 8)), "no \"data\" chunk"},
        // chunks inside lists are not looked at, and a list named "data" is no data chunk
        {wave(list("LIST", "INFO", pcmFormat(1, 8000, 8)) + data), "no \"fmt \" chunk"},
        {wave(pcmFormat(1, 8000, 8) + list("LIST", "data", "")), "no \"data\" chunk"},
        {wave(chunk("fmt ", format(1, 1, 8000, 8000, 1, 8).substr(0, 14)) + data),
         "shorter than 16 bytes"},
        {wave(chunk("fmt ", format(3, 1, 8000, 32000, 4, 32)) + data), "format tag 3"},
        {wave(chunk("fmt ", format(1, 3, 8000, 24000, 3, 8)) + data), "3 channels"},
        {wave(chunk("fmt ", format(1, 0, 8000, 0, 0, 8)) + data), "0 channels"},
        {wave(chunk("fmt ", format(1, 1, 8000, 24000, 3, 24)) + data), "24 bits"},
        {wave(chunk("fmt ", format(1, 2, 8000, 16000, 2, 16)) + data), "block alignment 2"},
        {wave(chunk("fmt ", format(1, 2, 8000, 8000, 4, 16)) + data), "byte rate 8000"},
        {wave(chunk("fmt ", format(1, 1, 0, 0, 1, 8)) + data), "sample rate 0"},
        {"RIFF", "cut off"},
    };
    for (const auto& [bytes, reason] : cases) {
        WaveFileReader reader;
        EXPECT_FALSE(reader.openBytes(bytes)) << reason;
        EXPECT_NE(Platform::toUtf8(reader.getError()).find(reason), std::string::npos)
            << Platform::toUtf8(reader.getError());
        EXPECT_EQ(reader.getDataChunk(), nullptr);
        int16_t buffer[4] = {1, 2, 3, 4};
        EXPECT_EQ(reader.readFrames(buffer, 0, 2), 0u);
        EXPECT_EQ(reader.readStream(buffer, 2), 2u);
        EXPECT_EQ(std::vector<int16_t>(buffer, buffer + 4), std::vector<int16_t>(4, 0));
    }
}

TEST(WaveFileReader, ReadFramesClampsToTheData)
{
    WaveFileReader reader;
    ASSERT_TRUE(reader.openBytes(rampWave(10)));
    EXPECT_EQ(readFrames(reader, 8, 5), (Frames{{8, 8}, {9, 9}}));
    EXPECT_EQ(readFrames(reader, 10, 5), Frames{});
    EXPECT_EQ(readFrames(reader, -1, 5), Frames{});
    EXPECT_EQ(readFrames(reader, 0, 0), Frames{});
}

TEST(WaveFileReader, StreamSuppliesSilenceBeforeAndAfterTheTrack)
{
    WaveFileReader reader;
    ASSERT_TRUE(reader.openBytes(rampWave(300)));

    // 100 frames of silence, then frames 0 to 155
    reader.setStreamPosition(-100);
    Frames expected(100, {0, 0});
    for (int i = 0; i <= 155; ++i) {
        expected.emplace_back(i, i);
    }
    EXPECT_EQ(readStream(reader, 256), expected);
    EXPECT_EQ(reader.getStreamPosition(), 156);

    // the next block goes on from 156 and ends in silence after frame 299
    const Frames next = readStream(reader, 256);
    EXPECT_EQ(next[0], std::make_pair(156, 156));
    EXPECT_EQ(next[143], std::make_pair(299, 299));
    EXPECT_EQ(Frames(next.begin() + 144, next.end()), Frames(112, {0, 0}));
    EXPECT_EQ(reader.getStreamPosition(), 412);

    reader.setStreamPosition(-256);  // the data begins right after this block
    EXPECT_EQ(readStream(reader, 256), Frames(256, {0, 0}));
    EXPECT_EQ(readStream(reader, 1), (Frames{{0, 0}}));
    EXPECT_EQ(readStream(reader, 1), (Frames{{1, 1}}));

    reader.setStreamPosition(INT64_MIN);
    EXPECT_EQ(readStream(reader, 4), Frames(4, {0, 0}));
    reader.setStreamPosition(INT64_MAX - 1);
    EXPECT_EQ(readStream(reader, 4), Frames(4, {0, 0}));
    EXPECT_EQ(reader.getStreamPosition(), INT64_MAX);
}

// Files whose sizes claim more than they hold: recordings streamed to a file whose sizes were
// never filled in, and copies cut short. They are read up to the end of the file.
TEST(WaveFileReader, ReadsFilesCutShortUpToTheirEnd)
{
    std::string samples;  // 16-bit mono, sample i is i
    for (int i = 0; i < 10; ++i) {
        samples += u16(static_cast<uint16_t>(i));
    }
    const std::string format = pcmFormat(1, 8000, 16);
    const std::string whole =
        wave(format + chunk("data", samples) + list("LIST", "INFO", chunk("INAM", "name")));
    // RIFF and "data" sizes as a streaming recorder leaves them, over the samples there are
    const auto streamed = [&](const std::string& data) {
        return "RIFF" + u32(0x7FFFFFFF) + "WAVE" + format + "data" + u32(0x7FFFFFFF - 36) + data;
    };
    const std::size_t dataStart = 12 + format.size() + 8;
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t frames;
    };
    const Case cases[] = {
        {"streamed, stopped between frames", streamed(samples), 10},
        {"streamed, stopped inside a frame", streamed(samples.substr(0, 15)), 7},
        {"streamed, sizes 0xFFFFFFFF",
         "RIFF" + u32(0xFFFFFFFF) + "WAVE" + format + "data" + u32(0xFFFFFFFF) + samples, 10},
        {"copy cut inside the samples", whole.substr(0, dataStart + 13), 6},
        {"copy cut inside the header of the list after the samples",
         whole.substr(0, dataStart + 20 + 5), 10},
        {"copy cut inside the list after the samples", whole.substr(0, dataStart + 20 + 14), 10},
        {"copy cut right after the header of the samples", whole.substr(0, dataStart), 0},
    };
    for (const Case& c : cases) {
        WaveFileReader reader;
        ASSERT_TRUE(reader.openBytes(c.bytes))
            << c.name << ": " << Platform::toUtf8(reader.getError());
        EXPECT_EQ(reader.getFrameCount(), c.frames) << c.name;
        Frames expected;
        for (uint32_t i = 0; i < c.frames; ++i) {
            expected.emplace_back(i, i);
        }
        EXPECT_EQ(readFrames(reader, 0, 16), expected) << c.name;
    }

    // Damage inside the file is still damage: a chunk overrunning a list that ends before
    // the end of the file. A file cut inside the header of its "data" chunk, or inside its
    // format, has no samples.
    const std::string overrun =
        wave(format + "LIST" + u32(12) + "INFO" + "INAM" + u32(100) + chunk("data", samples));
    const std::pair<std::string, const char*> refused[] = {
        {overrun, "more than its list"},
        {whole.substr(0, dataStart - 4), "no \"data\" chunk"},
        {whole.substr(0, 12 + format.size() - 4), "no \"data\" chunk"},
    };
    for (const auto& [bytes, reason] : refused) {
        WaveFileReader reader;
        EXPECT_FALSE(reader.openBytes(bytes)) << reason;
        EXPECT_NE(Platform::toUtf8(reader.getError()).find(reason), std::string::npos)
            << Platform::toUtf8(reader.getError());
    }
}

}  // namespace
