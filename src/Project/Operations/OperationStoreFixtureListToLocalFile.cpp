#include "Project/Operations/OperationStoreFixtureListToLocalFile.h"

#include "Project/Operations/OperationReport.h"
#include "Project/Operations/PresetFile.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationStoreFixtureListToLocalFile::execute(ProjectData& data)
{
    std::wstring error;
    return PresetFile::save(path_.empty() ? PresetFile::defaultPath() : path_,
                            data.getFixtureStore(), data.getFixtureList(), selectedOnly_, error) ||
           failOperation(error);
}

}  // namespace Project
