#include "Project/Operations/ProjectFileReplacement.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Platform/Utf.h"

namespace Project {

namespace {

std::optional<std::size_t> writeLimit;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        if (writeLimit) {
            if (written >= *writeLimit) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, *writeLimit - written);
        }
        const ssize_t n = ::write(fd, bytes.data() + written, chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

ProjectFileReplacement::ProjectFileReplacement(std::wstring target) : target_(std::move(target))
{
    static std::atomic<unsigned> counter{0};
    temporary_ = target_ + L".tmp." + std::to_wstring(::getpid()) + L"." +
                 std::to_wstring(counter.fetch_add(1));
}

ProjectFileReplacement::~ProjectFileReplacement()
{
    if (!committed_) {
        discard();
    }
}

bool ProjectFileReplacement::write(std::string_view bytes, bool& opened)
{
    const int fd = ::open(Platform::toUtf8(temporary_).c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    opened = fd >= 0;
    if (!opened) {
        return false;
    }
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

bool ProjectFileReplacement::commit()
{
    const std::string target = Platform::toUtf8(target_);
    const std::string temporary = Platform::toUtf8(temporary_);
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
    // Makes the rename itself durable. Best effort: the new file is in place already.
    const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    return true;
}

void ProjectFileReplacement::discard()
{
    (void)::unlink(Platform::toUtf8(temporary_).c_str());
}

bool ProjectFileReplacement::replaceWith(const std::wstring& target, std::string_view bytes,
                                         std::wstring& errorKey)
{
    ProjectFileReplacement replacement(target);
    bool opened = false;
    if (!replacement.write(bytes, opened)) {
        errorKey =
            opened ? L"ERROR.FAILED_TO_WRITE_TO_FILE" : L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING";
        return false;
    }
    if (!replacement.commit()) {
        errorKey = L"ERROR.FAILED_TO_WRITE_TO_FILE";
        return false;
    }
    return true;
}

bool ProjectFileReplacement::copyFile(const std::wstring& from, const std::wstring& to)
{
    // O_NONBLOCK keeps a FIFO in place of the file from blocking the open; only a regular
    // file is copied.
    const int source = ::open(Platform::toUtf8(from).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (source < 0) {
        return false;
    }
    struct stat info {};
    ProjectFileReplacement replacement(to);
    int target = -1;
    bool ok = ::fstat(source, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        target = ::open(Platform::toUtf8(replacement.getTemporaryPath()).c_str(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        ok = target >= 0;
    }
    std::string buffer(1 << 20, '\0');
    while (ok) {
        const ssize_t n = ::read(source, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = writeAll(target, std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    ::close(source);
    if (target >= 0) {
        ok = ::fsync(target) == 0 && ok;
        ok = ::close(target) == 0 && ok;
    }
    return ok && replacement.commit();
}

void ProjectFileReplacement::failWritesAfterForTesting(std::optional<std::size_t> bytes)
{
    writeLimit = bytes;
}

}  // namespace Project
