#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Project/Effect.h"

namespace Project {
namespace {

// Records every notification as "name" in the order received.
class RecordingListener : public Effect::Listener {
public:
    std::vector<std::string> calls;
    std::vector<Effect*> effects;

    void descriptionChanged(Effect* e) override { record("descriptionChanged", e); }
    void articleNumberChanged(Effect* e) override { record("articleNumberChanged", e); }
    void durationChanged(Effect* e) override { record("durationChanged", e); }
    void priceChanged(Effect* e) override { record("priceChanged", e); }
    void caliberChanged(Effect* e) override { record("caliberChanged", e); }
    void selectedChanged(Effect* e) override { record("selectedChanged", e); }
    void manufacturerChanged(Effect* e) override { record("manufacturerChanged", e); }
    void prefireChanged(Effect* e) override { record("prefireChanged", e); }
    void heightChanged(Effect* e) override { record("heightChanged", e); }
    void colorChanged(Effect* e) override { record("colorChanged", e); }
    void typeChanged(Effect* e) override { record("typeChanged", e); }
    void angleChanged(Effect* e) override { record("angleChanged", e); }
    void databaseIdCleared(Effect* e) override { record("databaseIdCleared", e); }
    void vanShapeChanged(Effect* e) override { record("vanShapeChanged", e); }
    void classificationChanged(Effect* e) override { record("classificationChanged", e); }
    void weightChanged(Effect* e) override { record("weightChanged", e); }
    void distanceChanged(Effect* e) override { record("distanceChanged", e); }

private:
    void record(const char* name, Effect* e)
    {
        calls.emplace_back(name);
        effects.push_back(e);
    }
};

Effect fullEffect()
{
    return Effect(30, 1200, 80, 450, -1, 4, L"Red Peony", L"A-100", 12.5, L"75", L"Acme", L"red",
                  L"shell", L"90", L"round", L"1.3G", L"70");
}

TEST(Effect, EachFieldSetterNotifiesItsOwnChangeOnlyOnChange)
{
    const struct {
        EffectField field;
        const wchar_t* text;
        const wchar_t* stored;  // getFieldText after setting
        const char* notification;
    } cases[] = {
        {EffectField::DESCRIPTION, L"Blue Comet", L"Blue Comet", "descriptionChanged"},
        {EffectField::ARTICLE_NUMBER, L"B-7", L"B-7", "articleNumberChanged"},
        {EffectField::DURATION, L" 7s", L"7", "durationChanged"},
        {EffectField::CALIBER, L"100", L"100", "caliberChanged"},
        {EffectField::PRICE, L"3,5", L"3.500000", "priceChanged"},
        {EffectField::MANUFACTURER, L"Other", L"Other", "manufacturerChanged"},
        {EffectField::PREFIRE, L"-5", L"-1", "prefireChanged"},
        {EffectField::HEIGHT, L"120", L"120", "heightChanged"},
        {EffectField::COLOR, L"blue", L"blue", "colorChanged"},
        {EffectField::TYPE, L"cake", L"cake", "typeChanged"},
        {EffectField::ANGLE, L"45", L"45", "angleChanged"},
        {EffectField::VAN_SHAPE, L"flat", L"flat", "vanShapeChanged"},
        {EffectField::CLASSIFICATION, L"1.4G", L"1.4G", "classificationChanged"},
        {EffectField::WEIGHT, L"", L"0", "weightChanged"},
        {EffectField::DISTANCE, L"100", L"100", "distanceChanged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notification);
        Effect effect = fullEffect();
        RecordingListener listener;
        effect.addListener(&listener);

        effect.setFieldText(c.field, c.text);
        EXPECT_EQ(effect.getFieldText(c.field), c.stored);
        ASSERT_EQ(listener.calls, std::vector<std::string>{c.notification});
        EXPECT_EQ(listener.effects[0], &effect);

        effect.setFieldText(c.field, c.text);
        EXPECT_EQ(listener.calls.size(), 1u) << "setting the same value again notified";
    }
}

TEST(Effect, SelectionAndDatabaseIdNotifyOnce)
{
    Effect effect = fullEffect();
    RecordingListener listener;
    effect.addListener(&listener);

    effect.setSelected(false);
    effect.setSelected(true);
    effect.setSelected(true);
    effect.clearDatabaseId();
    effect.clearDatabaseId();

    EXPECT_TRUE(effect.isSelected());
    EXPECT_EQ(effect.getDatabaseId(), Effect::kDatabaseIdEdited);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"selectedChanged", "databaseIdCleared"}));
}

