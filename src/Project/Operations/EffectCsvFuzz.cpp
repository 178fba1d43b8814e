// libFuzzer target: any bytes as an effect CSV file. The reader must not crash, leak, hang or
// allocate far beyond the input (the sanitizers watch that). Beyond that, what it accepts,
// added to a library, written and read again, is the same library, effect for effect.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Project/Operations/EffectCsv.h"

namespace {

using Project::EffectCsv;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    EffectCsv::Table table;
    std::wstring errorKey;
    if (!EffectCsv::read(bytes, table, errorKey)) {
        check(!errorKey.empty());
        return 0;
    }
    check(table.rows.size() == table.rowLines.size());
    EffectList first;
    for (const Project::EffectTexts& row : table.rows) {
        first.addEffectFromText(row);
    }
    EffectCsv::Table again;
    check(EffectCsv::read(EffectCsv::write(first), again, errorKey));
    check(again.refused.empty());
    EffectList second;
    for (const Project::EffectTexts& row : again.rows) {
        second.addEffectFromText(row);
    }
    check(records(first) == records(second));
    return 0;
}
