#include "FileIO/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Platform/Utf.h"

namespace FileIO {

namespace {

// Reads a file through one window of 64 KiB. Parsing a chunk tree reads many 8-byte headers
// close to each other; the window turns them into a few large reads. Reads of a window or
// more (sample blocks of the audio player) go straight into the caller's buffer.
class FileSource : public ByteSource {
public:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    uint64_t size() const override { return size_; }

    std::size_t readAt(uint64_t offset, void* buffer, std::size_t length) override
    {
        if (offset >= size_) {
            return 0;
        }
        length = static_cast<std::size_t>(std::min<uint64_t>(length, size_ - offset));
        auto* out = static_cast<unsigned char*>(buffer);
        if (length >= kWindow) {
            return readDirect(offset, out, length);
        }
        if (offset < windowStart_ || offset + length > windowStart_ + windowLength_) {
            windowStart_ = offset;
            windowLength_ = readDirect(offset, window_.get(), kWindow);
        }
        const uint64_t skip = offset - windowStart_;
        const std::size_t available =
            skip < windowLength_ ? windowLength_ - static_cast<std::size_t>(skip) : 0;
        const std::size_t n = std::min(length, available);
        if (n > 0) {
            std::memcpy(out, window_.get() + skip, n);
        }
        return n;
    }

private:
    static constexpr std::size_t kWindow = 65536;

    std::size_t readDirect(uint64_t offset, unsigned char* out, std::size_t length)
    {
        length = static_cast<std::size_t>(std::min<uint64_t>(length, size_ - offset));
        std::size_t done = 0;
        while (done < length) {
            const ssize_t n =
                ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    int fd_;
    uint64_t size_;
    std::unique_ptr<unsigned char[]> window_{new unsigned char[kWindow]};
    uint64_t windowStart_ = 0;
    std::size_t windowLength_ = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}

    uint64_t size() const override { return bytes_.size(); }

    std::size_t readAt(uint64_t offset, void* buffer, std::size_t length) override
    {
        if (offset >= bytes_.size()) {
            return 0;
        }
        const std::size_t n = std::min<std::size_t>(length, bytes_.size() - offset);
        if (n > 0) {
            std::memcpy(buffer, bytes_.data() + offset, n);
        }
        return n;
    }

private:
    std::string bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> ByteSource::openFile(const std::wstring& path, std::wstring& error)
{
    // O_NONBLOCK keeps a FIFO in place of the file from blocking the open; only regular files
    // are read.
    const int fd = ::open(Platform::toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = L"cannot open the file: " + Platform::fromUtf8(std::strerror(errno));
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = L"not a regular file";
        return nullptr;
    }
    return std::make_unique<FileSource>(fd, static_cast<uint64_t>(info.st_size));
}

std::unique_ptr<ByteSource> ByteSource::fromBytes(std::string bytes)
{
    return std::make_unique<MemorySource>(std::move(bytes));
}

}  // namespace FileIO
