#include "Project/Operations/OperationAddEffect.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

OperationAddEffect::OperationAddEffect(const EffectTexts& texts)
{
    for (int field = 0; field < kEffectFieldCount; ++field) {
        values_.setFieldText(static_cast<EffectField>(field),
                             texts[static_cast<std::size_t>(field)]);
    }
}

bool OperationAddEffect::add(ProjectData& data, int32_t id)
{
    const Effect& v = values_;
    EffectList& library = data.getEffectList();
    const EffectList::EffectItem* added = library.addEffect(
        v.getDuration(), v.getPrefire(), v.getHeight(), v.getWeight(), Effect::kDatabaseIdFromText,
        id, v.getDescription(), v.getArticleNumber(), v.getPrice(), v.getCaliber(),
        v.getManufacturer(), v.getColor(), v.getType(), v.getAngle(), v.getVanShape(),
        v.getClassification(), v.getDistance());
    if (added == nullptr) {
        return false;
    }
    id_ = added->getId();
    for (EffectList::EffectItem* effect : library) {
        effect->setSelected(effect->getId() == id_);
    }
    return true;
}

bool OperationAddEffect::execute(ProjectData& data)
{
    executed_ = true;
    if (!add(data, -1)) {
        id_ = -1;
    }
    return true;
}

bool OperationAddEffect::undo(ProjectData& data)
{
    if (id_ < 0) {
        return true;
    }
    EffectList::EffectItem* effect = data.getEffectList().findById(id_);
    if (effect == nullptr) {
        return failOperation(kGenericError);
    }
    data.getEffectList().removeEffect(effect);
    return true;
}

bool OperationAddEffect::redo(ProjectData& data)
{
    if (id_ < 0) {
        return true;
    }
    // An equal effect added meanwhile (outside the history) leaves nothing to bring back.
    return add(data, id_) || failOperation(kGenericError);
}

}  // namespace Project
