#include "Project/Operations/OperationSaveProject.h"

#include "FileIO/RiffFileWriter.h"
#include "Platform/FileReplacement.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Project.h"

namespace Project {

bool OperationSaveProject::execute(ProjectData& data)
{
    Platform::FileReplacement replacement(getPath(),
                                          Platform::FileReplacement::Backup::KEEP_PREVIOUS);
    FileIO::RiffFileWriter writer;
    if (!writer.open(replacement) || !writer.beginList("FWP ")) {
        return failOperation(L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");
    }

    const std::wstring wave = data.getWaveFileName();
    // A soundtrack that was missing when the project was opened has nothing to copy; its
    // link is saved as it stands.
    if (data.isWaveLinked() && !wave.empty() && !data.isSoundtrackMissing()) {
        const std::wstring audio = ProjectFile::audioPathFor(getPath());
        if (audio != wave) {
            ISoundtrack* soundtrack = soundtrackOf(data);
            // The player lets go of the file first: it may be the one about to be replaced.
            if (soundtrack != nullptr) {
                soundtrack->unload();
            }
            if (!Platform::FileReplacement::copyFile(
                    wave, audio, Platform::FileReplacement::Backup::KEEP_PREVIOUS)) {
                return failOperation(L"ERROR.FAILED_TO_COPY_WAVE");
            }
            if (soundtrack != nullptr) {
                soundtrack->load(audio);
            }
        }
        data.setWaveLink(true, audio);
    }

    bool ok = ProjectFile::writeContent(writer, data);
    ok = writer.close() && ok;
    if (!ok || !replacement.commit()) {
        return failOperation(L"ERROR.FAILED_TO_WRITE_TO_FILE");
    }
    if (Project* project = data.getOwner()) {
        project->setFileName(getPath(), false);
    }
    return true;
}

}  // namespace Project
