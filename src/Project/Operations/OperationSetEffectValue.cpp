#include "Project/Operations/OperationSetEffectValue.h"

#include <array>
#include <utility>

#include "Config/Settings.h"
#include "Project/NumberText.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

constexpr std::array<const wchar_t*, kEffectFieldCount> kFieldNames = {
    L"DESCRIPTION",  L"ARTICLENUMBER", L"DURATION",       L"CALIBER", L"PRICE",
    L"MANUFACTURER", L"PREFIRE",       L"HEIGHT",         L"COLOR",   L"TYPE",
    L"ANGLE",        L"VANSHAPE",      L"CLASSIFICATION", L"WEIGHT",  L"DISTANCE"};

}  // namespace

OperationSetEffectValue::OperationSetEffectValue(int field, int32_t value)
    : field_(field), number_(value)
{
}

OperationSetEffectValue::OperationSetEffectValue(int field, double price)
    : field_(field), price_(price)
{
}

OperationSetEffectValue::OperationSetEffectValue(int field, std::wstring text)
    : field_(field),
      number_(parseWholeNumber(text)),
      price_(parseDecimalNumber(text)),
      text_(std::move(text))
{
}

std::wstring OperationSetEffectValue::fieldName(int field)
{
    return isEffectField(field) ? kFieldNames[static_cast<std::size_t>(field)] : L"NOTHING";
}

std::wstring OperationSetEffectValue::getUndoText() const
{
    return Config::tr(L"UNDO.EFFECT." + fieldName(field_));
}

std::wstring OperationSetEffectValue::getRedoText() const
{
    return Config::tr(L"REDO.EFFECT." + fieldName(field_));
}

bool OperationSetEffectValue::execute(ProjectData& data)
{
    if (!isEffectField(field_)) {
        return true;
    }
    const auto field = static_cast<EffectField>(field_);
    const EffectFieldKind kind = effectFieldKind(field);
    for (const EffectList::EffectItem* effect : data.getEffectList()) {
        if (!effect->isSelected()) {
            continue;
        }
        switch (kind) {
            case EffectFieldKind::TEXT:
                oldTexts_[effect->getId()] = effect->getFieldText(field);
                break;
            case EffectFieldKind::WHOLE_NUMBER:
                oldNumbers_[effect->getId()] = effect->getWholeNumberField(field);
                break;
            case EffectFieldKind::REAL: oldPrices_[effect->getId()] = effect->getPrice(); break;
        }
    }
    return redo(data);
}

bool OperationSetEffectValue::redo(ProjectData& data)
{
    apply(data, false);
    return true;
}

bool OperationSetEffectValue::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

void OperationSetEffectValue::apply(ProjectData& data, bool restore) const
{
    if (!isEffectField(field_)) {
        return;
    }
    const auto field = static_cast<EffectField>(field_);
    const EffectFieldKind kind = effectFieldKind(field);
    for (EffectList::EffectItem* effect : data.getEffectList()) {
        const int32_t id = effect->getId();
        switch (kind) {
            case EffectFieldKind::TEXT: {
                const auto old = oldTexts_.find(id);
                if (old == oldTexts_.end()) {
                    continue;
                }
                effect->setFieldText(field, restore ? old->second : text_);
                break;
            }
            case EffectFieldKind::WHOLE_NUMBER: {
                const auto old = oldNumbers_.find(id);
                if (old == oldNumbers_.end()) {
                    continue;
                }
                effect->setWholeNumberField(field, restore ? old->second : number_);
                break;
            }
            case EffectFieldKind::REAL: {
                const auto old = oldPrices_.find(id);
                if (old == oldPrices_.end()) {
                    continue;
                }
                effect->setPrice(restore ? old->second : price_);
                break;
            }
        }
        effect->clearDatabaseId();
    }
}

}  // namespace Project
