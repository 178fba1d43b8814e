#include "FileIO/WaveFileReader.h"

#include <algorithm>
#include <cstdint>

#include "Platform/Assert.h"

namespace FileIO {

namespace {

int16_t from8Bit(unsigned char sample)
{
    // Unsigned 8-bit PCM centres on 128: 0 becomes -32768, 128 becomes 0, 255 becomes 32512.
    return static_cast<int16_t>(sample * 256 - 32768);
}

int16_t from16Bit(unsigned char low, unsigned char high)
{
    return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

}  // namespace

WaveFileReader::WaveFileReader()
{
    // A recording streamed to a file and stopped, or a copy cut short by a full disk, claims
    // more than it holds; the samples that are there still play.
    acceptCutShortFiles(true);
}

WaveFileReader::~WaveFileReader() = default;

bool WaveFileReader::open(const std::wstring& path)
{
    resetFormat();
    return RiffFileReader::open(path) && readFormat();
}

bool WaveFileReader::openBytes(std::string bytes)
{
    resetFormat();
    return RiffFileReader::openBytes(std::move(bytes)) && readFormat();
}

void WaveFileReader::close()
{
    resetFormat();
    RiffFileReader::close();
}

void WaveFileReader::resetFormat()
{
    sampleFormat_ = 0;
    bytesPerFrame_ = 0;
    sampleRate_ = 0;
    dataChunk_ = nullptr;
    frameCount_ = 0;
    streamPosition_ = 0;
}

bool WaveFileReader::readFormat()
{
    const RiffList& root = getRoot();
    const RiffElement* format = root.findChunk("fmt ");
    const RiffElement* data = root.findChunk("data");
    if (!format) {
        return fail(L"no \"fmt \" chunk");
    }
    if (!data) {
        return fail(L"no \"data\" chunk");
    }
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint32_t byteRate = 0;
    uint16_t align = 0;
    uint16_t bits = 0;
    if (format->getSize() < 16 || !readU16(*format, 0, tag) || !readU16(*format, 2, channels) ||
        !readU32(*format, 4, rate) || !readU32(*format, 8, byteRate) ||
        !readU16(*format, 12, align) || !readU16(*format, 14, bits)) {
        return fail(L"the \"fmt \" chunk is shorter than 16 bytes");
    }
    if (tag != 1) {
        return fail(L"format tag " + std::to_wstring(tag) + L" is not PCM");
    }
    if (channels != 1 && channels != 2) {
        return fail(std::to_wstring(channels) + L" channels (1 or 2 are played)");
    }
    if (bits != 8 && bits != 16) {
        return fail(std::to_wstring(bits) + L" bits per sample (8 or 16 are played)");
    }
    if (align != bits / 8 * channels) {
        return fail(L"block alignment " + std::to_wstring(align) + L" does not fit " +
                    std::to_wstring(channels) + L" channels of " + std::to_wstring(bits) +
                    L" bits");
    }
    // A rate of 0 would pass the byte-rate check below and then divide by zero wherever a
    // position is turned into time.
    if (rate == 0) {
        return fail(L"sample rate 0");
    }
    if (static_cast<uint64_t>(align) * rate != byteRate) {
        return fail(L"byte rate " + std::to_wstring(byteRate) + L" is not block alignment x " +
                    L"sample rate " + std::to_wstring(rate));
    }
    sampleFormat_ = channels - (bits == 8 ? 2 : 0) + 1;
    sampleRate_ = rate;
    bytesPerFrame_ = align;
    dataChunk_ = data;
    frameCount_ = data->getSize() / align;
    streamPosition_ = 0;
    return true;
}

std::size_t WaveFileReader::readFrames(int16_t* buffer, int64_t firstFrame, std::size_t count)
{
    if (!dataChunk_ || firstFrame < 0 || firstFrame >= frameCount_ || count == 0) {
        return 0;
    }
    SKY_ASSERT(buffer != nullptr, "WaveFileReader");
    const uint64_t left = frameCount_ - static_cast<uint64_t>(firstFrame);
    const std::size_t frames = static_cast<std::size_t>(std::min<uint64_t>(count, left));
    // The raw frames go to the start of the buffer and are widened in place from the last
    // frame to the first: an output frame (4 bytes) never starts before its input frame, so
    // no input is overwritten before it is converted.
    auto* bytes = reinterpret_cast<unsigned char*>(buffer);
    const std::size_t got =
        readChunk(*dataChunk_, static_cast<uint64_t>(firstFrame) * bytesPerFrame_, bytes,
                  frames * bytesPerFrame_);
    const std::size_t read = got / bytesPerFrame_;
    for (std::size_t i = read; i-- > 0;) {
        const unsigned char* in = bytes + i * bytesPerFrame_;
        int16_t left16 = 0;
        int16_t right16 = 0;
        switch (sampleFormat_) {
            case MONO_8: left16 = right16 = from8Bit(in[0]); break;
            case STEREO_8:
                left16 = from8Bit(in[0]);
                right16 = from8Bit(in[1]);
                break;
            case MONO_16: left16 = right16 = from16Bit(in[0], in[1]); break;
            default:
                left16 = from16Bit(in[0], in[1]);
                right16 = from16Bit(in[2], in[3]);
                break;
        }
        buffer[2 * i] = left16;
        buffer[2 * i + 1] = right16;
    }
    return read;
}

std::size_t WaveFileReader::readStream(int16_t* buffer, std::size_t count)
{
    if (count == 0) {
        return 0;
    }
    SKY_ASSERT(buffer != nullptr, "WaveFileReader");
    const int64_t position = streamPosition_;
    std::size_t start = 0;  // the first frame of the block that holds data
    std::size_t read = 0;
    if (position < 0) {
        // Leading silence; the data begins inside this block when -position < count.
        const uint64_t silent = static_cast<uint64_t>(-(position + 1)) + 1;
        start = static_cast<std::size_t>(std::min<uint64_t>(silent, count));
        std::fill(buffer, buffer + 2 * start, int16_t{0});
        if (start < count) {
            read = readFrames(buffer + 2 * start, 0, count - start);
        }
    } else {
        read = readFrames(buffer, position, count);
    }
    // Silence after the data; this also clears raw bytes that readFrames may leave behind.
    std::fill(buffer + 2 * (start + read), buffer + 2 * count, int16_t{0});
    const auto step = static_cast<int64_t>(std::min<uint64_t>(count, INT64_MAX));
    streamPosition_ = position > INT64_MAX - step ? INT64_MAX : position + step;
    return count;
}

}  // namespace FileIO
