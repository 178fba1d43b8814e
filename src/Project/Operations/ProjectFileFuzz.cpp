// libFuzzer target: any bytes as a project file, merged, and opened with salvage (what can
// be read of a damaged file). The reader must not crash, leak, hang or allocate beyond the
// input (the sanitizers watch that), and must fail only with one of its error keys. Beyond
// that, what it reads must survive the writer: a project read from the input, written and
// read again (now as an intact file with its integrity record), and once more, gives the same
// bytes the second and the third time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/ProjectFile.h"

namespace {

using Project::ProjectData;
using Project::ProjectFile;
using Project::Salvage;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool readInto(const std::string& bytes, ProjectData& data, ProjectFile::Mode mode, Salvage salvage,
              std::wstring& error)
{
    FileIO::RiffFileReader reader;
    if (!Project::FileDamage::openBytes(reader, bytes, ProjectFile::kMaxElements) ||
        !ProjectFile::isProjectFile(reader)) {
        return false;
    }
    if (!Project::FileDamage::accept(reader, salvage, error)) {
        check(salvage == Salvage::REFUSE && error == Project::FileDamage::kKey);
        return false;
    }
    const bool ok = ProjectFile::read(reader, data, mode, error, salvage);
    check(ok ? error.empty()
             : error == L"ERROR.INVALID_FWP" || error == L"ERROR.TIMECODE" ||
                   error == L"ERROR.MEMORY" || error == Project::FileDamage::kKey);
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    ProjectData merged;
    merged.setFormat(SMPTE::SMPTE_25);
    std::wstring error;
    readInto(input, merged, ProjectFile::Mode::MERGE, Salvage::REFUSE, error);

    ProjectData first;
    error.clear();
    if (!readInto(input, first, ProjectFile::Mode::OPEN, Salvage::ALLOW, error)) {
        return 0;
    }
    const std::string once = ProjectFile::toBytes(first);
    ProjectData second;
    check(readInto(once, second, ProjectFile::Mode::OPEN, Salvage::REFUSE, error));
    const std::string twice = ProjectFile::toBytes(second);
    ProjectData third;
    check(readInto(twice, third, ProjectFile::Mode::OPEN, Salvage::REFUSE, error));
    check(ProjectFile::toBytes(third) == twice);
    return 0;
}
