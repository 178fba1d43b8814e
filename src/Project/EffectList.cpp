#include "Project/EffectList.h"

#include <memory>

#include "Platform/Assert.h"
#include "Project/NumberText.h"

namespace Project {

EffectList::EffectList() : forwarder_(*this)
{
    head_.next_ = &tail_;
    tail_.previous_ = &head_;
}

EffectList::~EffectList()
{
    EffectItem* item = head_.next_;
    while (item != &tail_) {
        EffectItem* next = item->next_;
        delete item;
        item = next;
    }
}

EffectList::EffectItem* EffectList::addEffect(
    int32_t duration, int32_t prefire, int32_t height, int32_t weight, int32_t databaseId,
    int32_t id, const std::wstring& description, const std::wstring& articleNumber, double price,
    const std::wstring& caliber, const std::wstring& manufacturer, const std::wstring& color,
    const std::wstring& type, const std::wstring& angle, const std::wstring& vanShape,
    const std::wstring& classification, const std::wstring& distance)
{
    const bool numbered = id == -1;
    std::unique_ptr<EffectItem> item(new EffectItem(
        Effect(duration, prefire, height, weight, databaseId, numbered ? nextId_ : id, description,
               articleNumber, price, caliber, manufacturer, color, type, angle, vanShape,
               classification, distance)));
    // A refused duplicate uses no number.
    if (findEqual(*item) != nullptr) {
        return nullptr;
    }
    if (numbered) {
        ++nextId_;
    }
    return append(item.release());
}

EffectList::EffectItem* EffectList::addEffectFromText(const EffectTexts& texts)
{
    const auto at = [&texts](EffectField field) -> const std::wstring& {
        return texts[static_cast<std::size_t>(field)];
    };
    return addEffect(
        parseWholeNumber(at(EffectField::DURATION)), parseWholeNumber(at(EffectField::PREFIRE)),
        parseWholeNumber(at(EffectField::HEIGHT)), parseWholeNumber(at(EffectField::WEIGHT)),
        Effect::kDatabaseIdFromText, -1, at(EffectField::DESCRIPTION),
        at(EffectField::ARTICLE_NUMBER), parseDecimalNumber(at(EffectField::PRICE)),
        at(EffectField::CALIBER), at(EffectField::MANUFACTURER), at(EffectField::COLOR),
        at(EffectField::TYPE), at(EffectField::ANGLE), at(EffectField::VAN_SHAPE),
        at(EffectField::CLASSIFICATION), at(EffectField::DISTANCE));
}

EffectList::EffectItem* EffectList::insertEffectCopy(const Effect& effect)
{
    auto* item = new EffectItem(effect);
    item->clearListeners();
    return append(item);
}

EffectList::EffectItem* EffectList::append(EffectItem* item)
{
    item->previous_ = tail_.previous_;
    item->next_ = &tail_;
    tail_.previous_->next_ = item;
    tail_.previous_ = item;

    const std::size_t hash = item->articleHash();
    indexedHash_.emplace(item, hash);
    byArticle_.emplace(hash, item);
    item->addListener(&forwarder_);
    // Counted before anyone hears of it, so listeners see a list that agrees with itself.
    ++count_;
    listeners_.notify(&Listener::effectAdded, item);
    return item;
}

void EffectList::removeEffect(EffectItem* item)
{
    const auto indexed = indexedHash_.find(item);
    SKY_ASSERT_TEXT(indexed != indexedHash_.end(), "holds(item)", "EffectList");

    auto [first, last] = byArticle_.equal_range(indexed->second);
    for (auto it = first; it != last; ++it) {
        if (it->second == item) {
            byArticle_.erase(it);
            break;
        }
    }
    indexedHash_.erase(indexed);

    item->previous_->next_ = item->next_;
    item->next_->previous_ = item->previous_;
    item->next_ = nullptr;
    item->previous_ = nullptr;
    item->removeListener(&forwarder_);
    --count_;
    listeners_.notify(&Listener::effectRemoved, item);
    delete item;
}

void EffectList::clearEffects()
{
    while (head_.next_ != &tail_) {
        removeEffect(head_.next_);
    }
    nextId_ = 0;
    count_ = 0;
    listeners_.notify(&Listener::effectsCleared);
}

EffectList::EffectItem* EffectList::findEqual(const Effect& effect) const
{
    auto [first, last] = byArticle_.equal_range(effect.articleHash());
    for (auto it = first; it != last; ++it) {
        if (it->second->sameArticle(effect)) {
            return it->second;
        }
    }
    return nullptr;
}

EffectList::EffectItem* EffectList::findById(int32_t id) const
{
    for (EffectItem* item : *this) {
        if (item->getId() == id) {
            return item;
        }
    }
    return nullptr;
}

bool EffectList::holds(const Effect* effect) const
{
    return indexedHash_.count(effect) != 0;
}

void EffectList::reindex(Effect* effect)
{
    const auto indexed = indexedHash_.find(effect);
    auto* item = static_cast<EffectItem*>(effect);  // held, so it is one of our items
    const std::size_t hash = item->articleHash();
    if (hash == indexed->second) {
        return;
    }
    auto [first, last] = byArticle_.equal_range(indexed->second);
    for (auto it = first; it != last; ++it) {
        if (it->second == item) {
            byArticle_.erase(it);
            break;
        }
    }
    byArticle_.emplace(hash, item);
    indexed->second = hash;
}

void EffectList::EffectListener::forward(void (Effect::Listener::*notification)(Effect*),
                                         Effect* effect, bool comparedField)
{
    if (!list_.holds(effect)) {
        return;
    }
    if (comparedField) {
        list_.reindex(effect);
    }
    list_.listeners_.notify(notification, effect);
}

void EffectList::EffectListener::descriptionChanged(Effect* e)
{
    forward(&Effect::Listener::descriptionChanged, e, true);
}

void EffectList::EffectListener::articleNumberChanged(Effect* e)
{
    forward(&Effect::Listener::articleNumberChanged, e, true);
}

void EffectList::EffectListener::durationChanged(Effect* e)
{
    forward(&Effect::Listener::durationChanged, e, true);
}

void EffectList::EffectListener::priceChanged(Effect* e)
{
    forward(&Effect::Listener::priceChanged, e, true);
}

void EffectList::EffectListener::caliberChanged(Effect* e)
{
    forward(&Effect::Listener::caliberChanged, e, true);
}

void EffectList::EffectListener::selectedChanged(Effect* e)
{
    forward(&Effect::Listener::selectedChanged, e, false);
}

void EffectList::EffectListener::manufacturerChanged(Effect* e)
{
    forward(&Effect::Listener::manufacturerChanged, e, true);
}

void EffectList::EffectListener::prefireChanged(Effect* e)
{
    forward(&Effect::Listener::prefireChanged, e, true);
}

void EffectList::EffectListener::heightChanged(Effect* e)
{
    forward(&Effect::Listener::heightChanged, e, true);
}

void EffectList::EffectListener::colorChanged(Effect* e)
{
    forward(&Effect::Listener::colorChanged, e, true);
}

void EffectList::EffectListener::typeChanged(Effect* e)
{
    forward(&Effect::Listener::typeChanged, e, true);
}

void EffectList::EffectListener::angleChanged(Effect* e)
{
    forward(&Effect::Listener::angleChanged, e, true);
}

void EffectList::EffectListener::databaseIdCleared(Effect* e)
{
    forward(&Effect::Listener::databaseIdCleared, e, false);
}

void EffectList::EffectListener::vanShapeChanged(Effect* e)
{
    forward(&Effect::Listener::vanShapeChanged, e, false);
}

void EffectList::EffectListener::classificationChanged(Effect* e)
{
    forward(&Effect::Listener::classificationChanged, e, false);
}

void EffectList::EffectListener::weightChanged(Effect* e)
{
    forward(&Effect::Listener::weightChanged, e, false);
}

void EffectList::EffectListener::distanceChanged(Effect* e)
{
    forward(&Effect::Listener::distanceChanged, e, false);
}

}  // namespace Project
