#include "Project/Operations/OperationCombineProject.h"

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/ProjectFile.h"

namespace Project {

bool OperationCombineProject::execute(ProjectData& data)
{
    for (const std::wstring& path : getPaths()) {
        FileIO::RiffFileReader reader;
        std::wstring error;
        // A damaged file is never merged: its missing cues would not even show.
        if (!ProjectFile::open(reader, path, Salvage::REFUSE, error) ||
            !ProjectFile::read(reader, data, ProjectFile::Mode::MERGE, error)) {
            return failOperation(error);
        }
    }
    return true;
}

}  // namespace Project
