#include "Project/Effect.h"

#include <functional>
#include <utility>

#include "Platform/Assert.h"
#include "Project/NumberText.h"

namespace Project {

namespace {

void hashInto(std::size_t& seed, std::size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

bool isEffectField(int field)
{
    return field >= 0 && field < kEffectFieldCount;
}

EffectFieldKind effectFieldKind(EffectField field)
{
    switch (field) {
        case EffectField::DURATION:
        case EffectField::PREFIRE:
        case EffectField::HEIGHT:
        case EffectField::WEIGHT: return EffectFieldKind::WHOLE_NUMBER;
        case EffectField::PRICE: return EffectFieldKind::REAL;
        default: return EffectFieldKind::TEXT;
    }
}

Effect::Effect(int32_t duration, int32_t prefire, int32_t height, int32_t weight,
               int32_t databaseId, int32_t id, std::wstring description, std::wstring articleNumber,
               double price, std::wstring caliber, std::wstring manufacturer, std::wstring color,
               std::wstring type, std::wstring angle, std::wstring vanShape,
               std::wstring classification, std::wstring distance)
    : id_(id),
      databaseId_(databaseId),
      duration_(duration),
      caliber_(std::move(caliber)),
      price_(price),
      description_(std::move(description)),
      articleNumber_(std::move(articleNumber)),
      manufacturer_(std::move(manufacturer)),
      prefire_(prefire),
      height_(height),
      color_(std::move(color)),
      type_(std::move(type)),
      angle_(std::move(angle)),
      vanShape_(std::move(vanShape)),
      classification_(std::move(classification)),
      weight_(weight),
      distance_(std::move(distance))
{
}

template <typename T>
void Effect::change(T& field, const T& value, void (Listener::*notification)(Effect*))
{
    if (field == value) {
        return;
    }
    field = value;
    listeners_.notify(notification, this);
}

void Effect::setDescription(const std::wstring& description)
{
    change(description_, description, &Listener::descriptionChanged);
}

void Effect::setArticleNumber(const std::wstring& articleNumber)
{
    change(articleNumber_, articleNumber, &Listener::articleNumberChanged);
}

void Effect::setDuration(int32_t duration)
{
    change(duration_, duration, &Listener::durationChanged);
}

void Effect::setCaliber(const std::wstring& caliber)
{
    change(caliber_, caliber, &Listener::caliberChanged);
}

void Effect::setPrice(double price)
{
    change(price_, price, &Listener::priceChanged);
}

void Effect::setManufacturer(const std::wstring& manufacturer)
{
    change(manufacturer_, manufacturer, &Listener::manufacturerChanged);
}

void Effect::setPrefire(int32_t prefire)
{
    change(prefire_, prefire, &Listener::prefireChanged);
}

void Effect::setHeight(int32_t height)
{
    change(height_, height, &Listener::heightChanged);
}

void Effect::setColor(const std::wstring& color)
{
    change(color_, color, &Listener::colorChanged);
}

void Effect::setType(const std::wstring& type)
{
    change(type_, type, &Listener::typeChanged);
}

void Effect::setAngle(const std::wstring& angle)
{
    change(angle_, angle, &Listener::angleChanged);
}

void Effect::setVanShape(const std::wstring& vanShape)
{
    change(vanShape_, vanShape, &Listener::vanShapeChanged);
}

void Effect::setClassification(const std::wstring& classification)
{
    change(classification_, classification, &Listener::classificationChanged);
}

void Effect::setWeight(int32_t weight)
{
    change(weight_, weight, &Listener::weightChanged);
}

void Effect::setDistance(const std::wstring& distance)
{
    change(distance_, distance, &Listener::distanceChanged);
}

void Effect::setSelected(bool selected)
{
    change(selected_, selected, &Listener::selectedChanged);
}

void Effect::clearDatabaseId()
{
    change(databaseId_, kDatabaseIdEdited, &Listener::databaseIdCleared);
}

std::wstring Effect::getFieldText(EffectField field) const
{
    switch (field) {
        case EffectField::DESCRIPTION: return description_;
        case EffectField::ARTICLE_NUMBER: return articleNumber_;
        case EffectField::CALIBER: return caliber_;
        case EffectField::PRICE: return priceText(price_);
        case EffectField::MANUFACTURER: return manufacturer_;
        case EffectField::COLOR: return color_;
        case EffectField::TYPE: return type_;
        case EffectField::ANGLE: return angle_;
        case EffectField::VAN_SHAPE: return vanShape_;
        case EffectField::CLASSIFICATION: return classification_;
        case EffectField::DISTANCE: return distance_;
        case EffectField::DURATION:
        case EffectField::PREFIRE:
        case EffectField::HEIGHT:
        case EffectField::WEIGHT: return std::to_wstring(getWholeNumberField(field));
    }
    SKY_ASSERT_TEXT(false, "isEffectField(field)", "Effect");
}

void Effect::setFieldText(EffectField field, const std::wstring& text)
{
    switch (field) {
        case EffectField::DESCRIPTION: setDescription(text); return;
        case EffectField::ARTICLE_NUMBER: setArticleNumber(text); return;
        case EffectField::CALIBER: setCaliber(text); return;
        case EffectField::PRICE: setPrice(parseDecimalNumber(text)); return;
        case EffectField::MANUFACTURER: setManufacturer(text); return;
        case EffectField::COLOR: setColor(text); return;
        case EffectField::TYPE: setType(text); return;
        case EffectField::ANGLE: setAngle(text); return;
        case EffectField::VAN_SHAPE: setVanShape(text); return;
        case EffectField::CLASSIFICATION: setClassification(text); return;
        case EffectField::DISTANCE: setDistance(text); return;
        case EffectField::DURATION:
        case EffectField::PREFIRE:
        case EffectField::HEIGHT:
        case EffectField::WEIGHT: setWholeNumberField(field, parseWholeNumber(text)); return;
    }
    SKY_ASSERT_TEXT(false, "isEffectField(field)", "Effect");
}

int32_t Effect::getWholeNumberField(EffectField field) const
{
    switch (field) {
        case EffectField::DURATION: return duration_;
        case EffectField::PREFIRE: return prefire_;
        case EffectField::HEIGHT: return height_;
        case EffectField::WEIGHT: return weight_;
        default: break;
    }
    SKY_ASSERT_TEXT(false, "effectFieldKind(field) == EffectFieldKind::WHOLE_NUMBER", "Effect");
}

void Effect::setWholeNumberField(EffectField field, int32_t value)
{
    switch (field) {
        case EffectField::DURATION: setDuration(value); return;
        case EffectField::PREFIRE: setPrefire(value); return;
        case EffectField::HEIGHT: setHeight(value); return;
        case EffectField::WEIGHT: setWeight(value); return;
        default: break;
    }
    SKY_ASSERT_TEXT(false, "effectFieldKind(field) == EffectFieldKind::WHOLE_NUMBER", "Effect");
}

std::vector<std::wstring> Effect::toKeyValueTexts() const
{
    std::vector<std::wstring> texts;
    const auto text = [&texts](const wchar_t* key, const std::wstring& value) {
        if (!value.empty()) {
            texts.emplace_back(key);
            texts.push_back(value);
        }
    };
    const auto number = [&texts](const wchar_t* key, int32_t value) {
        if (value != 0) {
            texts.emplace_back(key);
            texts.push_back(std::to_wstring(value));
        }
    };
    text(L"~DES", description_);
    text(L"~ART", articleNumber_);
    number(L"~DUR", duration_);
    if (price_ != 0.0) {
        texts.emplace_back(L"~PRI");
        texts.push_back(priceText(price_));
    }
    text(L"~CAL", caliber_);
    text(L"~MAN", manufacturer_);
    number(L"~PRE", prefire_);
    number(L"~HEI", height_);
    text(L"~COL", color_);
    text(L"~TYP", type_);
    text(L"~ANG", angle_);
    text(L"~VAN", vanShape_);
    text(L"~CLA", classification_);
    number(L"~WEI", weight_);
    text(L"~DIS", distance_);
    number(L"~DBI", databaseId_);
    return texts;
}

bool Effect::sameArticle(const Effect& other) const
{
    return description_ == other.description_ && articleNumber_ == other.articleNumber_ &&
           duration_ == other.duration_ && price_ == other.price_ && caliber_ == other.caliber_ &&
           manufacturer_ == other.manufacturer_ && prefire_ == other.prefire_ &&
           height_ == other.height_ && color_ == other.color_ && type_ == other.type_ &&
           angle_ == other.angle_;
}

std::size_t Effect::articleHash() const
{
    const std::hash<std::wstring> text;
    const std::hash<int32_t> number;
    std::size_t seed = 0;
    hashInto(seed, text(description_));
    hashInto(seed, text(articleNumber_));
    hashInto(seed, number(duration_));
    // 0.0 and -0.0 compare equal, so they must hash alike.
    hashInto(seed, std::hash<double>()(price_ == 0.0 ? 0.0 : price_));
    hashInto(seed, text(caliber_));
    hashInto(seed, text(manufacturer_));
    hashInto(seed, number(prefire_));
    hashInto(seed, number(height_));
    hashInto(seed, text(color_));
    hashInto(seed, text(type_));
    hashInto(seed, text(angle_));
    return seed;
}

}  // namespace Project
