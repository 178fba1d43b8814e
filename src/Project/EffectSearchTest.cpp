#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Project/EffectSearch.h"

namespace Project {
namespace {

using EffectItem = EffectList::EffectItem;

EffectItem* add(EffectList& list, const std::wstring& description, int32_t duration,
                double price = 10.0)
{
    return list.addEffect(duration, 0, 0, 0, -1, -1, description, L"", price, L"", L"", L"", L"",
                          L"", L"", L"", L"");
}

std::vector<std::wstring> descriptions(const EffectList& list)
{
    std::vector<std::wstring> result;
    for (const EffectItem* item : list) {
        result.push_back(item->getDescription());
    }
    return result;
}

EffectTexts criteria(EffectField field, const std::wstring& text)
{
    EffectTexts c;
    c[static_cast<int>(field)] = text;
    return c;
}

// A library of five effects, copied into the full library as the search panel does.
class EffectSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        add(library, L"Big RED Peony", 8);
        add(library, L"red comet", 12);
        add(library, L"Green Willow", 5);
        add(library, L"Reddish Fountain", 9, 12.0);
        add(library, L"Blue Mine", 5, 12.5);
        restoreFullLibraryBothWays(library, fullLibrary);
    }

    EffectList library;
    EffectList fullLibrary;
};

TEST_F(EffectSearchTest, CriteriaAreCombinedAndTheHitsAreFreshCopies)
{
    (*library.begin())->setSelected(true);
    EffectTexts c = criteria(EffectField::DURATION, L"<10");
    c[static_cast<int>(EffectField::DESCRIPTION)] = L"Red";

    searchEffects(library, fullLibrary, c);

    EXPECT_EQ(descriptions(library),
              (std::vector<std::wstring>{L"Big RED Peony", L"Reddish Fountain"}));
    std::vector<int32_t> ids;
    for (const EffectItem* item : library) {
        ids.push_back(item->getId());
        EXPECT_FALSE(item->isSelected());
        EXPECT_EQ(item->getDatabaseId(), -1);
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(fullLibrary.getCount(), 5);
}

TEST_F(EffectSearchTest, NumberCriteriaCompare)
{
    const struct {
        EffectField field;
        const wchar_t* criterion;
        std::vector<std::wstring> hits;
    } cases[] = {
        {EffectField::DURATION, L"<>5", {L"Green Willow", L"Blue Mine"}},
        {EffectField::DURATION, L">9", {L"red comet"}},
        {EffectField::PRICE, L"12.5", {L"Reddish Fountain"}},
        {EffectField::PRICE, L"<12,9", {L"Big RED Peony", L"red comet", L"Green Willow"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.criterion)));
        restoreFullLibrary(library, fullLibrary);
        searchEffects(library, fullLibrary, criteria(c.field, c.criterion));
        EXPECT_EQ(descriptions(library), c.hits);
    }
}

TEST_F(EffectSearchTest, SearchesNarrowTheLibraryAsItStands)
{
    searchEffects(library, fullLibrary, criteria(EffectField::DESCRIPTION, L"red"));
    EXPECT_EQ(library.getCount(), 3);
    searchEffects(library, fullLibrary, criteria(EffectField::DURATION, L"<10"));
    EXPECT_EQ(descriptions(library),
              (std::vector<std::wstring>{L"Big RED Peony", L"Reddish Fountain"}));

    // Empty criteria bring the full library back, with fresh numbers.
    searchEffects(library, fullLibrary, EffectTexts{});
    EXPECT_EQ(descriptions(library), descriptions(fullLibrary));
    EXPECT_EQ((*library.begin())->getId(), 0);

    // With nothing narrowed, empty criteria change nothing.
    EffectItem* first = *library.begin();
    searchEffects(library, fullLibrary, EffectTexts{});
    EXPECT_EQ(*library.begin(), first);
}

TEST_F(EffectSearchTest, EachCriterionReadsItsOwnField)
{
    EffectList effects;
    EffectItem* e = effects.addEffect(2, 6, 7, 13, -1, -1, L"d0", L"a1", 4.0, L"c3", L"m5", L"co8",
                                      L"t9", L"an10", L"v11", L"cl12", L"di14");
    const std::wstring own[] = {L"d0",  L"a1", L"2",    L"c3",  L"4",    L"m5", L"6",   L"7",
                                L"co8", L"t9", L"an10", L"v11", L"cl12", L"13", L"di14"};
    for (int f = 0; f < kEffectFieldCount; ++f) {
        SCOPED_TRACE(f);
        const auto field = static_cast<EffectField>(f);
        EXPECT_TRUE(matchesEffectCriterion(*e, field, own[f]));
        EXPECT_TRUE(matchesEffectCriterion(*e, field, L""));
        // The value of a neighbouring field does not match this one.
        EXPECT_FALSE(matchesEffectCriterion(*e, field, own[(f + 1) % kEffectFieldCount]));
    }
}

TEST_F(EffectSearchTest, RestoreKeepsEffectsAddedWhileNarrowed)
{
    searchEffects(library, fullLibrary, criteria(EffectField::DESCRIPTION, L"willow"));
    add(library, L"New Cake", 20);

    EXPECT_TRUE(restoreFullLibrary(library, fullLibrary));
    EXPECT_EQ(descriptions(library),
              (std::vector<std::wstring>{L"Big RED Peony", L"red comet", L"Green Willow",
                                         L"Reddish Fountain", L"Blue Mine", L"New Cake"}));
    EXPECT_EQ((*library.begin())->getId(), 0);

    // Restored once, it has nothing left to restore.
    EXPECT_FALSE(restoreFullLibrary(library, fullLibrary));
}

TEST_F(EffectSearchTest, BothWaysTakesTheCopyFromTheLibraryUnlessItHoldsMore)
{
    // Equal counts: the copy is taken again, so an edit made since is not lost later.
    (*library.begin())->setDescription(L"Big RED Peony XL");
    restoreFullLibraryBothWays(library, fullLibrary);
    EXPECT_EQ(descriptions(fullLibrary), descriptions(library));

    // The library holds more: the copy follows it.
    add(library, L"New Cake", 20);
    restoreFullLibraryBothWays(library, fullLibrary);
    EXPECT_EQ(fullLibrary.getCount(), 6);

    // The copy holds more (a search is active): the library is restored.
    searchEffects(library, fullLibrary, criteria(EffectField::DESCRIPTION, L"cake"));
    EXPECT_EQ(library.getCount(), 1);
    restoreFullLibraryBothWays(library, fullLibrary);
    EXPECT_EQ(library.getCount(), 6);
    EXPECT_EQ(descriptions(library), descriptions(fullLibrary));
}

}  // namespace
}  // namespace Project
