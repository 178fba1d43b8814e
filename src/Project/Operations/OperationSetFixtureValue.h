#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "Project/IOperation.h"

namespace Project {

// Sets one field of every selected preset of the fixture list; undo gives each preset its own
// old value back (kept by preset number). Fields: 0 description, 1 product name,
// 2 manufacturer, 3 channel count, 4 comments, 5 duration; another number changes nothing.
class OperationSetFixtureValue : public IOperation {
public:
    enum Field {
        DESCRIPTION = 0,
        PRODUCT_NAME = 1,
        MANUFACTURER = 2,
        CHANNEL_COUNT = 3,
        COMMENTS = 4,
        DURATION = 5,
    };

    // A number field (channel count, duration).
    OperationSetFixtureValue(int field, int32_t value);
    // A text field; for a number field the text is read as the entry form reads it.
    OperationSetFixtureValue(int field, std::wstring text);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    // Localized when the texts are loaded.
    std::wstring getUndoText() const override;
    std::wstring getRedoText() const override;

private:
    bool isTextField() const;
    void apply(ProjectData& data, bool restore) const;

    int field_;
    int32_t number_ = 0;
    std::wstring text_;
    std::map<int32_t, int32_t> oldNumbers_;
    std::map<int32_t, std::wstring> oldTexts_;
};

}  // namespace Project
