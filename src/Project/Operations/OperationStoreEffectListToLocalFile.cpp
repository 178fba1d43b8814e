#include "Project/Operations/OperationStoreEffectListToLocalFile.h"

#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationStoreEffectListToLocalFile::execute(ProjectData& data)
{
    std::wstring error;
    return EffectFile::save(path_.empty() ? EffectFile::defaultPath() : path_, data.getEffectList(),
                            error) ||
           failOperation(error);
}

}  // namespace Project
