#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/DamagedLibraryFile.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationLoadNotice.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

// The per-user file replaces the library. A file that is there but cannot be read is set
// aside before anything can store the emptied library over it.
bool loadDefaultFile(ProjectData& data)
{
    const std::wstring path = EffectFile::defaultPath();
    bool damaged = false;
    std::wstring error;
    {
        FileIO::RiffFileReader reader;
        if (!reader.open(path)) {
            damaged = DamagedLibraryFile::exists(path);
        } else if (!EffectFile::isEffectFile(reader)) {
            damaged = true;
        } else if (!EffectFile::read(reader, data.getEffectList(), error)) {
            return failOperation(error);
        }
    }
    if (damaged) {
        DamagedLibraryFile::setAside(path);
        return failOperation(L"ERROR.INVALID_FWP_TODO");
    }
    return true;
}

}  // namespace

bool OperationLoadEffectListFromLocalFile::execute(ProjectData& data)
{
    if (path_.empty()) {
        data.getEffectList().clearEffects();
        data.getFullEffectList().clearEffects();
        return loadDefaultFile(data);
    }
    std::wstring error;
    if (!EffectFile::load(path_, data.getEffectList(), error)) {
        return failOperation(error);
    }
    OperationLoadNotice::show(L"MESSAGES.LOAD.EFFECTFILE.TITLE",
                              L"MESSAGES.LOAD.EFFECTFILE.MESSAGE");
    return true;
}

}  // namespace Project
