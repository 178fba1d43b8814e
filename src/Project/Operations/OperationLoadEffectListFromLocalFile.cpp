#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"

#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationLoadNotice.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationLoadEffectListFromLocalFile::execute(ProjectData& data)
{
    const bool defaultFile = path_.empty();
    if (defaultFile) {
        data.getEffectList().clearEffects();
        data.getFullEffectList().clearEffects();
    }
    std::wstring error;
    if (!EffectFile::load(defaultFile ? EffectFile::defaultPath() : path_, data.getEffectList(),
                          error)) {
        return failOperation(error);
    }
    if (!defaultFile) {
        OperationLoadNotice::show(L"MESSAGES.LOAD.EFFECTFILE.TITLE",
                                  L"MESSAGES.LOAD.EFFECTFILE.MESSAGE");
    }
    return true;
}

}  // namespace Project
