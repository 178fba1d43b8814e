#include "Project/Operations/OperationOpenProject.h"

#include "FileIO/RiffFileReader.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationLoadNotice.h"
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
    if (Project* project = data.getOwner()) {
        project->setFileName(getPath(), false);
    }
    if (!ProjectFile::read(reader, data, ProjectFile::Mode::OPEN, error, salvage_)) {
        return failOperation(error);
    }
    // Damage found while reading (a cue left out) counts as well.
    salvaged_ = reader.isDamaged();
    if (data.isWaveLinked()) {
        const std::wstring audio = ProjectFile::audioPathFor(getPath());
        ISoundtrack* soundtrack = soundtrackOf(data);
        data.setWaveLink(true, audio);
        if (soundtrack == nullptr || !soundtrack->load(audio)) {
            // The cues open all the same; the link is kept, so that a save keeps it, and
            // the user is told (it used to be dropped without a word).
            data.setSoundtrackMissing(true);
            OperationLoadNotice::show(L"MESSAGES.SOUNDTRACK_MISSING.TITLE",
                                      L"MESSAGES.SOUNDTRACK_MISSING.MESSAGE");
        }
    }
    return true;
}

}  // namespace Project
