// libFuzzer target: any bytes as a RIFF file and as a WAVE file. Neither reader may crash,
// leak, hang or read outside the input (the sanitizers watch that). Beyond that:
// - every element of a tree that opens lies inside its parent list and inside the file, and
//   reads of its data give exactly the input bytes there;
// - the tree, written again with RiffFileWriter, reads back as the same tree and data;
// - a file that opens also opens when damage is only noted (keepWhatCanBeRead), as the same
//   tree; with it, the tree written again with the integrity record reads back intact, and
//   one flipped bit anywhere before the record or in its digest is found;
// - the frames of a WAVE file that opens are the input samples widened to 16-bit stereo,
//   and a stream read gives silence before the first frame and after the last.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "FileIO/RiffIntegrityRecord.h"
#include "FileIO/WaveFileReader.h"

namespace {

using FileIO::RiffElement;
using FileIO::RiffFileReader;
using FileIO::RiffList;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Checks the placement and data of every element under `list` and copies the tree into
// `writer`. Returns the number of elements.
std::size_t walk(RiffFileReader& reader, const std::string& input, const RiffList& list,
                 FileIO::RiffFileWriter& writer)
{
    const uint64_t end = list.getDataOffset() + list.getSize();
    check(end <= input.size());
    std::size_t count = 0;
    uint64_t previous = list.getDataOffset() + 4;
    for (const auto& child : list.getChildren()) {
        ++count;
        check(child->getDataOffset() >= previous + 8);  // after the header of the child
        check(child->getDataOffset() + child->getSize() <= end);
        previous = child->getDataOffset() + child->getSize();
        if (child->isChunk()) {
            std::string data;
            check(reader.readData(*child, data));
            check(data ==
                  input.substr(static_cast<std::size_t>(child->getDataOffset()), child->getSize()));
            check(writer.beginChunk(child->getId()) && writer.write(data) && writer.end());
        } else {
            const auto& sublist = static_cast<const RiffList&>(*child);
            check(child->getSize() >= 4);
            check(writer.beginList(child->getId()));
            count += walk(reader, input, sublist, writer);
            check(writer.end());
        }
    }
    return count;
}

// The same tree: ids, kinds, chunk sizes and chunk data. List sizes may differ, since the
// writer counts the pad byte of a list's last chunk and some files do not.
bool sameTree(RiffFileReader& a, const RiffList& x, RiffFileReader& b, const RiffList& y)
{
    if (x.getId() != y.getId() || x.getChildren().size() != y.getChildren().size()) {
        return false;
    }
    for (std::size_t i = 0; i < x.getChildren().size(); ++i) {
        const RiffElement& p = *x.getChildren()[i];
        const RiffElement& q = *y.getChildren()[i];
        if (p.isChunk() != q.isChunk() || p.getId() != q.getId()) {
            return false;
        }
        if (p.isChunk()) {
            std::string pd, qd;
            if (!a.readData(p, pd) || !b.readData(q, qd) || pd != qd) {
                return false;
            }
        } else if (!sameTree(a, static_cast<const RiffList&>(p), b,
                             static_cast<const RiffList&>(q))) {
            return false;
        }
    }
    return true;
}

void fuzzRiff(const std::string& input)
{
    RiffFileReader reader;
    if (!reader.openBytes(input)) {
        check(!reader.getError().empty() && !reader.isOpen());
        return;
    }
    const RiffList& root = reader.getRoot();
    check(root.getDataOffset() == 8);
    FileIO::RiffFileWriter writer;
    writer.openInMemory();
    check(writer.beginList(root.getId()));
    const std::size_t elements = walk(reader, input, root, writer);
    check(elements <= input.size() / 8);  // each element stands for at least 8 bytes
    check(writer.close());

    RiffFileReader again;
    check(again.openBytes(writer.getBytes()));
    check(sameTree(reader, root, again, again.getRoot()));
}

// Copies the children of `list` into the writer, leaving out integrity records at the top.
void copyTree(RiffFileReader& reader, const RiffList& list, FileIO::RiffFileWriter& writer,
              bool top)
{
    for (const auto& child : list.getChildren()) {
        if (child->isChunk()) {
            if (top && child->getId() == FileIO::RiffIntegrityRecord::kId) {
                continue;
            }
            std::string data;
            check(reader.readData(*child, data));
            check(writer.beginChunk(child->getId()) && writer.write(data) && writer.end());
        } else {
            check(writer.beginList(child->getId()));
            copyTree(reader, static_cast<const RiffList&>(*child), writer, false);
            check(writer.end());
        }
    }
}

void fuzzDamage(const std::string& input)
{
    RiffFileReader strict;
    const bool strictOpened = strict.openBytes(input);
    RiffFileReader reader;
    reader.setKeepWhatCanBeRead(true);
    if (!reader.openBytes(input)) {
        check(!strictOpened);
        return;
    }
    if (strictOpened) {
        check(sameTree(strict, strict.getRoot(), reader, reader.getRoot()));
    }
    FileIO::RiffFileWriter writer;
    writer.openInMemory();
    check(writer.beginList(reader.getRoot().getId()));
    copyTree(reader, reader.getRoot(), writer, true);
    check(writer.appendIntegrityRecord() && writer.close());
    const std::string sealed = writer.getBytes();

    RiffFileReader intact;
    intact.setKeepWhatCanBeRead(true);
    check(intact.openBytes(sealed) && !intact.isDamaged());
    check(intact.checkIntegrityRecord() == RiffFileReader::IntegrityRecord::MATCHES);

    // One bit, chosen by the input, before the record or in its digest.
    const std::size_t recordAt = sealed.size() - FileIO::RiffIntegrityRecord::kChunkSize;
    std::size_t at = 0;
    for (char c : input) {
        at = at * 31 + static_cast<unsigned char>(c);
    }
    at %= recordAt + FileIO::RiffIntegrityRecord::kDigestSize;
    if (at >= recordAt) {
        at += 8;
    }
    std::string flipped = sealed;
    flipped[at] = static_cast<char>(flipped[at] ^ (1 << (input.size() % 8)));
    RiffFileReader damaged;
    damaged.setKeepWhatCanBeRead(true);
    check(!damaged.openBytes(flipped) || damaged.isDamaged() ||
          damaged.checkIntegrityRecord() == RiffFileReader::IntegrityRecord::DIFFERS);
}

// A sample of the input, widened as the reader must.
int16_t expectedSample(const std::string& input, uint64_t offset, bool eightBit)
{
    const auto byte = [&](uint64_t at) { return static_cast<unsigned char>(input[at]); };
    if (eightBit) {
        return static_cast<int16_t>((byte(offset) - 128) * 256);
    }
    return static_cast<int16_t>(static_cast<uint16_t>(byte(offset) | (byte(offset + 1) << 8)));
}

void checkFrames(const std::string& input, const FileIO::WaveFileReader& wave,
                 const int16_t* samples, uint64_t firstFrame, std::size_t frames)
{
    const int format = wave.getSampleFormat();
    const bool eightBit = format < 2;
    const bool stereo = format % 2 == 1;
    const unsigned sampleBytes = eightBit ? 1 : 2;
    for (std::size_t i = 0; i < frames; ++i) {
        const uint64_t at =
            wave.getDataChunk()->getDataOffset() + (firstFrame + i) * wave.getBytesPerFrame();
        const int16_t left = expectedSample(input, at, eightBit);
        const int16_t right = stereo ? expectedSample(input, at + sampleBytes, eightBit) : left;
        check(samples[2 * i] == left && samples[2 * i + 1] == right);
    }
}

void fuzzWave(const std::string& input)
{
    FileIO::WaveFileReader wave;
    if (!wave.openBytes(input)) {
        check(!wave.getError().empty() && wave.getDataChunk() == nullptr);
        return;
    }
    const int format = wave.getSampleFormat();
    check(format >= 0 && format <= 3);
    check(wave.getBytesPerFrame() == (format % 2 == 1 ? 2u : 1u) * (format >= 2 ? 2u : 1u));
    check(wave.getSampleRate() > 0);
    const uint32_t frames = wave.getFrameCount();
    check(frames == wave.getDataChunk()->getSize() / wave.getBytesPerFrame());

    constexpr std::size_t kBlock = 64;
    std::vector<int16_t> buffer(2 * kBlock);
    std::size_t read = wave.readFrames(buffer.data(), 0, kBlock);
    check(read == std::min<std::size_t>(frames, kBlock));
    checkFrames(input, wave, buffer.data(), 0, read);

    const uint64_t last = frames > 3 ? frames - 3 : 0;
    read = wave.readFrames(buffer.data(), static_cast<int64_t>(last), kBlock);
    check(read == frames - last);
    checkFrames(input, wave, buffer.data(), last, read);
    check(wave.readFrames(buffer.data(), frames, kBlock) == 0);

    // 5 frames of leading silence, then the data, then silence after its end
    wave.setStreamPosition(-5);
    check(wave.readStream(buffer.data(), kBlock) == kBlock);
    check(wave.getStreamPosition() == static_cast<int64_t>(kBlock) - 5);
    const std::size_t data = std::min<std::size_t>(frames, kBlock - 5);
    for (std::size_t i = 0; i < kBlock; ++i) {
        if (i < 5 || i >= 5 + data) {
            check(buffer[2 * i] == 0 && buffer[2 * i + 1] == 0);
        }
    }
    checkFrames(input, wave, buffer.data() + 10, 0, data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzzRiff(input);
    fuzzDamage(input);
    fuzzWave(input);
    return 0;
}
