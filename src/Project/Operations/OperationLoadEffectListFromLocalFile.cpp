#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/DamagedLibraryFile.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/FileDamage.h"
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
    std::wstring damage;
    std::wstring error;
    {
        FileIO::RiffFileReader reader;
        if (!EffectFile::open(reader, path)) {
            if (DamagedLibraryFile::exists(path)) {
                damage = L"ERROR.INVALID_FWP_TODO";
            }
        } else if (!EffectFile::isEffectFile(reader)) {
            damage = L"ERROR.INVALID_FWP_TODO";
        } else if (!FileDamage::accept(reader, Salvage::REFUSE, error)) {
            damage = error;
        } else if (!EffectFile::read(reader, data.getEffectList(), error)) {
            if (error != FileDamage::kKey) {
                return failOperation(error);
            }
            damage = error;
        }
    }
    if (!damage.empty()) {
        // Whatever was read of it goes: the library is what an intact file holds, or empty.
        data.getEffectList().clearEffects();
        DamagedLibraryFile::setAside(path);
        return failOperation(damage);
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
    if (!EffectFile::load(path_, data.getEffectList(), error, salvage_)) {
        return failOperation(error);
    }
    OperationLoadNotice::show(L"MESSAGES.LOAD.EFFECTFILE.TITLE",
                              L"MESSAGES.LOAD.EFFECTFILE.MESSAGE");
    return true;
}

}  // namespace Project
