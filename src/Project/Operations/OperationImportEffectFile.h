#pragma once

#include <string>

#include "FileIO/JetRecordSet.h"
#include "Project/EffectList.h"
#include "Project/Operations/OperationOpenFile.h"

namespace Project {

// Adds the articles of a foreign effect database (a Jet database with the table "Effects")
// to the effect library, in the order of their descriptions; equal effects are dropped as
// the library drops them. The library is not cleared first. A file that cannot be read as
// such a database, a missing column or a value that cannot be converted fails with
// "ERROR.INVALID_EFX"; effects added before the failing record stay.
//
// The cue data is not touched, so the import neither clears the project nor marks it
// clean: unsaved cue edits stay unsaved. Like the library file loads it is neither
// undoable nor passive, so submitting it clears both histories.
class OperationImportEffectFile : public OperationOpenFile {
public:
    using OperationOpenFile::OperationOpenFile;

    bool execute(ProjectData& data) override;
    bool leavesProjectClean() const override { return false; }

    // What execute does, into any effect list: false with the project's last error set.
    static bool importInto(const std::wstring& path, EffectList& library);

    // Adds the effects of the records, in their order; false at the first record that
    // cannot be converted.
    static bool addEffects(const FileIO::JetRecordSet& records, EffectList& library);
};

}  // namespace Project
