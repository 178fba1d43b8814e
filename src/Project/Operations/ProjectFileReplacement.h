#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Project {

// Replaces a file safely: the new content goes to a temporary file beside the target, and
// only a complete, flushed temporary file is renamed over the target. A save that fails
// part-way (a full disk, a crash, a power cut) therefore leaves the old file as it was, and
// no temporary file is left behind by a failure this process sees.
//
// Used for the project file, the two library files and the exports. The RIFF files are
// written with FileIO::RiffFileWriter onto temporaryPath(); plain bytes through write().
class ProjectFileReplacement {
public:
    explicit ProjectFileReplacement(std::wstring target);
    // Removes the temporary file unless commit() succeeded.
    ~ProjectFileReplacement();
    ProjectFileReplacement(const ProjectFileReplacement&) = delete;
    ProjectFileReplacement& operator=(const ProjectFileReplacement&) = delete;

    const std::wstring& getTarget() const { return target_; }
    // A name beside the target that no other save of this process uses.
    const std::wstring& getTemporaryPath() const { return temporary_; }

    // Creates the temporary file with these bytes and syncs it to the disk. False when it
    // cannot be created (`opened` false) or not everything was written (`opened` true).
    bool write(std::string_view bytes, bool& opened);

    // Gives the temporary file the permissions of the file it replaces and renames it over
    // the target. The temporary file must be complete and closed. False when the rename
    // failed; the temporary file is then removed and the target untouched.
    bool commit();
    // Removes the temporary file now.
    void discard();

    // Writes the bytes over the target the safe way. False with the error key
    // ("ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" or "ERROR.FAILED_TO_WRITE_TO_FILE") on failure.
    static bool replaceWith(const std::wstring& target, std::string_view bytes,
                            std::wstring& errorKey);

    // Copies a regular file over `to` the same safe way. False when the source cannot be read
    // or the copy cannot be written completely; `to` is then as it was.
    static bool copyFile(const std::wstring& from, const std::wstring& to);

    // Test seam: when set, write() refuses to write more than this many bytes, as a full
    // disk would. std::nullopt restores normal writing.
    static void failWritesAfterForTesting(std::optional<std::size_t> bytes);

private:
    std::wstring target_;
    std::wstring temporary_;
    bool committed_ = false;
};

}  // namespace Project
