#include "Project/Operations/OperationCombineProject.h"

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/ProjectFile.h"

namespace Project {

bool OperationCombineProject::execute(ProjectData& data)
{
    for (const std::wstring& path : getPaths()) {
        FileIO::RiffFileReader reader;
        if (!reader.open(path)) {
            return failOperation(L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING");
        }
        if (!ProjectFile::isProjectFile(reader)) {
            return failOperation(L"ERROR.INVALID_FWP");
        }
        std::wstring error;
        if (!ProjectFile::read(reader, data, ProjectFile::Mode::MERGE, error)) {
            return failOperation(error);
        }
    }
    return true;
}

}  // namespace Project
