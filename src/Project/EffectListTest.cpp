#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Project/EffectList.h"

namespace Project {
namespace {

using EffectItem = EffectList::EffectItem;

// The fields of one effect, so a test can vary one of them.
struct Values {
    int32_t duration = 30;
    int32_t prefire = 1200;
    int32_t height = 80;
    int32_t weight = 450;
    int32_t databaseId = -1;
    int32_t id = -1;
    std::wstring description = L"Red Peony";
    std::wstring articleNumber = L"A-100";
    double price = 12.5;
    std::wstring caliber = L"75";
    std::wstring manufacturer = L"Acme";
    std::wstring color = L"red";
    std::wstring type = L"shell";
    std::wstring angle = L"90";
    std::wstring vanShape = L"round";
    std::wstring classification = L"1.3G";
    std::wstring distance = L"70";
};

EffectItem* add(EffectList& list, const Values& v)
{
    return list.addEffect(v.duration, v.prefire, v.height, v.weight, v.databaseId, v.id,
                          v.description, v.articleNumber, v.price, v.caliber, v.manufacturer,
                          v.color, v.type, v.angle, v.vanShape, v.classification, v.distance);
}

EffectItem* add(EffectList& list, const std::wstring& description)
{
    Values v;
    v.description = description;
    return add(list, v);
}

std::vector<std::wstring> descriptions(const EffectList& list)
{
    std::vector<std::wstring> result;
    for (const EffectItem* item : list) {
        result.push_back(item->getDescription());
    }
    return result;
}

// Records list events as text; reads each removed item, so a destroyed one shows up under
// AddressSanitizer.
class ListRecorder : public EffectList::Listener {
public:
    explicit ListRecorder(const EffectList& list) : list_(list) {}
    std::vector<std::wstring> events;

