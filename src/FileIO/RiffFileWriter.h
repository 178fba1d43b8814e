#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileIO/FourCC.h"
#include "Platform/FileReplacement.h"

namespace FileIO {

// Writes a RIFF file: beginList() and beginChunk() open an element, the write operations
// append little-endian data to the open chunk, end() closes the innermost element and
// writes its size, and close() ends whatever is still open and closes the file.
//
// The writer writes exactly where it is told. To replace a file safely the caller opens the
// writer on a Platform::FileReplacement and commits that only after close() returned true;
// the writer flushes and syncs the file to the disk in close() for that reason.
//
// Failure is sticky. The first call that is refused (a write the disk did not take, an
// element begun inside a data chunk, a chunk outside any list, a second root list, data
// outside a chunk, an element of 4 GiB or more) returns false and marks the writer failed:
// nothing more is written, every later call returns false, and close() returns false. Data
// is buffered, so a disk failure is reported by the call that passed the buffer to the disk,
// which may be a later one than the call whose bytes were refused; close() always tells.
//
// One writer belongs to one thread.
class RiffFileWriter {
public:
    RiffFileWriter();
    // Closes as close() does when the file is still open.
    ~RiffFileWriter();
    RiffFileWriter(const RiffFileWriter&) = delete;
    RiffFileWriter& operator=(const RiffFileWriter&) = delete;

    // Creates the file, replacing one that exists. False when it cannot be created. A file
    // still open is closed first.
    bool open(const std::wstring& path);
    // Writes into the temporary file of the replacement (creating it). The descriptor stays
    // the replacement's: close() syncs the file but leaves closing it to the commit.
    bool open(Platform::FileReplacement& replacement);
    // Writes into memory instead; getBytes() has the result.
    void openInMemory();

    // Opens a list: "RIFF" when nothing is open yet, "LIST" inside another list.
    bool beginList(FourCC type);
    // Opens a data chunk inside the innermost list. The ids "RIFF" and "LIST" are refused:
    // a reader would take such a chunk for a list.
    bool beginChunk(FourCC id);

    // Appends to the open data chunk.
    bool write(const void* bytes, std::size_t length);
    bool write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }
    bool writeU8(uint8_t value);
    bool writeU16(uint16_t value);
    bool writeU32(uint32_t value);
    bool writeI32(int32_t value) { return writeU32(static_cast<uint32_t>(value)); }
    // The text as UTF-16LE code units followed by one zero unit.
    bool writeString(std::wstring_view text);

    // Ends the innermost open element: writes its size and, after odd data, one zero pad byte.
    bool end();
    // Ends a chunk still open and every open list, flushes, syncs and closes the file.
    // True when everything since open() was written; false also when nothing is open.
    bool close();
    // Ends every open element but the root and appends the integrity record
    // (RiffIntegrityRecord: the CRC-32C of every byte before it, with the root's final size)
    // as the root's last chunk. Nothing can be added after it; close() ends the root. The
    // bytes already on the disk are read back for the digest, so the file is opened for
    // reading and writing.
    bool appendIntegrityRecord();

    bool isOpen() const { return open_; }
    bool isChunkOpen() const { return chunkOpen_; }
    bool hasFailed() const { return failed_; }
    // Bytes written so far (the file offset of the next byte).
    uint64_t getPosition() const { return position_; }
    // After openInMemory(): every byte written so far, sizes included once ended.
    const std::string& getBytes() const { return buffer_; }

    // Test seam: when set, a file (or memory) refuses to grow beyond this many bytes, as a
    // full disk would. std::nullopt restores normal writing.
    static void failWritesAfterForTesting(std::optional<std::size_t> bytes);

private:
    bool refuse();
    bool append(const unsigned char* bytes, std::size_t length);
    bool appendId(FourCC id);
    bool patchSize(uint64_t at, uint32_t size);
    bool flush();
    bool digestWritten(uint64_t length, std::string& digest);
    void reset();

    int fd_ = -1;
    bool ownsFd_ = true;
    bool memory_ = false;
    bool open_ = false;
    bool failed_ = false;
    bool chunkOpen_ = false;
    bool rootEnded_ = false;
    bool sealed_ = false;               // the integrity record has been written
    std::vector<uint64_t> sizeFields_;  // file offsets of the size fields of open elements
    std::string buffer_;                // the bytes from bufferStart_ up to position_
    uint64_t bufferStart_ = 0;
    uint64_t position_ = 0;
};

}  // namespace FileIO
