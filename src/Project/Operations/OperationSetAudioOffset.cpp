#include "Project/Operations/OperationSetAudioOffset.h"

#include "Project/ProjectData.h"

namespace Project {

bool OperationSetAudioOffset::execute(ProjectData& data)
{
    const SMPTE other = data.getAudioOffset();
    data.setAudioOffset(offset_);
    offset_ = other;
    return true;
}

}  // namespace Project
