#include "Project/Operations/OperationSaveQuelist.h"

#include <utility>

#include "Project/Operations/OperationReport.h"

namespace Project {

OperationSaveQuelist::OperationSaveQuelist(std::wstring path)
    : OperationSaveFile(std::move(path)), hasOptions_(false)
{
}

OperationSaveQuelist::OperationSaveQuelist(std::wstring path, ShowFile::Options options)
    : OperationSaveFile(std::move(path)), hasOptions_(true), options_(std::move(options))
{
}

bool OperationSaveQuelist::execute(ProjectData& data)
{
    // The clock is read when the file is written, not when the command was given.
    const ShowFile::Options options = hasOptions_ ? options_ : ShowFile::defaultOptions();
    std::wstring error;
    return ShowFile::save(getPath(), data, options, error) || failOperation(error);
}

}  // namespace Project
