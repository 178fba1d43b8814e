#pragma once

#include <string>

#include "Project/Operations/CsvExport.h"
#include "Project/Operations/OperationSaveFile.h"

namespace Project {

// Exports the cue list as a CSV file, with the column names in the user's language. Fails
// with "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" or "ERROR.FAILED_TO_WRITE_TO_FILE" when the
// file cannot be written; an old file is then untouched.
class OperationSaveCSV : public OperationSaveFile {
public:
    explicit OperationSaveCSV(std::wstring path,
                              CsvExport::Translate translate = CsvExport::defaultTranslate());

    bool execute(ProjectData& data) override;

private:
    CsvExport::Translate translate_;
};

}  // namespace Project
