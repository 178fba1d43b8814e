#include "Project/Operations/FixtureStoreEdit.h"

#include <algorithm>
#include <utility>

namespace Project::FixtureStoreEdit {

FixtureStore::iterator findInStore(FixtureStore& store, const Fixture* fixture)
{
    return std::find_if(
        store.begin(), store.end(),
        [fixture](const std::unique_ptr<Fixture>& held) { return held.get() == fixture; });
}

bool remove(ProjectData& data, int32_t id)
{
    FixtureList::FixtureItem* item = data.getFixtureList().findById(id);
    if (item == nullptr) {
        return false;
    }
    Fixture* fixture = item->getFixture();
    const auto held = findInStore(data.getFixtureStore(), fixture);
    if (held == data.getFixtureStore().end()) {
        return false;
    }
    if (data.getCurrentFixture() == fixture) {
        data.setCurrentFixture(nullptr);
    }
    data.getFixtureList().removeFixture(item);
    data.getFixtureStore().erase(held);
    return true;
}

Fixture* insert(ProjectData& data, std::unique_ptr<Fixture> fixture)
{
    Fixture* added = fixture.get();
    data.getFixtureStore().push_back(std::move(fixture));
    data.getFixtureList().addFixture(added);
    return added;
}

}  // namespace Project::FixtureStoreEdit
