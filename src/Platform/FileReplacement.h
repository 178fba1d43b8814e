#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Platform {

// Replaces a file safely: the new content goes to a temporary file beside the target, and
// only a complete, flushed temporary file is renamed over the target. A save that fails
// part-way (a full disk, a crash, a power cut) therefore leaves the old file as it was, and
// no temporary file is left behind by a failure this process sees, nor by a signal that ends
// it (SignalCleanup). The new file keeps the permissions of the one it replaces.
//
// The temporary file gets a fresh random name (".NAME.XXXXXXXXXXXXXXXX.tmp", hidden and not
// ending in any extension the program opens) and is created exclusively, never through a
// symbolic link: a file or link planted in the folder can neither redirect the save nor be
// overwritten by it, and a stale temporary file of a process that was killed is never in the
// way. Its permissions are set on the open file before anything is written to it.
//
// A target that is a symbolic link stays one: the file the link leads to is replaced.
//
// With Backup::KEEP_PREVIOUS the file that is replaced is kept beside it as NAME.bak (one
// generation: an older NAME.bak goes), so a wrong save can be undone by hand. The backup is
// made just before the rename and is best effort: when it cannot be made the save still goes
// on, and the failure goes to the diagnostic log.
//
// Every file the program saves goes this way: settings and language files, the project and
// library files, exports and reports. Plain bytes go through write() or replaceWith(); a
// writer of its own (the RIFF writer) writes to the descriptor that open() returns and leaves
// it open for commit().
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

    // Whether the file that is replaced is kept as NAME.bak.
    enum class Backup { NONE, KEEP_PREVIOUS };

    explicit FileReplacement(std::wstring target, Backup backup = Backup::NONE);
    // Removes the temporary file unless commit() succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    const std::wstring& getTarget() const { return target_; }
    // The file that is replaced: the target, or where its symbolic links lead.
    const std::wstring& getDestination() const { return destination_; }
    // The temporary file beside the destination, once open() created it; empty before.
    const std::wstring& getTemporaryPath() const { return temporary_; }
    // Where Backup::KEEP_PREVIOUS keeps the replaced file.
    static std::wstring backupPathFor(const std::wstring& file) { return file + L".bak"; }

    // Creates the temporary file (once; later calls return the same descriptor) with the
    // permissions of the file it replaces. -1 when it cannot be created. The descriptor stays
    // the replacement's: commit() or discard() closes it.
    int open();

    // Creates the temporary file with these bytes and syncs it to the disk. False with
    // `failure` CREATE or WRITE when that did not succeed.
    bool write(std::string_view bytes, Failure& failure);

    // Syncs and closes the temporary file, keeps the backup if asked, and renames the
    // temporary file over the destination. The temporary file must be complete. False when
    // that failed; the temporary file is then removed and the destination untouched.
    bool commit();
    // Removes the temporary file now.
    void discard();

    // Writes the bytes over the target the safe way: write() then commit(). False with
    // `failure` CREATE or WRITE (a failed rename is WRITE); the target is then as it was.
    static bool replaceWith(const std::wstring& target, std::string_view bytes, Failure& failure,
                            Backup backup = Backup::NONE);

    // Copies a regular file over `to` the same safe way, a block at a time. False when the
    // source is missing or no regular file, cannot be read, or the copy cannot be written
    // completely; `to` is then as it was.
    static bool copyFile(const std::wstring& from, const std::wstring& to,
                         Backup backup = Backup::NONE);

    // Test seam: when set, write() and copyFile() fail as a full disk would once this many
    // bytes of a file have been written. Files written to the descriptor by another writer
    // are not limited. std::nullopt restores normal writing.
    static void failWritesAfterForTesting(std::optional<std::size_t> bytes);

private:
    std::wstring target_;
    std::wstring destination_;
    std::wstring temporary_;
    std::string destinationBytes_;  // the destination as the system names it; empty: a link loop
    std::string temporaryBytes_;
    Backup backup_;
    int fd_ = -1;
    int ticket_ = -1;  // SignalCleanup's
    bool committed_ = false;
};

}  // namespace Platform
