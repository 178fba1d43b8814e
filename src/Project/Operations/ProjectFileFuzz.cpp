// libFuzzer target: any bytes as a project file, opened and merged. The reader must not
// crash, leak, hang or allocate beyond the input (the sanitizers watch that), and must fail
// only with one of its error keys. Beyond that, what it reads must survive the writer: a
// project read from the input, written and read again, and once more, gives the same bytes
// the second and the third time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/ProjectFile.h"

namespace {

using Project::ProjectData;
using Project::ProjectFile;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool readInto(const std::string& bytes, ProjectData& data, ProjectFile::Mode mode,
              std::wstring& error)
{
    FileIO::RiffFileReader reader;
    if (!reader.openBytes(bytes) || !ProjectFile::isProjectFile(reader)) {
        return false;
    }
    const bool ok = ProjectFile::read(reader, data, mode, error);
    check(ok ? error.empty()
             : error == L"ERROR.INVALID_FWP" || error == L"ERROR.TIMECODE" ||
                   error == L"ERROR.MEMORY");
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    ProjectData merged;
    merged.setFormat(SMPTE::SMPTE_25);
    std::wstring error;
    readInto(input, merged, ProjectFile::Mode::MERGE, error);

    ProjectData first;
    error.clear();
    if (!readInto(input, first, ProjectFile::Mode::OPEN, error)) {
        return 0;
    }
    const std::string once = ProjectFile::toBytes(first);
    ProjectData second;
    check(readInto(once, second, ProjectFile::Mode::OPEN, error));
    const std::string twice = ProjectFile::toBytes(second);
    ProjectData third;
    check(readInto(twice, third, ProjectFile::Mode::OPEN, error));
    check(ProjectFile::toBytes(third) == twice);
    return 0;
}
