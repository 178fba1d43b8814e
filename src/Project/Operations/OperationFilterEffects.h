#pragma once

#include <utility>

#include "Project/Effect.h"
#include "Project/IOperation.h"

namespace Project {

// Runs the effect search with fifteen criteria (one per field; empty ones do not narrow, all
// empty restores the whole library). Passive; it is never in a history, so undo and redo
// fail without doing anything.
class OperationFilterEffects : public IOperation {
public:
    explicit OperationFilterEffects(EffectTexts criteria) : criteria_(std::move(criteria)) {}

    bool execute(ProjectData& data) override;
    bool isPassive() const override { return true; }

private:
    EffectTexts criteria_;
};

}  // namespace Project
