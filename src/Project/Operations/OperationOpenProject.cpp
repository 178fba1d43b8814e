#include "Project/Operations/OperationOpenProject.h"

#include "FileIO/RiffFileReader.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Project.h"

namespace Project {

bool OperationOpenProject::execute(ProjectData& data)
{
    FileIO::RiffFileReader reader;
    if (!reader.open(getPath())) {
        return failOperation(L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING");
    }
    if (!ProjectFile::isProjectFile(reader)) {
        return failOperation(L"ERROR.INVALID_FWP");
    }
    clearProject(data);
    if (Project* project = data.getOwner()) {
        project->setFileName(getPath(), false);
    }
    std::wstring error;
    if (!ProjectFile::read(reader, data, ProjectFile::Mode::OPEN, error)) {
        return failOperation(error);
    }
    if (data.isWaveLinked()) {
        const std::wstring audio = ProjectFile::audioPathFor(getPath());
        ISoundtrack* soundtrack = soundtrackOf(data);
        if (soundtrack != nullptr && soundtrack->load(audio)) {
            data.setWaveLink(true, audio);
        } else {
            data.setWaveLink(false, L"");
        }
    }
    return true;
}

}  // namespace Project
