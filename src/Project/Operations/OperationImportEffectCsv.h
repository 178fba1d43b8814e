#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Project/IOperation.h"
#include "Project/Operations/EffectCsv.h"

namespace Project {

// Adds the effects of a CSV file (EffectCsv) to the effect library as one undoable change.
// A file that cannot be taken as a whole fails with its reason and adds nothing; rows that
// are wrong on their own are refused and reported, rows equal to an effect already held (or
// to an earlier row) are skipped as duplicates. Undo removes the added effects; redo adds
// them again under the same numbers.
class OperationImportEffectCsv : public IOperation {
public:
    // What the import did, for the report shown to the user.
    struct Report {
        int added = 0;
        std::vector<int> duplicateLines;
        std::vector<EffectCsv::Refusal> refused;
    };

    // `report`, when given, receives the report too: an import that added nothing is
    // passive and does not outlive its submit.
    explicit OperationImportEffectCsv(std::wstring path, std::shared_ptr<Report> report = nullptr)
        : path_(std::move(path)), sink_(std::move(report))
    {
    }
    // Reads the given bytes instead of a file (tests, fuzzing).
    static std::unique_ptr<OperationImportEffectCsv> fromBytes(
        std::string bytes, std::shared_ptr<Report> report = nullptr);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    // Nothing added: no history entry, no change.
    bool isPassive() const override { return executed_ && added_.empty(); }
    std::wstring getUndoText() const override { return L"UNDO.IMPORT_EFFECT_CSV"; }
    std::wstring getRedoText() const override { return L"REDO.IMPORT_EFFECT_CSV"; }

    const Report& getReport() const { return report_; }

private:
    OperationImportEffectCsv() = default;

    std::wstring path_;
    std::string bytes_;
    bool fromBytes_ = false;
    bool executed_ = false;
    Report report_;
    std::shared_ptr<Report> sink_;
    // The added effects as they were made (with their numbers), for undo and redo.
    std::vector<Effect> added_;
};

}  // namespace Project