TEST(Effect, WholeNumberFieldAccessByNumber)
{
    Effect effect = fullEffect();
    EXPECT_EQ(effect.getWholeNumberField(EffectField::DURATION), 30);
    EXPECT_EQ(effect.getWholeNumberField(EffectField::PREFIRE), 1200);
    EXPECT_EQ(effect.getWholeNumberField(EffectField::HEIGHT), 80);
    EXPECT_EQ(effect.getWholeNumberField(EffectField::WEIGHT), 450);
    effect.setWholeNumberField(EffectField::HEIGHT, 95);
    EXPECT_EQ(effect.getHeight(), 95);

    EXPECT_INVARIANT(effect.setWholeNumberField(EffectField::COLOR, 1),
                     "effectFieldKind(field) == EffectFieldKind::WHOLE_NUMBER", "Effect");
    EXPECT_INVARIANT(effect.getFieldText(static_cast<EffectField>(15)), "isEffectField(field)",
                     "Effect");
    EXPECT_FALSE(isEffectField(15));
    EXPECT_FALSE(isEffectField(-1));
    EXPECT_TRUE(isEffectField(14));
}

TEST(Effect, RecordTextFormWritesSetFieldsInOrder)
{
    const std::vector<std::wstring> full = {
        L"~DES", L"Red Peony", L"~ART", L"A-100", L"~DUR", L"30",   L"~PRI", L"12.500000",
        L"~CAL", L"75",        L"~MAN", L"Acme",  L"~PRE", L"1200", L"~HEI", L"80",
        L"~COL", L"red",       L"~TYP", L"shell", L"~ANG", L"90",   L"~VAN", L"round",
        L"~CLA", L"1.3G",      L"~WEI", L"450",   L"~DIS", L"70",   L"~DBI", L"-1",
    };
    EXPECT_EQ(fullEffect().toKeyValueTexts(), full);

    Effect onlyDescription(0, 0, 0, 0, -1, 0, L"Fountain", L"", 0.0, L"", L"", L"", L"", L"", L"",
                           L"", L"");
    EXPECT_EQ(onlyDescription.toKeyValueTexts(),
              (std::vector<std::wstring>{L"~DES", L"Fountain", L"~DBI", L"-1"}));

    // Negative numbers are set (not 0) and written; a databaseId of 0 is not.
    Effect numbers(-1, 0, 0, 0, 0, 0, L"", L"", 0.125, L"", L"", L"", L"", L"", L"", L"", L"");
    EXPECT_EQ(numbers.toKeyValueTexts(),
              (std::vector<std::wstring>{L"~DUR", L"-1", L"~PRI", L"0.125000"}));
}

TEST(Effect, CopyKeepsFieldsNumbersSelectionAndListeners)
{
    Effect original = fullEffect();
    original.setSelected(true);
    original.clearDatabaseId();
    RecordingListener listener;
    original.addListener(&listener);

    Effect copy = original;
    EXPECT_EQ(copy.toKeyValueTexts(), original.toKeyValueTexts());
    EXPECT_EQ(copy.getId(), 4);
    EXPECT_TRUE(copy.isSelected());

    copy.setColor(L"green");
    ASSERT_EQ(listener.effects.size(), 1u);
    EXPECT_EQ(listener.effects[0], &copy);
    EXPECT_EQ(original.getColor(), L"red");
}

}  // namespace
}  // namespace Project
