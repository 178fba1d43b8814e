#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace FileIO {

// Random-access bytes for the RIFF reader: an open file or a block of memory. A source never
// hands out a byte beyond the size it had when it was opened, so a file that grows while it
// is read does not let a reader stray past what it parsed.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual uint64_t size() const = 0;
    // Copies up to `length` bytes from `offset` and returns how many were copied: fewer at
    // the end of the source or when the file can no longer be read (it shrank, a disk error).
    virtual std::size_t readAt(uint64_t offset, void* buffer, std::size_t length) = 0;

    // A regular file opened read-only; nullptr with a reason in `error` when it cannot be
    // opened or is not a regular file (a folder, a FIFO, a device).
    static std::unique_ptr<ByteSource> openFile(const std::wstring& path, std::wstring& error);
    static std::unique_ptr<ByteSource> fromBytes(std::string bytes);
};

}  // namespace FileIO
