#include "Project/Operations/OperationLoadFixtureListFromLocalFile.h"

#include "Project/Operations/OperationLoadNotice.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/PresetFile.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationLoadFixtureListFromLocalFile::execute(ProjectData& data)
{
    const bool defaultFile = path_.empty();
    if (defaultFile) {
        // The list lets go of the presets before the store destroys them.
        data.getFixtureList().clear();
        data.setCurrentFixture(nullptr);
        data.getFixtureStore().clear();
    }
    std::wstring error;
    if (!PresetFile::load(defaultFile ? PresetFile::defaultPath() : path_, data.getFixtureStore(),
                          data.getFixtureList(), error)) {
        return failOperation(error);
    }
    if (!defaultFile) {
        OperationLoadNotice::show(L"MESSAGES.LOAD.PRESETFILE.TITLE",
                                  L"MESSAGES.LOAD.PRESETFILE.MESSAGE");
    }
    return true;
}

}  // namespace Project
