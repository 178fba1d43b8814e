#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Platform {

// Replaces a file safely: the new content goes to a temporary file beside the target, and
// only a complete, flushed temporary file is renamed over the target. A save that fails
// part-way (a full disk, a crash, a power cut) therefore leaves the old file as it was, and
// no temporary file is left behind by a failure this process sees. The new file keeps the
// permissions of the one it replaces.
//
// Every file the program saves goes this way: settings and language files, the project and
// library files, exports and reports. Plain bytes go through write() or replaceWith(); a
// writer of its own (the RIFF writer) may instead create, fill, sync and close the file at
// getTemporaryPath() before commit().
//
// One replacement belongs to one thread; several may run at once, each with its own name.
class FileReplacement {
public:
    // What failed, for the caller to choose its message.
    enum class Failure {
        NONE,
        CREATE,  // the temporary file could not be created
        WRITE,   // it could not be written completely, or not put in the target's place
    };

    explicit FileReplacement(std::wstring target);
    // Removes the temporary file unless commit() succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    const std::wstring& getTarget() const { return target_; }
    // A name beside the target that no other replacement of this process uses.
    const std::wstring& getTemporaryPath() const { return temporary_; }

    // Creates the temporary file with these bytes, syncs it to the disk and closes it. False
    // with `failure` CREATE or WRITE when that did not succeed.
    bool write(std::string_view bytes, Failure& failure);

    // Gives the temporary file the permissions of the file it replaces and renames it over
    // the target. The temporary file must be complete and closed. False when the rename
    // failed; the temporary file is then removed and the target untouched.
    bool commit();
    // Removes the temporary file now.
    void discard();

    // Writes the bytes over the target the safe way: write() then commit(). False with
    // `failure` CREATE or WRITE (a failed rename is WRITE); the target is then as it was.
    static bool replaceWith(const std::wstring& target, std::string_view bytes, Failure& failure);

    // Copies a regular file over `to` the same safe way, a block at a time. False when the
    // source is missing or no regular file, cannot be read, or the copy cannot be written
    // completely; `to` is then as it was.
    static bool copyFile(const std::wstring& from, const std::wstring& to);

    // Test seam: when set, write() and copyFile() fail as a full disk would once this many
    // bytes of a file have been written. Files written onto getTemporaryPath() by another
    // writer are not limited. std::nullopt restores normal writing.
    static void failWritesAfterForTesting(std::optional<std::size_t> bytes);

private:
    std::wstring target_;
    std::wstring temporary_;
    bool committed_ = false;
};

}  // namespace Platform
