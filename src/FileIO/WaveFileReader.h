#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "FileIO/RiffFileReader.h"

namespace FileIO {

// Reads the soundtrack: a RIFF "WAVE" file of PCM samples, 8 or 16 bits, mono or stereo.
// Every frame it hands out is converted to 16-bit stereo: two signed samples, left then
// right. The "fmt " and "data" chunks are looked for among the root list's direct children
// only; lists ("LIST" "INFO" and the like) are skipped, and their contents are not searched.
// A file whose sizes claim more than it holds (a recording whose sizes were never filled in,
// a copy cut short) is read up to its end: the frames are the whole frames really there.
//
// The output worker of the audio player plays through readStream(); the monitor worker and
// the waveform display read blocks with readFrames(). Each owns its own reader.
class WaveFileReader : public RiffFileReader {
public:
    // The values of getSampleFormat().
    enum SampleFormat : int {
        MONO_8 = 0,
        STEREO_8 = 1,
        MONO_16 = 2,
        STEREO_16 = 3,
    };

    WaveFileReader();
    ~WaveFileReader() override;

    // Opens a file and checks its format. Refused, with the reason in getError(): anything
    // RiffFileReader refuses, no "fmt " or "data" chunk, a "fmt " chunk shorter than 16
    // bytes, a format tag other than 1 (PCM), other than 1 or 2 channels or 8 or 16 bits, a
    // block alignment other than bits / 8 x channels, a byte rate other than block alignment
    // x sample rate, and a sample rate of 0.
    bool open(const std::wstring& path) override;
    bool openBytes(std::string bytes) override;
    void close() override;

    int getSampleFormat() const { return sampleFormat_; }
    uint32_t getSampleRate() const { return sampleRate_; }
    uint32_t getBytesPerFrame() const { return bytesPerFrame_; }
    // Whole frames of the "data" chunk as far as the file holds it; a partial frame at its
    // end is not counted.
    uint32_t getFrameCount() const { return frameCount_; }
    // The "data" chunk, or nullptr when nothing is open.
    const RiffElement* getDataChunk() const { return dataChunk_; }

    // Reads up to `count` frames from `firstFrame` into `buffer`, which holds 2 x `count`
    // samples (left, right, left, ...). Returns the frames read: fewer at the end of the
    // data, 0 from a negative first frame, at or after the end, or when nothing is open.
    // Samples beyond the frames read are unspecified (they may hold raw input bytes).
    std::size_t readFrames(int16_t* buffer, int64_t firstFrame, std::size_t count);

    // The stream position in frames; negative before the first frame (leading silence).
    void setStreamPosition(int64_t frames) { streamPosition_ = frames; }
    int64_t getStreamPosition() const { return streamPosition_; }
    // Fills all `count` frames of `buffer` from the stream position, with silence before the
    // first frame and after the last, advances the position by `count` and returns `count`.
    std::size_t readStream(int16_t* buffer, std::size_t count);

private:
    bool readFormat();
    void resetFormat();

    int sampleFormat_ = 0;
    uint32_t bytesPerFrame_ = 0;
    uint32_t sampleRate_ = 0;
    const RiffElement* dataChunk_ = nullptr;
    uint32_t frameCount_ = 0;
    int64_t streamPosition_ = 0;
};

}  // namespace FileIO
