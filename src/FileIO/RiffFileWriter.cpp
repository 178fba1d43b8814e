#include "FileIO/RiffFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "FileIO/RiffIntegrityRecord.h"
#include "Platform/Utf.h"

namespace FileIO {

namespace {

// Data goes to the disk in blocks of this size (a project file of thousands of cues is
// written in a few calls, not one per value).
constexpr std::size_t kFlushSize = 65536;

std::optional<std::size_t> writeLimit;

bool writeAllAt(int fd, const char* bytes, std::size_t length, uint64_t offset)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pwrite(fd, bytes + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void putU32(unsigned char* out, uint32_t value)
{
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    out[2] = static_cast<unsigned char>(value >> 16);
    out[3] = static_cast<unsigned char>(value >> 24);
}

}  // namespace

RiffFileWriter::RiffFileWriter() = default;

RiffFileWriter::~RiffFileWriter()
{
    if (open_) {
        close();
    }
}

void RiffFileWriter::reset()
{
    if (fd_ >= 0 && ownsFd_) {
        ::close(fd_);
    }
    fd_ = -1;
    ownsFd_ = true;
    memory_ = false;
    open_ = false;
    failed_ = false;
    chunkOpen_ = false;
    rootEnded_ = false;
    sealed_ = false;
    sizeFields_.clear();
    buffer_.clear();
    bufferStart_ = 0;
    position_ = 0;
}

bool RiffFileWriter::open(const std::wstring& path)
{
    if (open_) {
        close();
    }
    reset();
    fd_ = ::open(Platform::toUtf8(path).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    open_ = fd_ >= 0;
    return open_;
}

bool RiffFileWriter::open(Platform::FileReplacement& replacement)
{
    if (open_) {
        close();
    }
    reset();
    fd_ = replacement.open();
    ownsFd_ = false;
    open_ = fd_ >= 0;
    return open_;
}

void RiffFileWriter::openInMemory()
{
    if (open_) {
        close();
    }
    reset();
    memory_ = true;
    open_ = true;
}

bool RiffFileWriter::refuse()
{
    failed_ = true;
    return false;
}

bool RiffFileWriter::append(const unsigned char* bytes, std::size_t length)
{
    if (!open_ || failed_) {
        return false;
    }
    std::size_t accepted = length;
    if (writeLimit && position_ + length > *writeLimit) {
        accepted = position_ < *writeLimit ? static_cast<std::size_t>(*writeLimit - position_) : 0;
    }
    buffer_.append(reinterpret_cast<const char*>(bytes), accepted);
    position_ += accepted;
    if (accepted < length) {
        return refuse();
    }
    if (!memory_ && buffer_.size() >= kFlushSize) {
        return flush();
    }
    return true;
}

bool RiffFileWriter::flush()
{
    if (memory_ || buffer_.empty()) {
        return true;
    }
    if (!writeAllAt(fd_, buffer_.data(), buffer_.size(), bufferStart_)) {
        return refuse();
    }
    bufferStart_ += buffer_.size();
    buffer_.clear();
    return true;
}

bool RiffFileWriter::appendId(FourCC id)
{
    const unsigned char bytes[4] = {id.byte(0), id.byte(1), id.byte(2), id.byte(3)};
    return append(bytes, sizeof bytes);
}

bool RiffFileWriter::patchSize(uint64_t at, uint32_t size)
{
    unsigned char bytes[4];
    putU32(bytes, size);
    if (at >= bufferStart_) {
        for (std::size_t i = 0; i < 4; ++i) {
            buffer_[static_cast<std::size_t>(at - bufferStart_) + i] = static_cast<char>(bytes[i]);
        }
        return true;
    }
    // The size field has gone to the disk already; overwriting it does not grow the file.
    if (!flush() || !writeAllAt(fd_, reinterpret_cast<const char*>(bytes), sizeof bytes, at)) {
        return refuse();
    }
    return true;
}

bool RiffFileWriter::beginList(FourCC type)
{
    if (!open_ || failed_ || chunkOpen_ || rootEnded_ || sealed_) {
        return refuse();
    }
    const unsigned char zero[4] = {0, 0, 0, 0};
    if (!appendId(sizeFields_.empty() ? FourCC("RIFF") : FourCC("LIST"))) {
        return false;
    }
    sizeFields_.push_back(position_);
    return append(zero, sizeof zero) && appendId(type);
}

bool RiffFileWriter::beginChunk(FourCC id)
{
    if (!open_ || failed_ || chunkOpen_ || sizeFields_.empty() || sealed_ || id == "RIFF" ||
        id == "LIST") {
        return refuse();
    }
    const unsigned char zero[4] = {0, 0, 0, 0};
    if (!appendId(id)) {
        return false;
    }
    sizeFields_.push_back(position_);
    chunkOpen_ = true;
    return append(zero, sizeof zero);
}

bool RiffFileWriter::write(const void* bytes, std::size_t length)
{
    if (!chunkOpen_) {
        return refuse();
    }
    return append(static_cast<const unsigned char*>(bytes), length);
}

bool RiffFileWriter::writeU8(uint8_t value)
{
    return write(&value, 1);
}

bool RiffFileWriter::writeU16(uint16_t value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value),
                                    static_cast<unsigned char>(value >> 8)};
    return write(bytes, sizeof bytes);
}

bool RiffFileWriter::writeU32(uint32_t value)
{
    unsigned char bytes[4];
    putU32(bytes, value);
    return write(bytes, sizeof bytes);
}

bool RiffFileWriter::writeString(std::wstring_view text)
{
    std::string bytes;
    const std::u16string units = Platform::toUtf16(text);
    bytes.reserve(2 * units.size() + 2);
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    bytes.append(2, '\0');
    return write(bytes);
}

bool RiffFileWriter::end()
{
    if (!open_ || failed_ || sizeFields_.empty()) {
        return refuse();
    }
    const uint64_t at = sizeFields_.back();
    sizeFields_.pop_back();
    chunkOpen_ = false;  // a chunk, when open, is always the innermost element
    const uint64_t size = position_ - at - 4;
    if (size > UINT32_MAX || !patchSize(at, static_cast<uint32_t>(size))) {
        return refuse();
    }
    if (sizeFields_.empty()) {
        rootEnded_ = true;
    }
    if (position_ % 2 != 0) {
        const unsigned char pad = 0;
        return append(&pad, 1);
    }
    return true;
}

bool RiffFileWriter::close()
{
    if (!open_) {
        return false;
    }
    while (!failed_ && !sizeFields_.empty()) {
        end();
    }
    if (!memory_) {
        if (!flush() || ::fsync(fd_) != 0) {
            failed_ = true;
        }
        if (ownsFd_ && ::close(fd_) != 0) {
            failed_ = true;
        }
        fd_ = -1;
        ownsFd_ = true;
    }
    open_ = false;
    return !failed_;
}

// The digest of the first `length` bytes written, read back from the disk for what has
// been flushed.
bool RiffFileWriter::digestWritten(uint64_t length, std::string& digest)
{
    IntegrityDigest hash;
    if (memory_) {
        hash.update(buffer_.data(), static_cast<std::size_t>(length));
        digest = hash.finish();
        return true;
    }
    if (!flush()) {
        return false;
    }
    // Mapped, the written pages are read in place, without a copy.
    if (length > 0) {
        void* mapped = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ,
                              MAP_SHARED | MAP_POPULATE, fd_, 0);
        if (mapped != MAP_FAILED) {
            hash.update(mapped, static_cast<std::size_t>(length));
            ::munmap(mapped, static_cast<std::size_t>(length));
            digest = hash.finish();
            return true;
        }
    }
    constexpr std::size_t kBlock = 1 << 20;
    std::string block(kBlock, '\0');
    for (uint64_t done = 0; done < length;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<uint64_t>(kBlock, length - done));
        const ssize_t n = ::pread(fd_, block.data(), want, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return refuse();
        }
        hash.update(block.data(), static_cast<std::size_t>(n));
        done += static_cast<uint64_t>(n);
    }
    digest = hash.finish();
    return true;
}

bool RiffFileWriter::appendIntegrityRecord()
{
    if (!open_ || failed_ || sealed_ || sizeFields_.empty()) {
        return refuse();
    }
    while (!failed_ && sizeFields_.size() > 1) {
        end();
    }
    if (failed_) {
        return false;
    }
    // The root's size is final once the record is counted in, so the digest covers it.
    const uint64_t recordAt = position_;
    const uint64_t rootSize = recordAt + RiffIntegrityRecord::kChunkSize - sizeFields_[0] - 4;
    std::string digest;
    const bool ok = rootSize <= UINT32_MAX &&
                    patchSize(sizeFields_[0], static_cast<uint32_t>(rootSize)) &&
                    digestWritten(recordAt, digest) && beginChunk(RiffIntegrityRecord::kId) &&
                    write(digest) && end();
    sealed_ = true;
    return ok || refuse();
}

void RiffFileWriter::failWritesAfterForTesting(std::optional<std::size_t> bytes)
{
    writeLimit = bytes;
}

}  // namespace FileIO
