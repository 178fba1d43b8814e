#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Links a WAVE file as the project's soundtrack: the soundtrack (ISoundtrack) loads it, and
// the project keeps its path. When the file cannot be loaded the operation fails with
// "ERROR.FAILED_TO_OPEN_WAVE" and the previous link stays. Undo brings the previous link
// back (loading its file again) or unlinks.
class OperationLinkWave : public IOperation {
public:
    explicit OperationLinkWave(std::wstring path) : path_(std::move(path)) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.LINK_WAVE"; }
    std::wstring getRedoText() const override { return L"REDO.LINK_WAVE"; }

    // The link as it was before execute, and the way back to it; shared with the unlink.
    struct PreviousLink {
        bool linked = false;
        std::wstring path;
        bool missing = false;  // linked, but not found when the project was opened

        void remember(const ProjectData& data);
        bool restore(ProjectData& data) const;
    };

    // Loads the file and links it; fails, changing nothing, when it cannot be loaded.
    static bool link(ProjectData& data, const std::wstring& path);
    // Unlinks (the path stays stored) and drops the soundtrack.
    static void unlink(ProjectData& data);

private:
    std::wstring path_;
    PreviousLink previous_;
};

// Unlinks the soundtrack: the project keeps the path but no longer counts the wave as
// linked, and the soundtrack is dropped. Undo links the previous file again.
class OperationUnlinkWave : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override { return previous_.restore(data); }
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.LINK_WAVE"; }
    std::wstring getRedoText() const override { return L"REDO.LINK_WAVE"; }

private:
    OperationLinkWave::PreviousLink previous_;
};

}  // namespace Project
