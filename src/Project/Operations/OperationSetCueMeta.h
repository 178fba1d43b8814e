#pragma once

#include <map>
#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Sets one metadata key to a value on the selected cues, or on every cue. The value "~"
// means "absent": it removes the key. A cue without the key gets it appended. Undo puts
// every cue's old value back, re-inserting a removed key at its old index and removing an
// added one.
class OperationSetCueMeta : public IOperation {
public:
    static constexpr const wchar_t* kAbsent = L"~";

    OperationSetCueMeta(std::wstring key, std::wstring value, bool allCues = false)
        : key_(std::move(key)), value_(std::move(value)), allCues_(allCues)
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.MOD_CUE"; }
    std::wstring getRedoText() const override { return L"UNDO.MOD_CUE"; }

private:
    struct Record {
        int index;  // of the key before execute, or -1 when it was absent
        std::wstring value;
    };

    void apply(ProjectData& data, bool restore) const;

    std::wstring key_;
    std::wstring value_;
    bool allCues_;
    std::map<int, Record> records_;
};

}  // namespace Project
