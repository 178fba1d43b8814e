#pragma once

#include <cstdint>
#include <memory>

#include "Project/Fixture.h"
#include "Project/ProjectData.h"

// Helpers of the fixture operations, which find presets by number.
namespace Project::FixtureStoreEdit {

// The store's entry holding this preset, or the store's end.
FixtureStore::iterator findInStore(FixtureStore& store, const Fixture* fixture);

// Takes the listed preset out of the list and the store and destroys it; the edited preset
// is let go first when it is this one. False when the list does not show a preset with the
// number or the store does not hold it; nothing changes then.
bool remove(ProjectData& data, int32_t id);

// Appends the preset to the store and lists it (a numbered preset keeps its number).
Fixture* insert(ProjectData& data, std::unique_ptr<Fixture> fixture);

}  // namespace Project::FixtureStoreEdit
