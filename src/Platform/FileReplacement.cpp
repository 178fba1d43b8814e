#include "Platform/FileReplacement.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Platform/Utf.h"

namespace Platform {

namespace {

std::optional<std::size_t> writeLimit;

// Copies are read and written in blocks of this size, so a large soundtrack never has to
// fit in memory at once.
constexpr std::size_t kCopyBlock = 1 << 20;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name is this process's alone, so a file left there by a process that died with the
// same id is simply overwritten.
int createFile(const std::wstring& path)
{
    return ::open(toUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

// Appends all the bytes; `written` counts the bytes of the file so far, for the test seam.
bool writeAll(int fd, std::string_view bytes, std::size_t& written)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t chunk = bytes.size() - done;
        if (writeLimit) {
            if (written >= *writeLimit) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, *writeLimit - written);
        }
        const ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Syncs (when everything was written) and closes the file. A delayed write error of the
// disk shows in fsync or close, so both count.
bool finish(int fd, bool ok)
{
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

FileReplacement::FileReplacement(std::wstring target) : target_(std::move(target))
{
    static std::atomic<unsigned> counter{0};
    temporary_ = target_ + L".tmp." + std::to_wstring(::getpid()) + L"." +
                 std::to_wstring(counter.fetch_add(1));
}

FileReplacement::~FileReplacement()
{
    if (!committed_) {
        discard();
    }
}

bool FileReplacement::write(std::string_view bytes, Failure& failure)
{
    const int fd = createFile(temporary_);
    if (fd < 0) {
        failure = Failure::CREATE;
        return false;
    }
    std::size_t written = 0;
    if (!finish(fd, writeAll(fd, bytes, written))) {
        failure = Failure::WRITE;
        return false;
    }
    return true;
}

bool FileReplacement::commit()
{
    const std::string target = toUtf8(target_);
    const std::string temporary = toUtf8(temporary_);
    // The new file keeps the permissions the user gave the old one.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        (void)::chmod(temporary.c_str(), old.st_mode & 07777);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        discard();
        return false;
    }
    committed_ = true;
    // Makes the rename itself durable. Best effort: the new file is in place already, and a
    // folder that cannot be opened for syncing does not make the save a failure.
    const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    return true;
}

void FileReplacement::discard()
{
    (void)::unlink(toUtf8(temporary_).c_str());
}

bool FileReplacement::replaceWith(const std::wstring& target, std::string_view bytes,
                                  Failure& failure)
{
    FileReplacement replacement(target);
    if (!replacement.write(bytes, failure)) {
        return false;
    }
    if (!replacement.commit()) {
        failure = Failure::WRITE;
        return false;
    }
    return true;
}

bool FileReplacement::copyFile(const std::wstring& from, const std::wstring& to)
{
    // O_NONBLOCK keeps a FIFO in place of the file from blocking the open; only a regular
    // file is copied.
    const int source = ::open(toUtf8(from).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (source < 0) {
        return false;
    }
    struct stat info {};
    FileReplacement replacement(to);
    int target = -1;
    bool ok = ::fstat(source, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        target = createFile(replacement.temporary_);
        ok = target >= 0;
    }
    std::string buffer(ok ? kCopyBlock : 0, '\0');
    std::size_t written = 0;
    while (ok) {
        const ssize_t n = ::read(source, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok =
            writeAll(target, std::string_view(buffer.data(), static_cast<std::size_t>(n)), written);
    }
    ::close(source);
    if (target >= 0) {
        ok = finish(target, ok);
    }
    return ok && replacement.commit();
}

void FileReplacement::failWritesAfterForTesting(std::optional<std::size_t> bytes)
{
    writeLimit = bytes;
}

}  // namespace Platform
