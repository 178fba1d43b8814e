#include "Project/EffectSearch.h"

#include <cstddef>
#include <memory>

#include "Project/SearchCriterion.h"

namespace Project {

namespace {

// A fresh copy through the duplicate rule: a new number in the target list, not selected.
void addCopy(EffectList& target, const Effect& e)
{
    target.addEffect(e.getDuration(), e.getPrefire(), e.getHeight(), e.getWeight(),
                     e.getDatabaseId(), -1, e.getDescription(), e.getArticleNumber(), e.getPrice(),
                     e.getCaliber(), e.getManufacturer(), e.getColor(), e.getType(), e.getAngle(),
                     e.getVanShape(), e.getClassification(), e.getDistance());
}

void refill(EffectList& target, const EffectList& source)
{
    target.clearEffects();
    for (const EffectList::EffectItem* item : source) {
        addCopy(target, *item);
    }
}

}  // namespace

bool matchesEffectCriterion(const Effect& effect, EffectField field, const std::wstring& criterion)
{
    if (criterion.empty()) {
        return true;  // an empty criterion does not narrow, whatever the field
    }
    switch (effectFieldKind(field)) {
        case EffectFieldKind::WHOLE_NUMBER:
            return matchesWholeNumberCriterion(effect.getWholeNumberField(field), criterion);
        case EffectFieldKind::REAL: return matchesPriceCriterion(effect.getPrice(), criterion);
        case EffectFieldKind::TEXT: break;
    }
    return matchesTextCriterion(effect.getFieldText(field), criterion);
}

void searchEffects(EffectList& library, const EffectList& fullLibrary, const EffectTexts& criteria)
{
    std::unique_ptr<EffectList> result;
    for (int f = 0; f < kEffectFieldCount; ++f) {
        const std::wstring& criterion = criteria[static_cast<std::size_t>(f)];
        if (criterion.empty()) {
            continue;
        }
        const auto field = static_cast<EffectField>(f);
        auto step = std::make_unique<EffectList>();
        for (const EffectList::EffectItem* item : result ? *result : library) {
            if (matchesEffectCriterion(*item, field, criterion)) {
                addCopy(*step, *item);
            }
        }
        result = std::move(step);
    }
    if (!result) {
        restoreFullLibrary(library, fullLibrary);
        return;
    }
    refill(library, *result);
}

bool restoreFullLibrary(EffectList& library, const EffectList& fullLibrary)
{
    if (fullLibrary.getCount() <= library.getCount()) {
        return false;
    }
    EffectList missing;
    for (const EffectList::EffectItem* item : library) {
        if (fullLibrary.findEqual(*item) == nullptr) {
            addCopy(missing, *item);
        }
    }
    refill(library, fullLibrary);
    for (const EffectList::EffectItem* item : missing) {
        addCopy(library, *item);
    }
    return true;
}

void restoreFullLibraryBothWays(EffectList& library, EffectList& fullLibrary)
{
    if (!restoreFullLibrary(library, fullLibrary)) {
        refill(fullLibrary, library);
    }
}

}  // namespace Project
