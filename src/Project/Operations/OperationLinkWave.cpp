#include "Project/Operations/OperationLinkWave.h"

#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

void OperationLinkWave::PreviousLink::remember(const ProjectData& data)
{
    linked = data.isWaveLinked();
    path = data.getWaveFileName();
    missing = data.isSoundtrackMissing();
}

bool OperationLinkWave::PreviousLink::restore(ProjectData& data) const
{
    if (linked && missing) {
        // A soundtrack that was missing comes back linked and missing, without loading.
        unlink(data);
        data.setWaveLink(true, path);
        data.setSoundtrackMissing(true);
        return true;
    }
    if (linked) {
        return link(data, path);
    }
    unlink(data);
    // Unlinking keeps the stored path; the one stored before comes back with the flag.
    data.setWaveLink(false, path);
    return true;
}

bool OperationLinkWave::link(ProjectData& data, const std::wstring& path)
{
    ISoundtrack* soundtrack = soundtrackOf(data);
    if (soundtrack == nullptr || !soundtrack->load(path)) {
        return failOperation(L"ERROR.FAILED_TO_OPEN_WAVE");
    }
    data.setWaveLink(true, path);
    return true;
}

void OperationLinkWave::unlink(ProjectData& data)
{
    data.setWaveLink(false, data.getWaveFileName());
    if (ISoundtrack* soundtrack = soundtrackOf(data)) {
        soundtrack->unload();
    }
}

bool OperationLinkWave::execute(ProjectData& data)
{
    previous_.remember(data);
    return link(data, path_);
}

bool OperationLinkWave::undo(ProjectData& data)
{
    return previous_.restore(data);
}

bool OperationLinkWave::redo(ProjectData& data)
{
    return link(data, path_);
}

bool OperationUnlinkWave::execute(ProjectData& data)
{
    previous_.remember(data);
    OperationLinkWave::unlink(data);
    return true;
}

bool OperationUnlinkWave::redo(ProjectData& data)
{
    OperationLinkWave::unlink(data);
    return true;
}

}  // namespace Project
