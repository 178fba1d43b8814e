#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/ListenerSet.h"

namespace Project {

// The fifteen editable fields of an effect, numbered as the edit operation and its undo texts
// number them.
enum class EffectField : int32_t {
    DESCRIPTION = 0,
    ARTICLE_NUMBER = 1,
    DURATION = 2,
    CALIBER = 3,
    PRICE = 4,
    MANUFACTURER = 5,
    PREFIRE = 6,
    HEIGHT = 7,
    COLOR = 8,
    TYPE = 9,
    ANGLE = 10,
    VAN_SHAPE = 11,
    CLASSIFICATION = 12,
    WEIGHT = 13,
    DISTANCE = 14,
};

inline constexpr int kEffectFieldCount = 15;

enum class EffectFieldKind { TEXT, WHOLE_NUMBER, REAL };

// True for the numbers 0 to 14; operations built from a stored field number check with it.
bool isEffectField(int field);
EffectFieldKind effectFieldKind(EffectField field);

// One text per field, indexed by the field's number: the entry form, the effect file's values
// and the search criteria all come in this shape.
using EffectTexts = std::array<std::wstring, kEffectFieldCount>;

// One article of the effect library: fifteen user-visible fields, the selection flag of the
// effect screen and two bookkeeping numbers. Setters compare first and notify only on change.
// A copy carries every field, `id`, `databaseId`, `selected` and the listener set.
class Effect {
public:
    // One notification per field that can change, each with the effect that changed.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void descriptionChanged(Effect*) {}
        virtual void articleNumberChanged(Effect*) {}
        virtual void durationChanged(Effect*) {}
        virtual void priceChanged(Effect*) {}
        virtual void caliberChanged(Effect*) {}
        virtual void selectedChanged(Effect*) {}
        virtual void manufacturerChanged(Effect*) {}
        virtual void prefireChanged(Effect*) {}
        virtual void heightChanged(Effect*) {}
        virtual void colorChanged(Effect*) {}
        virtual void typeChanged(Effect*) {}
        virtual void angleChanged(Effect*) {}
        virtual void databaseIdCleared(Effect*) {}
        virtual void vanShapeChanged(Effect*) {}
        virtual void classificationChanged(Effect*) {}
        virtual void weightChanged(Effect*) {}
        virtual void distanceChanged(Effect*) {}
    };

    // databaseId -1 marks an effect made from text; -2 one that an edit has changed.
    static constexpr int32_t kDatabaseIdFromText = -1;
    static constexpr int32_t kDatabaseIdEdited = -2;

    // An empty effect: no texts, numbers 0, id and databaseId -1.
    Effect() = default;
    // The arguments in the order the effect list takes them (numbers first, then the texts
    // with the price between article number and caliber).
    Effect(int32_t duration, int32_t prefire, int32_t height, int32_t weight, int32_t databaseId,
           int32_t id, std::wstring description, std::wstring articleNumber, double price,
           std::wstring caliber, std::wstring manufacturer, std::wstring color, std::wstring type,
           std::wstring angle, std::wstring vanShape, std::wstring classification,
           std::wstring distance);
    virtual ~Effect() = default;
    Effect(const Effect&) = default;
    Effect& operator=(const Effect&) = default;

    int32_t getId() const { return id_; }
    int32_t getDatabaseId() const { return databaseId_; }
    int32_t getDuration() const { return duration_; }
    std::wstring getCaliber() const { return caliber_; }
    double getPrice() const { return price_; }
    bool isSelected() const { return selected_; }
    std::wstring getDescription() const { return description_; }
    std::wstring getArticleNumber() const { return articleNumber_; }
    std::wstring getManufacturer() const { return manufacturer_; }
    int32_t getPrefire() const { return prefire_; }
    int32_t getHeight() const { return height_; }
    std::wstring getColor() const { return color_; }
    std::wstring getType() const { return type_; }
    std::wstring getAngle() const { return angle_; }
    std::wstring getVanShape() const { return vanShape_; }
    std::wstring getClassification() const { return classification_; }
    int32_t getWeight() const { return weight_; }
    std::wstring getDistance() const { return distance_; }

    void setDescription(const std::wstring& description);
    void setArticleNumber(const std::wstring& articleNumber);
    void setDuration(int32_t duration);
    void setCaliber(const std::wstring& caliber);
    void setPrice(double price);
    void setManufacturer(const std::wstring& manufacturer);
    void setPrefire(int32_t prefire);
    void setHeight(int32_t height);
    void setColor(const std::wstring& color);
    void setType(const std::wstring& type);
    void setAngle(const std::wstring& angle);
    void setVanShape(const std::wstring& vanShape);
    void setClassification(const std::wstring& classification);
    void setWeight(int32_t weight);
    void setDistance(const std::wstring& distance);
    void setSelected(bool selected);

    // Marks the effect as changed by an edit (databaseId -2); notifies only the first time.
    void clearDatabaseId();

    // Field access by number, for the edit operation. As text: texts as stored, whole numbers
    // as "%d", the price with six decimals and a full stop (the value texts of the record
    // form). Setting from text reads numbers as the entry form does (parseWholeNumber,
    // parseDecimalNumber), then goes through the field's setter.
    std::wstring getFieldText(EffectField field) const;
    void setFieldText(EffectField field, const std::wstring& text);
    // The four whole-number fields (duration, prefire, height, weight) without a text detour.
    int32_t getWholeNumberField(EffectField field) const;
    void setWholeNumberField(EffectField field, int32_t value);

    // The record text form stored in the effect file: keys and values alternating, one pair
    // per field that is set (text not empty, number not 0), then "~DBI" and databaseId.
    std::vector<std::wstring> toKeyValueTexts() const;

    // The duplicate rule of the effect list: description, article number, duration, price,
    // caliber, manufacturer, prefire, height, color, type and angle all equal (texts exactly,
    // the price as a real). Van shape, classification, weight, distance and the numbers are
    // not compared.
    bool sameArticle(const Effect& other) const;
    // A hash over exactly the fields sameArticle() compares.
    std::size_t articleHash() const;

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

protected:
    void clearListeners() { listeners_.clear(); }

private:
    template <typename T>
    void change(T& field, const T& value, void (Listener::*notification)(Effect*));

    int32_t id_ = -1;
    int32_t databaseId_ = kDatabaseIdFromText;
    int32_t duration_ = 0;
    std::wstring caliber_;
    double price_ = 0.0;
    bool selected_ = false;
    std::wstring description_;
    std::wstring articleNumber_;
    std::wstring manufacturer_;
    int32_t prefire_ = 0;
    int32_t height_ = 0;
    std::wstring color_;
    std::wstring type_;
    std::wstring angle_;
    std::wstring vanShape_;
    std::wstring classification_;
    int32_t weight_ = 0;
    std::wstring distance_;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace Project
