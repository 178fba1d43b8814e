#pragma once

#include <string>
#include <vector>

#include "Project/Fixture.h"
#include "Project/FixtureList.h"

namespace Project {

// The five criteria of the fixture search. An empty criterion does not narrow. Texts match
// as substrings with ASCII letters folded; the duration takes "<n", ">n" or n (milliseconds).
struct FixtureSearchCriteria {
    std::wstring description;
    std::wstring manufacturer;
    std::wstring productName;
    std::wstring comments;
    std::wstring duration;

    bool isEmpty() const;
};

// Whether the fixture meets every non-empty criterion.
bool matchesFixtureSearch(const Fixture& fixture, const FixtureSearchCriteria& criteria);

// Refills the list from the whole store, in store order: with every fixture when all criteria
// are empty, otherwise with the fixtures that meet them all. The listed fixtures are the
// stored ones (no copies), so they keep their numbers and selection.
void searchFixtures(const FixtureStore& store, FixtureList& list,
                    const FixtureSearchCriteria& criteria);

// The selected fixtures of the list, earliest selection first; fixtures selected within the
// same millisecond keep the order in which they were selected.
std::vector<Fixture*> selectedFixturesInOrder(const FixtureList& list);

}  // namespace Project
