#include "Platform/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Platform/Log.h"
#include "Platform/SignalCleanup.h"
#include "Platform/Utf.h"

namespace Platform {

namespace {

std::optional<std::size_t> writeLimit;

// Copies are read and written in blocks of this size, so a large soundtrack never has to
// fit in memory at once.
constexpr std::size_t kCopyBlock = 1 << 20;
// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;
// Names taken by chance (or planted) are skipped; this many tries cannot all collide.
constexpr int kNameTries = 64;
// The temporary name keeps this much of the file's name, so it stays within the system's
// limit for one name.
constexpr std::size_t kNameKept = 32;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows the symbolic links at the end of the path to the file they name (which need not
// exist yet). Empty after too many links, as for a loop.
std::string followLinks(std::string path)
{
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string link(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) {
            return {};
        }
        link.resize(static_cast<std::size_t>(n));
        path = link[0] == '/' ? link : folderOf(path) + "/" + link;
    }
    return {};
}

// 16 hexadecimal digits no one can guess.
std::string randomSuffix()
{
    unsigned char bytes[8] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        std::random_device device;
        for (unsigned char& byte : bytes) {
            byte = static_cast<unsigned char>(device());
        }
    }
    char text[17];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(text + 2 * i, 3, "%02x", bytes[i]);
    }
    return std::string(text, 16);
}

// A fresh hidden name beside `file`: ".NAME.XXXXXXXXXXXXXXXX.tmp".
std::string temporaryNameFor(const std::string& file)
{
    const std::size_t slash = file.find_last_of('/');
    std::wstring name = fromUtf8(slash == std::string::npos ? file : file.substr(slash + 1));
    name.resize(std::min(name.size(), kNameKept));
    const std::string folder = slash == std::string::npos ? "" : file.substr(0, slash + 1);
    return folder + "." + toUtf8(name) + "." + randomSuffix() + ".tmp";
}

// Creates a file of ours beside `file` under a fresh name, exclusively and never through a
// link; open for reading too, since a writer may read back what it wrote (the RIFF writer's
// integrity record). -1 when that fails for another reason than a name already taken.
int createBeside(const std::string& file, std::string& created)
{
    for (int tries = 0; tries < kNameTries; ++tries) {
        const std::string candidate = temporaryNameFor(file);
        const int fd =
            ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            created = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

// Appends all the bytes. With `written` the bytes of the file so far are counted, for the
// test seam; without it nothing limits the writing.
bool writeAll(int fd, std::string_view bytes, std::size_t* written)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t chunk = bytes.size() - done;
        if (writeLimit && written != nullptr) {
            if (*written >= *writeLimit) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, *writeLimit - *written);
        }
        const ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
        if (written != nullptr) {
            *written += static_cast<std::size_t>(n);
        }
    }
    return true;
}

// Copies what is left to read of `source` to the end of `target`.
bool copyAll(int source, int target, std::size_t* written)
{
    std::string buffer(kCopyBlock, '\0');
    for (;;) {
        const ssize_t n = ::read(source, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        if (!writeAll(target, std::string_view(buffer.data(), static_cast<std::size_t>(n)),
                      written)) {
            return false;
        }
    }
}

void syncFolderOf(const std::string& file)
{
    // Makes a rename durable. Best effort: the file is in place already, and a folder that
    // cannot be opened for syncing does not make the save a failure.
    const int folder = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
}

// Keeps the regular file `file` as `file`.bak: a second name for it where the system has
// hard links, else a copy. The backup takes the place of an older one in one rename, so
// there is always a whole backup or the older one.
bool keepBackup(const std::string& file)
{
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) {
        return errno == ENOENT;  // nothing to keep: the first save
    }
    if (!S_ISREG(info.st_mode)) {
        return false;
    }
    std::string staging;
    for (int tries = 0; tries < kNameTries && staging.empty(); ++tries) {
        const std::string candidate = temporaryNameFor(file);
        if (::link(file.c_str(), candidate.c_str()) == 0) {
            staging = candidate;
        } else if (errno != EEXIST) {
            break;
        }
    }
    int ticket = -1;
    if (staging.empty()) {
        // No hard links on this file system: copy.
        const int source = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (source < 0) {
            return false;
        }
        const int target = createBeside(file, staging);
        bool ok = target >= 0;
        if (ok) {
            ticket = SignalCleanup::watch(staging);
            ok = ::fchmod(target, info.st_mode & 07777) == 0 && copyAll(source, target, nullptr);
            ok = ::fsync(target) == 0 && ok;
            ok = ::close(target) == 0 && ok;
        }
        ::close(source);
        if (!ok) {
            if (target >= 0) {
                (void)::unlink(staging.c_str());
            }
            SignalCleanup::unwatch(ticket);
            return false;
        }
    } else {
        ticket = SignalCleanup::watch(staging);
    }
    const bool placed = ::rename(staging.c_str(), (file + ".bak").c_str()) == 0;
    // A rename onto another name of the same file does nothing and leaves the staging name
    // (the backup was already this file, after a save whose last step failed).
    struct stat left {};
    if (!placed || (::lstat(staging.c_str(), &left) == 0 && left.st_ino == info.st_ino &&
                    left.st_dev == info.st_dev)) {
        (void)::unlink(staging.c_str());
    }
    SignalCleanup::unwatch(ticket);
    return placed;
}

}  // namespace

