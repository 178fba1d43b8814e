// libFuzzer target: any bytes as an effect library file, read with salvage (what can be
// read of a damaged file). The reader must not crash, leak, hang or allocate beyond the input
// (the sanitizers watch that). Beyond that, the library it reads, written and read again (now
// as an intact file with its integrity record), is the same library, effect for effect.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "Project/Operations/EffectFile.h"

namespace {

using Project::EffectFile;
using Project::EffectList;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::vector<std::vector<std::wstring>> records(const EffectList& list)
{
    std::vector<std::vector<std::wstring>> all;
    for (const EffectList::EffectItem* effect : list) {
        all.push_back(effect->toKeyValueTexts());
    }
    return all;
}

bool readInto(const std::string& bytes, EffectList& list, Project::Salvage salvage)
{
    FileIO::RiffFileReader reader;
    if (!Project::FileDamage::openBytes(reader, bytes, EffectFile::kMaxElements) ||
        !EffectFile::isEffectFile(reader)) {
        return false;
    }
    std::wstring error;
    return Project::FileDamage::accept(reader, salvage, error) &&
           EffectFile::read(reader, list, error, salvage);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    EffectList first;
    if (!readInto(input, first, Project::Salvage::ALLOW)) {
        return 0;
    }
    EffectList second;
    check(readInto(EffectFile::toBytes(first), second, Project::Salvage::REFUSE));
    check(records(second) == records(first));
    return 0;
}
