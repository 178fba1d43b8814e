// libFuzzer target: any bytes as a fixture preset file, read without and with salvage (what
// can be read of a damaged file). The reader must not crash, leak, hang or allocate beyond
// the input (the sanitizers watch that), and fails only with its error keys. Beyond that, the
// presets it read with salvage, written and read again (now as an intact file with its
// integrity record), are the same presets with the same channels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FileIO/RiffFileReader.h"
#include "Platform/Utf.h"
#include "Project/Operations/PresetFile.h"

namespace {

using Project::Fixture;
using Project::FixtureList;
using Project::FixtureStore;
using Project::PresetFile;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::wstring describe(const FixtureStore& store)
{
    std::wstring text;
    for (const auto& f : store) {
        text += f->getDescription() + L"|" + f->getManufacturer() + L"|" + f->getProductName() +
                L"|" + f->getComments() + L"|" + std::to_wstring(f->getChannelCount()) + L"|" +
                std::to_wstring(f->getDuration());
        for (const Fixture::ChannelItem* c = f->getFirstChannel(); c != nullptr; c = c->getNext()) {
            text += L" " + std::to_wstring(c->getChannel()) + L"/" +
                    std::to_wstring(c->getValue()) + L"/" + std::to_wstring(c->getExtra()) +
                    (c->isDynamic() ? L"d" : L"") + (c->isSafety() ? L"s" : L"") +
                    (c->isSlowSafety() ? L"w" : L"");
        }
        text += L"\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    FileIO::RiffFileReader reader;
    if (!Project::FileDamage::openBytes(reader, input, PresetFile::kMaxElements) ||
        !PresetFile::isPresetFile(reader)) {
        return 0;
    }
    std::wstring error;
    if (Project::FileDamage::accept(reader, Project::Salvage::REFUSE, error)) {
        FixtureStore store;
        FixtureList list;
        if (!PresetFile::read(reader, store, list, error)) {
            check(error == L"ERROR.INVALID_FWF" || error == L"ERROR.MEMORY" ||
                  error == Project::FileDamage::kKey);
        }
        list.clear();
    } else {
        check(error == Project::FileDamage::kKey);
    }

    FixtureStore first;
    FixtureList firstList;
    error.clear();
    if (!PresetFile::read(reader, first, firstList, error, Project::Salvage::ALLOW)) {
        check(error == L"ERROR.MEMORY");
    }

    FileIO::RiffFileReader again;
    check(Project::FileDamage::openBytes(again, PresetFile::toBytes(first, firstList, false),
                                         PresetFile::kMaxElements));
    FixtureStore second;
    FixtureList secondList;
    error.clear();
    check(Project::FileDamage::accept(again, Project::Salvage::REFUSE, error));
    check(PresetFile::read(again, second, secondList, error));
    check(describe(second) == describe(first));
    firstList.clear();
    secondList.clear();
    return 0;
}
