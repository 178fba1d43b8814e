#include "Project/Operations/OperationLoadFixtureListFromLocalFile.h"

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/DamagedLibraryFile.h"
#include "Project/Operations/FileDamage.h"
#include "Project/Operations/OperationLoadNotice.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/PresetFile.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

// The per-user file replaces the presets. A file that is there but cannot be read is set
// aside before anything can store the emptied (or partly read) library over it.
bool loadDefaultFile(ProjectData& data)
{
    const std::wstring path = PresetFile::defaultPath();
    std::wstring error;
    {
        FileIO::RiffFileReader reader;
        if (!PresetFile::open(reader, path)) {
            if (!DamagedLibraryFile::exists(path)) {
                return true;
            }
            error = L"ERROR.INVALID_FWP_TODO";
        } else if (!PresetFile::isPresetFile(reader)) {
            error = L"ERROR.INVALID_FWP_TODO";
        } else if (!FileDamage::accept(reader, Salvage::REFUSE, error)) {
            // set aside below
        } else if (!PresetFile::read(reader, data.getFixtureStore(), data.getFixtureList(),
                                     error)) {
            if (error == L"ERROR.MEMORY") {
                return failOperation(error);
            }
        } else {
            return true;
        }
    }
    DamagedLibraryFile::setAside(path);
    return failOperation(error);
}

}  // namespace

bool OperationLoadFixtureListFromLocalFile::execute(ProjectData& data)
{
    if (path_.empty()) {
        // The list lets go of the presets before the store destroys them.
        data.getFixtureList().clear();
        data.setCurrentFixture(nullptr);
        data.getFixtureStore().clear();
        return loadDefaultFile(data);
    }
    std::wstring error;
    if (!PresetFile::load(path_, data.getFixtureStore(), data.getFixtureList(), error, salvage_)) {
        return failOperation(error);
    }
    OperationLoadNotice::show(L"MESSAGES.LOAD.PRESETFILE.TITLE",
                              L"MESSAGES.LOAD.PRESETFILE.MESSAGE");
    return true;
}

}  // namespace Project
