#include "Project/Operations/OperationOpenFile.h"

#include "Project/ISoundtrack.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationOpenFile::execute(ProjectData& data)
{
    clearProject(data);
    return true;
}

void OperationOpenFile::clearProject(ProjectData& data)
{
    data.getCueList().clear();
    data.getMetadata().clear();
    data.setWaveLink(false, L"");
    if (ISoundtrack* soundtrack = soundtrackOf(data)) {
        soundtrack->unload();
    }
}

}  // namespace Project
