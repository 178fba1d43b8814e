#include "Project/Operations/OperationSetFixtureValue.h"

#include <utility>

#include "Config/Settings.h"
#include "Project/NumberText.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

std::wstring actionKey(int field)
{
    switch (field) {
        case OperationSetFixtureValue::DESCRIPTION: return L"MOD.FIXTURE_DESCRIPTION";
        case OperationSetFixtureValue::PRODUCT_NAME: return L"MOD.FIXTURE_PRODUCTNAME";
        case OperationSetFixtureValue::MANUFACTURER: return L"MOD.FIXTURE_MANUFACTURER";
        default: return L"MOD.FIXTURE";
    }
}

}  // namespace

OperationSetFixtureValue::OperationSetFixtureValue(int field, int32_t value)
    : field_(field), number_(value)
{
}

OperationSetFixtureValue::OperationSetFixtureValue(int field, std::wstring text)
    : field_(field), number_(parseWholeNumber(text)), text_(std::move(text))
{
}

std::wstring OperationSetFixtureValue::getUndoText() const
{
    return Config::tr(L"UNDO." + actionKey(field_));
}

std::wstring OperationSetFixtureValue::getRedoText() const
{
    return Config::tr(L"REDO." + actionKey(field_));
}

bool OperationSetFixtureValue::isTextField() const
{
    return field_ == DESCRIPTION || field_ == PRODUCT_NAME || field_ == MANUFACTURER ||
           field_ == COMMENTS;
}

bool OperationSetFixtureValue::execute(ProjectData& data)
{
    for (const Fixture* fixture : data.getFixtureList()) {
        if (!fixture->isSelected()) {
            continue;
        }
        switch (field_) {
            case DESCRIPTION: oldTexts_[fixture->getId()] = fixture->getDescription(); break;
            case PRODUCT_NAME: oldTexts_[fixture->getId()] = fixture->getProductName(); break;
            case MANUFACTURER: oldTexts_[fixture->getId()] = fixture->getManufacturer(); break;
            case COMMENTS: oldTexts_[fixture->getId()] = fixture->getComments(); break;
            case CHANNEL_COUNT: oldNumbers_[fixture->getId()] = fixture->getChannelCount(); break;
            case DURATION: oldNumbers_[fixture->getId()] = fixture->getDuration(); break;
            default: break;
        }
    }
    return redo(data);
}

bool OperationSetFixtureValue::redo(ProjectData& data)
{
    apply(data, false);
    return true;
}

bool OperationSetFixtureValue::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

void OperationSetFixtureValue::apply(ProjectData& data, bool restore) const
{
    for (Fixture* fixture : data.getFixtureList()) {
        if (isTextField()) {
            const auto old = oldTexts_.find(fixture->getId());
            if (old == oldTexts_.end()) {
                continue;
            }
            const std::wstring& text = restore ? old->second : text_;
            switch (field_) {
                case DESCRIPTION: fixture->setDescription(text); break;
                case PRODUCT_NAME: fixture->setProductName(text); break;
                case MANUFACTURER: fixture->setManufacturer(text); break;
                default: fixture->setComments(text); break;
            }
        } else {
            const auto old = oldNumbers_.find(fixture->getId());
            if (old == oldNumbers_.end()) {
                continue;
            }
            const int32_t number = restore ? old->second : number_;
            if (field_ == CHANNEL_COUNT) {
                fixture->setChannelCount(number);
            } else {
                fixture->setDuration(number);
            }
        }
    }
}

}  // namespace Project
