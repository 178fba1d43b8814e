#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "Project/Effect.h"
#include "Project/IOperation.h"

namespace Project {

// Sets one field of every selected effect and marks each as edited (databaseId -2). The old
// values are kept by effect number, so undo gives each effect its own value back; effects
// that were not selected at execute time are never touched. A field number outside 0..14
// changes nothing.
class OperationSetEffectValue : public IOperation {
public:
    // A whole-number field (duration, prefire, height, weight).
    OperationSetEffectValue(int field, int32_t value);
    // The price.
    OperationSetEffectValue(int field, double price);
    // A text field; for a number field the text is read as the entry form reads it.
    OperationSetEffectValue(int field, std::wstring text);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    // "UNDO.EFFECT." / "REDO.EFFECT." and the field's name, localized when the texts are
    // loaded; "...EFFECT.NOTHING" for an unknown field.
    std::wstring getUndoText() const override;
    std::wstring getRedoText() const override;

    // The field's name in the undo keys ("DESCRIPTION" ... "DISTANCE"), or "NOTHING".
    static std::wstring fieldName(int field);

private:
    void apply(ProjectData& data, bool restore) const;

    int field_;
    int32_t number_ = 0;
    double price_ = 0.0;
    std::wstring text_;
    std::map<int32_t, int32_t> oldNumbers_;
    std::map<int32_t, double> oldPrices_;
    std::map<int32_t, std::wstring> oldTexts_;
};

}  // namespace Project
