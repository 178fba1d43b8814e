#pragma once

#include <map>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Sets the selection flag of the cues it names (cue id to flag). Passive: selections never
// enter the history and also run in show mode. Undo sets every inverted flag, so the map
// should name only cues whose flag changes.
class OperationSelection : public IOperation {
public:
    explicit OperationSelection(std::map<int, bool> entries) : entries_(std::move(entries)) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return execute(data); }
    bool isPassive() const override { return true; }

    const std::map<int, bool>& getEntries() const { return entries_; }

private:
    void apply(ProjectData& data, bool invert) const;

    std::map<int, bool> entries_;
};

}  // namespace Project