FileReplacement::FileReplacement(std::wstring target, Backup backup)
    : target_(std::move(target)), backup_(backup)
{
    destinationBytes_ = followLinks(toUtf8(target_));
    destination_ = destinationBytes_.empty() ? target_ : fromUtf8(destinationBytes_);
}

FileReplacement::~FileReplacement()
{
    if (!committed_) {
        discard();
    }
}

int FileReplacement::open()
{
    if (fd_ >= 0 || committed_) {
        return fd_;
    }
    if (destinationBytes_.empty()) {
        errno = ELOOP;
        return -1;
    }
    fd_ = createBeside(destinationBytes_, temporaryBytes_);
    if (fd_ < 0) {
        return -1;
    }
    temporary_ = fromUtf8(temporaryBytes_);
    ticket_ = SignalCleanup::watch(temporaryBytes_);
    // The new file keeps the permissions the user gave the old one, from the start: a private
    // file is never readable by others through its replacement.
    struct stat old {};
    if (::stat(destinationBytes_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        (void)::fchmod(fd_, old.st_mode & 07777);
    }
    return fd_;
}

bool FileReplacement::write(std::string_view bytes, Failure& failure)
{
    const int fd = open();
    if (fd < 0) {
        failure = Failure::CREATE;
        return false;
    }
    std::size_t written = 0;
    // A delayed write error of the disk shows in fsync, so it counts.
    if (!writeAll(fd, bytes, &written) || ::fsync(fd) != 0) {
        failure = Failure::WRITE;
        return false;
    }
    return true;
}

bool FileReplacement::commit()
{
    if (fd_ < 0 || committed_) {
        return false;
    }
    bool ok = ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (!ok) {
        discard();
        return false;
    }
    if (backup_ == Backup::KEEP_PREVIOUS && !keepBackup(destinationBytes_)) {
        logLine(L"The previous version of " + destination_ + L" could not be kept as " +
                backupPathFor(destination_) + L".");
    }
    if (::rename(temporaryBytes_.c_str(), destinationBytes_.c_str()) != 0) {
        discard();
        return false;
    }
    committed_ = true;
    SignalCleanup::unwatch(ticket_);
    ticket_ = -1;
    syncFolderOf(destinationBytes_);
    return true;
}

void FileReplacement::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporaryBytes_.empty()) {
        (void)::unlink(temporaryBytes_.c_str());
        temporaryBytes_.clear();
    }
    SignalCleanup::unwatch(ticket_);
    ticket_ = -1;
}

bool FileReplacement::replaceWith(const std::wstring& target, std::string_view bytes,
                                  Failure& failure, Backup backup)
{
    FileReplacement replacement(target, backup);
    if (!replacement.write(bytes, failure)) {
        return false;
    }
    if (!replacement.commit()) {
        failure = Failure::WRITE;
        return false;
    }
    return true;
}

bool FileReplacement::copyFile(const std::wstring& from, const std::wstring& to, Backup backup)
{
    // O_NONBLOCK keeps a FIFO in place of the file from blocking the open; only a regular
    // file is copied.
    const int source = ::open(toUtf8(from).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (source < 0) {
        return false;
    }
    struct stat info {};
    FileReplacement replacement(to, backup);
    bool ok = ::fstat(source, &info) == 0 && S_ISREG(info.st_mode);
    const int target = ok ? replacement.open() : -1;
    ok = ok && target >= 0;
    std::size_t written = 0;
    ok = ok && copyAll(source, target, &written);
    ::close(source);
    return ok && replacement.commit();
}

void FileReplacement::failWritesAfterForTesting(std::optional<std::size_t> bytes)
{
    writeLimit = bytes;
}

}  // namespace Platform
