#pragma once

#include <map>
#include <string>

#include "Project/IOperation.h"

namespace Project {

// Sets the reminder text of every selected cue, whatever its command.
class OperationSetReminder : public IOperation {
public:
    // The text as typed: each character's low byte is kept.
    explicit OperationSetReminder(const std::wstring& text);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.MOD_REMINDER"; }
    std::wstring getRedoText() const override { return L"REDO.MOD_REMINDER"; }

private:
    void apply(ProjectData& data, bool restore) const;

    std::string text_;
    // Cue id to the text before execute.
    std::map<int, std::string> oldTexts_;
};

}  // namespace Project
