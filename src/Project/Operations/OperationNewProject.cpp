#include "Project/Operations/OperationNewProject.h"

#include "Config/Settings.h"
#include "Platform/Assert.h"
#include "Project/Operations/OperationOpenFile.h"
#include "Project/Project.h"

namespace Project {

bool OperationNewProject::execute(ProjectData& data)
{
    SKY_ASSERT(SMPTE::isValidFormat(format_), "OperationNewProject");
    OperationOpenFile::clearProject(data);
    if (Project* project = data.getOwner()) {
        project->setFileName(Config::tr(L"FILENAME.NEW"), true);
    }
    data.setFormat(format_);
    data.setAudioOffset(SMPTE(format_));
    return true;
}

}  // namespace Project
