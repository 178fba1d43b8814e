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
    std::wstring error;
    if (!ProjectFile::open(reader, getPath(), salvage_, error)) {
        return failOperation(error);
    }
    clearProject(data);
    if (Project* project = Project::getInstance()) {
        project->setFileName(getPath(), false);
    }
    if (!ProjectFile::read(reader, data, ProjectFile::Mode::OPEN, error, salvage_)) {
        return failOperation(error);
    }
    // Damage found while reading (a cue left out) counts as well.
    salvaged_ = reader.isDamaged();
    if (data.isWaveLinked()) {
        const std::wstring audio = ProjectFile::audioPathFor(getPath());
        ISoundtrack* soundtrack = ISoundtrack::getInstance();
        if (soundtrack != nullptr && soundtrack->load(audio)) {
            data.setWaveLink(true, audio);
        } else {
            data.setWaveLink(false, L"");
        }
    }
    return true;
}

}  // namespace Project
