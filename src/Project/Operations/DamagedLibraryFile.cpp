#include "Project/Operations/DamagedLibraryFile.h"

#include <filesystem>
#include <system_error>

#include "Platform/Utf.h"

namespace Project {

namespace {

std::filesystem::path toPath(const std::wstring& path)
{
    return std::filesystem::path(Platform::toUtf8(path));
}

}  // namespace

bool DamagedLibraryFile::exists(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::exists(toPath(path), error);
}

bool DamagedLibraryFile::setAside(const std::wstring& path)
{
    std::error_code error;
    std::filesystem::rename(toPath(path), toPath(path + kSuffix), error);
    return !error;
}

}  // namespace Project
