#include "Project/Operations/OperationSaveCSV.h"

#include <utility>

#include "Project/Operations/OperationReport.h"

namespace Project {

OperationSaveCSV::OperationSaveCSV(std::wstring path, CsvExport::Translate translate)
    : OperationSaveFile(std::move(path)), translate_(std::move(translate))
{
}

bool OperationSaveCSV::execute(ProjectData& data)
{
    std::wstring error;
    return CsvExport::save(getPath(), data, translate_, error) || failOperation(error);
}

}  // namespace Project
