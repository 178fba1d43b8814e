#include "Project/Operations/OperationDeleteEffectSelection.h"

#include <vector>

#include "Project/ProjectData.h"

namespace Project {

namespace {

// The fields by which a deleted effect is looked up in the full library copy.
bool sameLookup(const Effect& a, const Effect& b)
{
    return a.getArticleNumber() == b.getArticleNumber() && a.getCaliber() == b.getCaliber() &&
           a.getColor() == b.getColor() && a.getDescription() == b.getDescription() &&
           a.getDuration() == b.getDuration() && a.getAngle() == b.getAngle() &&
           a.getHeight() == b.getHeight();
}

}  // namespace

bool OperationDeleteEffectSelection::execute(ProjectData& data)
{
    for (const EffectList::EffectItem* effect : data.getEffectList()) {
        if (effect->isSelected()) {
            saved_.emplace(effect->getId(), Effect(*effect));
        }
    }
    return redo(data);
}

bool OperationDeleteEffectSelection::redo(ProjectData& data)
{
    EffectList& library = data.getEffectList();
    EffectList& full = data.getFullEffectList();
    std::vector<EffectList::EffectItem*> doomed;
    for (EffectList::EffectItem* effect : library) {
        if (saved_.count(effect->getId()) != 0) {
            doomed.push_back(effect);
        }
    }
    for (EffectList::EffectItem* effect : doomed) {
        for (auto it = full.begin(); it != full.end();) {
            EffectList::EffectItem* copy = *it;
            ++it;
            if (sameLookup(*copy, *effect)) {
                full.removeEffect(copy);
            }
        }
        library.removeEffect(effect);
    }
    return true;
}

bool OperationDeleteEffectSelection::undo(ProjectData& data)
{
    for (const auto& [id, effect] : saved_) {
        data.getEffectList().insertEffectCopy(effect);
    }
    return true;
}

}  // namespace Project
