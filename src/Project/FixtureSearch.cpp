#include "Project/FixtureSearch.h"

#include <algorithm>

#include "Project/SearchCriterion.h"

namespace Project {

namespace {

bool meetsText(const std::wstring& field, const std::wstring& criterion)
{
    return criterion.empty() || matchesTextCriterion(field, criterion);
}

}  // namespace

bool FixtureSearchCriteria::isEmpty() const
{
    return description.empty() && manufacturer.empty() && productName.empty() && comments.empty() &&
           duration.empty();
}

bool matchesFixtureSearch(const Fixture& fixture, const FixtureSearchCriteria& criteria)
{
    return meetsText(fixture.getDescription(), criteria.description) &&
           meetsText(fixture.getManufacturer(), criteria.manufacturer) &&
           meetsText(fixture.getProductName(), criteria.productName) &&
           meetsText(fixture.getComments(), criteria.comments) &&
           (criteria.duration.empty() ||
            matchesWholeNumberCriterion(fixture.getDuration(), criteria.duration));
}

void searchFixtures(const FixtureStore& store, FixtureList& list,
                    const FixtureSearchCriteria& criteria)
{
    // Decide before touching the list: a listener of the list may look at the store.
    std::vector<Fixture*> hits;
    hits.reserve(store.size());
    for (const auto& fixture : store) {
        if (criteria.isEmpty() || matchesFixtureSearch(*fixture, criteria)) {
            hits.push_back(fixture.get());
        }
    }
    list.clear();
    for (Fixture* fixture : hits) {
        list.addFixture(fixture);
    }
}

std::vector<Fixture*> selectedFixturesInOrder(const FixtureList& list)
{
    std::vector<Fixture*> selected;
    for (Fixture* fixture : list) {
        if (fixture->isSelected()) {
            selected.push_back(fixture);
        }
    }
    // The clock has millisecond resolution: selections within one millisecond are ordered by
    // the selection sequence number kept with the time.
    std::stable_sort(selected.begin(), selected.end(), [](const Fixture* a, const Fixture* b) {
        if (a->getSelectionTime() != b->getSelectionTime()) {
            return a->getSelectionTime() < b->getSelectionTime();
        }
        return a->getSelectionSequence() < b->getSelectionSequence();
    });
    return selected;
}

}  // namespace Project