    void effectAdded(EffectItem* item) override
    {
        events.push_back(L"added " + item->getDescription() + L" count " +
                         std::to_wstring(list_.getCount()));
    }
    void effectRemoved(EffectItem* item) override
    {
        events.push_back(L"removed " + item->getDescription() + L" count " +
                         std::to_wstring(list_.getCount()));
    }
    void effectsCleared() override { events.push_back(L"cleared"); }
    void descriptionChanged(Effect* e) override
    {
        events.push_back(L"description " + e->getDescription());
    }
    void weightChanged(Effect* e) override
    {
        events.push_back(L"weight " + std::to_wstring(e->getWeight()));
    }

private:
    const EffectList& list_;
};

TEST(EffectList, NumbersEffectsAndRestartsAfterClear)
{
    EffectList list;
    EXPECT_EQ(add(list, L"a")->getId(), 0);
    EXPECT_EQ(add(list, L"b")->getId(), 1);
    EXPECT_EQ(add(list, L"a"), nullptr);  // a refused duplicate uses no number

    Values given;
    given.description = L"c";
    given.id = 17;
    EXPECT_EQ(add(list, given)->getId(), 17);
    EXPECT_EQ(add(list, L"d")->getId(), 2);

    EXPECT_EQ(descriptions(list), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(list.getCount(), 4);
    EXPECT_EQ(list.findById(17)->getDescription(), L"c");
    EXPECT_EQ(list.findById(5), nullptr);

    list.clearEffects();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.begin(), list.end());
    EXPECT_EQ(add(list, L"e")->getId(), 0);
}

TEST(EffectList, DuplicateRuleComparesElevenFields)
{
    const struct {
        const char* name;
        void (*change)(Values&);
        bool added;
    } cases[] = {
        {"description", [](Values& v) { v.description = L"red peony"; }, true},
        {"articleNumber", [](Values& v) { v.articleNumber = L"A-101"; }, true},
        {"duration", [](Values& v) { v.duration = 31; }, true},
        {"price", [](Values& v) { v.price = 12.51; }, true},
        {"caliber", [](Values& v) { v.caliber = L"76"; }, true},
        {"manufacturer", [](Values& v) { v.manufacturer = L"Acme2"; }, true},
        {"prefire", [](Values& v) { v.prefire = 1100; }, true},
        {"height", [](Values& v) { v.height = 81; }, true},
        {"color", [](Values& v) { v.color = L"Red"; }, true},
        {"type", [](Values& v) { v.type = L"cake"; }, true},
        {"angle", [](Values& v) { v.angle = L"45"; }, true},
        {"vanShape", [](Values& v) { v.vanShape = L"flat"; }, false},
        {"classification", [](Values& v) { v.classification = L"1.4G"; }, false},
        {"weight", [](Values& v) { v.weight = 1; }, false},
        {"distance", [](Values& v) { v.distance = L"1"; }, false},
        {"databaseId", [](Values& v) { v.databaseId = -2; }, false},
        {"id", [](Values& v) { v.id = 99; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EffectList list;
        ListRecorder recorder(list);
        EffectItem* existing = add(list, Values{});
        list.addListener(&recorder);

        Values other;
        c.change(other);
        EXPECT_EQ(add(list, other) != nullptr, c.added);
        EXPECT_EQ(list.getCount(), c.added ? 2 : 1);
        EXPECT_EQ(recorder.events.size(), c.added ? 1u : 0u);
        EXPECT_EQ(existing->getWeight(), 450);  // the existing effect is not touched
    }
}

TEST(EffectList, ZeroPriceOfEitherSignIsTheSameArticle)
{
    EffectList list;
    Values zero;
    zero.price = 0.0;
    Values negativeZero;
    negativeZero.price = -0.0;
    ASSERT_NE(add(list, zero), nullptr);
    EXPECT_EQ(add(list, negativeZero), nullptr);
}

TEST(EffectList, DuplicateCheckFollowsEditsAndRemovals)
{
    EffectList list;
    EffectItem* first = add(list, L"a");
    add(list, L"b");

    // Edited to "x": its old content no longer blocks, its new content does.
    first->setDescription(L"x");
    EXPECT_EQ(add(list, L"x"), nullptr);
    EffectItem* again = add(list, L"a");
    ASSERT_NE(again, nullptr);

    // Fields outside the rule do not matter, edited or not.
    again->setWeight(1);
    EXPECT_EQ(add(list, L"a"), nullptr);

    list.removeEffect(again);
    EXPECT_NE(add(list, L"a"), nullptr);
    EXPECT_EQ(descriptions(list), (std::vector<std::wstring>{L"x", L"b", L"a"}));

    list.clearEffects();
    EXPECT_NE(add(list, L"x"), nullptr);
}

TEST(EffectList, TellsListenersOfEveryChange)
{
    EffectList list;
    ListRecorder recorder(list);
    list.addListener(&recorder);
    list.addListener(&recorder);  // held once

    EffectItem* a = add(list, L"a");
    add(list, L"b");
    add(list, L"c");
    a->setDescription(L"a2");
    a->setWeight(5);
    list.removeEffect(a);
    list.clearEffects();
    list.removeListener(&recorder);
    add(list, L"d");

    EXPECT_EQ(recorder.events,
              (std::vector<std::wstring>{L"added a count 1", L"added b count 2", L"added c count 3",
                                         L"description a2", L"weight 5", L"removed a2 count 2",
                                         L"removed b count 1", L"removed c count 0", L"cleared"}));
}

TEST(EffectList, RemovedItemIsReadableDuringItsNotification)
{
    // The listener takes everything it needs from the item while it is being removed.
    struct Reader : EffectList::Listener {
        std::wstring read;
        void effectRemoved(EffectItem* item) override
        {
            read = item->getDescription() + item->getArticleNumber();
        }
    } reader;
    EffectList list;
    EffectItem* item = add(list, L"gone");
    list.addListener(&reader);
    list.removeEffect(item);
    EXPECT_EQ(reader.read, L"goneA-100");
    EXPECT_TRUE(list.isEmpty());
}

TEST(EffectList, InsertedCopyKeepsItsNumbersAndSkipsTheDuplicateCheck)
{
    EffectList list;
    EffectItem* original = add(list, L"a");
    add(list, L"b");
    original->setSelected(true);
    original->clearDatabaseId();

    struct Direct : Effect::Listener {
        int calls = 0;
        void colorChanged(Effect*) override { ++calls; }
    } direct;
    original->addListener(&direct);
    const Effect saved = *original;
    list.removeEffect(original);

    ListRecorder recorder(list);
    list.addListener(&recorder);
    EffectItem* restored = list.insertEffectCopy(saved);
    EffectItem* twin = list.insertEffectCopy(saved);

    EXPECT_EQ(restored->getId(), 0);
    EXPECT_EQ(twin->getId(), 0);
    EXPECT_TRUE(restored->isSelected());
    EXPECT_EQ(restored->getDatabaseId(), Effect::kDatabaseIdEdited);
    EXPECT_EQ(list.getCount(), 3);
    EXPECT_EQ(list.getNextId(), 2);
    EXPECT_EQ(descriptions(list), (std::vector<std::wstring>{L"b", L"a", L"a"}));

    // Watched by the list, not by what watched the removed effect.
    restored->setColor(L"green");
    restored->setDescription(L"a3");
    EXPECT_EQ(direct.calls, 0);
    EXPECT_EQ(recorder.events, (std::vector<std::wstring>{L"added a count 2", L"added a count 3",
                                                          L"description a3"}));
}

TEST(EffectList, ChangesOfADetachedCopyAreNotTheLists)
{
    EffectList list;
    EffectItem* item = add(list, L"a");
    ListRecorder recorder(list);
    list.addListener(&recorder);

    Effect copy = *item;  // carries the list's forwarder in its listener set
    copy.setDescription(L"b");

    EXPECT_TRUE(recorder.events.empty());
    EXPECT_FALSE(list.holds(&copy));
    EXPECT_EQ(add(list, L"b")->getDescription(), L"b");
    EXPECT_EQ(add(list, L"a"), nullptr);
}

TEST(EffectList, RemovingAForeignItemIsAProgrammingError)
{
    EffectList list;
    EffectList other;
    EffectItem* foreign = add(other, L"a");
    add(list, L"a");
    EXPECT_INVARIANT(list.removeEffect(foreign), "holds(item)", "EffectList");
    EXPECT_EQ(list.getCount(), 1);
    EXPECT_EQ(other.getCount(), 1);
}

TEST(EffectList, AddFromTextConvertsNumbers)
{
    const struct {
        const wchar_t* duration;
        int32_t expected;
    } durations[] = {{L"", 0}, {L"  ", -1}, {L"-5", -1}, {L" 7s", 7}};

    EffectList list;
    int n = 0;
    for (const auto& d : durations) {
        EffectTexts texts;
        texts[static_cast<int>(EffectField::DESCRIPTION)] = L"effect " + std::to_wstring(n++);
        texts[static_cast<int>(EffectField::DURATION)] = d.duration;
        EffectItem* item = list.addEffectFromText(texts);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->getDuration(), d.expected) << '"' << d.duration << '"';
    }

    EffectTexts texts;
    const std::wstring values[] = {L"Comet", L"C-1",  L"12",   L"30",   L"3,5",
                                   L"Acme",  L"800",  L"40",   L"gold", L"comet",
                                   L"80",    L"tail", L"1.4G", L"250",  L"25"};
    for (int f = 0; f < kEffectFieldCount; ++f) {
        texts[f] = values[f];
    }
    EffectItem* item = list.addEffectFromText(texts);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->getId(), 4);
    EXPECT_EQ(item->getDatabaseId(), Effect::kDatabaseIdFromText);
    EXPECT_FALSE(item->isSelected());
    EXPECT_DOUBLE_EQ(item->getPrice(), 3.5);
    EXPECT_EQ(item->toKeyValueTexts(),
              (std::vector<std::wstring>{
                  L"~DES", L"Comet", L"~ART", L"C-1",   L"~DUR", L"12",  L"~PRI", L"3.500000",
                  L"~CAL", L"30",    L"~MAN", L"Acme",  L"~PRE", L"800", L"~HEI", L"40",
                  L"~COL", L"gold",  L"~TYP", L"comet", L"~ANG", L"80",  L"~VAN", L"tail",
                  L"~CLA", L"1.4G",  L"~WEI", L"250",   L"~DIS", L"25",  L"~DBI", L"-1"}));
}

}  // namespace
}  // namespace Project
