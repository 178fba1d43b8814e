#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>

#include "Platform/ListenerSet.h"
#include "Project/Effect.h"

namespace Project {

// An ordered, owning list of effects in insertion order (it never sorts). It numbers the
// effects it makes, refuses exact duplicates and repeats every change of an effect it holds
// to its own listeners.
//
// The duplicate rule is checked through a hash index over the compared fields, so loading a
// library of many thousand effects stays linear. The index follows field changes through the
// list's forwarder, which re-keys an effect before any list listener hears of the change.
class EffectList {
public:
    class EffectItem;

    // The effect notifications, repeated for every effect of the list, plus the list's own.
    class Listener : public Effect::Listener {
    public:
        // An item was appended.
        virtual void effectAdded(EffectItem*) {}
        // An item was unlinked; it is destroyed right after this call returns.
        virtual void effectRemoved(EffectItem*) {}
        // clearEffects() has removed everything.
        virtual void effectsCleared() {}
    };

    // The list node: an effect with its links. Only the list makes and destroys items.
    class EffectItem : public Effect {
    public:
        EffectItem(const EffectItem&) = delete;
        EffectItem& operator=(const EffectItem&) = delete;

    private:
        friend class EffectList;
        EffectItem() = default;
        explicit EffectItem(const Effect& effect) : Effect(effect) {}
        explicit EffectItem(Effect&& effect) : Effect(std::move(effect)) {}

        EffectItem* next_ = nullptr;
        EffectItem* previous_ = nullptr;
    };

    // Forward iteration over the items, first to last. Removing the item an iterator stands
    // on invalidates that iterator; advance before removing.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = EffectItem*;
        using difference_type = std::ptrdiff_t;
        using pointer = EffectItem**;
        using reference = EffectItem*;

        Iterator() = default;
        EffectItem* operator*() const { return item_; }
        Iterator& operator++()
        {
            item_ = item_->next_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            item_ = item_->next_;
            return before;
        }
        bool operator==(const Iterator&) const = default;

    private:
        friend class EffectList;
        explicit Iterator(EffectItem* item) : item_(item) {}
        EffectItem* item_ = nullptr;
    };

    EffectList();
    // Destroys the items without notifying anyone.
    ~EffectList();
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;

    // Appends a new unselected effect, unless an effect equal under the duplicate rule
    // (Effect::sameArticle) is already held: then nothing happens, no number is used and
    // nullptr is returned. An id of -1 takes the next number of the list; any other id is
    // kept as given and leaves the numbering alone.
    EffectItem* addEffect(int32_t duration, int32_t prefire, int32_t height, int32_t weight,
                          int32_t databaseId, int32_t id, const std::wstring& description,
                          const std::wstring& articleNumber, double price,
                          const std::wstring& caliber, const std::wstring& manufacturer,
                          const std::wstring& color, const std::wstring& type,
                          const std::wstring& angle, const std::wstring& vanShape,
                          const std::wstring& classification, const std::wstring& distance);

    // The entry form, the effect file and imports: fifteen texts indexed by EffectField,
    // numbers read with parseWholeNumber / parseDecimalNumber, databaseId and id -1.
    EffectItem* addEffectFromText(const EffectTexts& texts);

    // Appends an exact copy (same id, databaseId and selection) without the duplicate check
    // and without touching the numbering: undo of a deletion. The new item is watched by this
    // list only; listeners the copied effect carried were registered on an effect that no
    // longer exists and are not taken over.
    EffectItem* insertEffectCopy(const Effect& effect);

    // Unlinks an item of this list, tells the listeners and destroys it.
    void removeEffect(EffectItem* item);

    // Removes every item first to last as removeEffect() does, restarts the numbering at 0,
    // then sends effectsCleared once.
    void clearEffects();

    // An item equal to the effect under the duplicate rule, or nullptr.
    EffectItem* findEqual(const Effect& effect) const;
    // The first item with the number, or nullptr.
    EffectItem* findById(int32_t id) const;
    // True when the item is one of this list's effects.
    bool holds(const Effect* effect) const;

    int32_t getCount() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    int32_t getNextId() const { return nextId_; }

    Iterator begin() const { return Iterator(head_.next_); }
    Iterator end() const { return Iterator(const_cast<EffectItem*>(&tail_)); }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    // Registered on every effect of the list; repeats each notification to the list's
    // listeners with the effect as argument. A detached copy of an item still carries it in
    // its listener set; changes of such a copy are not the list's and are not repeated.
    class EffectListener : public Effect::Listener {
    public:
        explicit EffectListener(EffectList& list) : list_(list) {}

        void descriptionChanged(Effect* e) override;
        void articleNumberChanged(Effect* e) override;
        void durationChanged(Effect* e) override;
        void priceChanged(Effect* e) override;
        void caliberChanged(Effect* e) override;
        void selectedChanged(Effect* e) override;
        void manufacturerChanged(Effect* e) override;
        void prefireChanged(Effect* e) override;
        void heightChanged(Effect* e) override;
        void colorChanged(Effect* e) override;
        void typeChanged(Effect* e) override;
        void angleChanged(Effect* e) override;
        void databaseIdCleared(Effect* e) override;
        void vanShapeChanged(Effect* e) override;
        void classificationChanged(Effect* e) override;
        void weightChanged(Effect* e) override;
        void distanceChanged(Effect* e) override;

    private:
        // comparedField: the change may move the effect in the duplicate index.
        void forward(void (Effect::Listener::*notification)(Effect*), Effect* effect,
                     bool comparedField);

        EffectList& list_;
    };

    EffectItem* append(EffectItem* item);
    void reindex(Effect* effect);

    int32_t nextId_ = 0;
    int32_t count_ = 0;
    Platform::ListenerSet<Listener> listeners_;
    EffectItem head_;
    EffectItem tail_;
    EffectListener forwarder_;

    // Every held effect with the hash it is filed under, and the effects by that hash.
    std::unordered_map<const Effect*, std::size_t> indexedHash_;
    std::unordered_multimap<std::size_t, EffectItem*> byArticle_;
};

}  // namespace Project
