#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/PresetFile.h"

namespace Project {
namespace {

using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;
using FileIO::RiffList;

// Every stored field of the presets, in store order.
std::string describe(const FixtureStore& store)
{
    std::ostringstream out;
    for (const auto& f : store) {
        out << Platform::toUtf8(f->getDescription()) << "|"
            << Platform::toUtf8(f->getManufacturer()) << "|"
            << Platform::toUtf8(f->getProductName()) << "|" << f->getChannelCount() << "|"
            << Platform::toUtf8(f->getComments()) << "|" << f->getDuration();
        for (const Fixture::ChannelItem* c = f->getFirstChannel(); c != nullptr; c = c->getNext()) {
            out << " " << c->getChannel() << "/" << int(c->getValue()) << "/" << c->getExtra()
                << "/" << c->isDynamic() << c->isSafety() << c->isSlowSafety();
        }
        out << "\n";
    }
    return out.str();
}

Fixture* addPreset(FixtureStore& store, FixtureList& list, const std::wstring& description,
                   int channels)
{
    store.push_back(std::make_unique<Fixture>(description, L"Acme", L"Flame 3000", channels,
                                              L"keep \u00FC dry", 1500 + channels));
    Fixture* fixture = store.back().get();
    for (int i = 0; i < channels; ++i) {
        fixture->addChannel(static_cast<uint16_t>(i + 1), static_cast<uint8_t>(10 * i), -i,
                            i % 2 == 0, i % 3 == 0, i % 4 == 1);
    }
    list.addFixture(fixture);
    return fixture;
}

std::string u32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) {
        s[i] = static_cast<char>(v >> (8 * i));
    }
    return s;
}

// A preset file with one "PRE " list, filled by the function.
std::string presetFile(const std::function<void(RiffFileWriter&)>& fill)
{
    RiffFileWriter w;
    w.openInMemory();
    w.beginList("FWF ");
    w.beginList("PRE ");
    fill(w);
    w.close();
    return w.getBytes();
}

void chunk(RiffFileWriter& w, FileIO::FourCC id, const std::string& data)
{
    w.beginChunk(id);
    w.write(data);
    w.end();
}

void channel(RiffFileWriter& w, const std::string& data)
{
    w.beginList("CHA ");
    chunk(w, "CHAD", data);
    w.end();
}

bool readBytes(const std::string& bytes, FixtureStore& store, FixtureList& list,
               std::wstring& error)
{
    RiffFileReader reader;
    EXPECT_TRUE(reader.openBytes(bytes));
    EXPECT_TRUE(PresetFile::isPresetFile(reader));
    return PresetFile::read(reader, store, list, error);
}

TEST(PresetFile, WritesEachPresetAsAList)
{
    FixtureStore store;
    FixtureList list;
    addPreset(store, list, L"Jet", 2);
    RiffFileReader reader;
    ASSERT_TRUE(reader.openBytes(PresetFile::toBytes(store, list, false)));
    // The preset, then the integrity record.
    ASSERT_EQ(reader.getRoot().getChildren().size(), 2u);
    EXPECT_EQ(reader.getRoot().getChildren()[1]->getId(), "C32C");
    EXPECT_EQ(reader.checkIntegrityRecord(), RiffFileReader::IntegrityRecord::MATCHES);
    const auto& preset = static_cast<const RiffList&>(*reader.getRoot().getChildren()[0]);
    std::string layout;
    for (const auto& child : preset.getChildren()) {
        layout += child->getId().toString() + (child->isChunk() ? "" : "[");
        if (!child->isChunk()) {
            for (const auto& inner : static_cast<const RiffList&>(*child).getChildren()) {
                layout += inner->getId().toString() + std::to_string(inner->getSize());
            }
            layout += "]";
        }
        layout += " ";
    }
    EXPECT_EQ(layout, "PRED PREE PREF CHA [CHAD24] CHA [CHAD24] ");
}

TEST(PresetFile, StoresAndLoadsEveryFieldAndSelectedPresetsOnly)
{
    Platform::TestFolder folder;
    FixtureStore store;
    FixtureList list;
    addPreset(store, list, L"Jet", 5);
    Fixture* selected = addPreset(store, list, L"Strobe", 1);
    addPreset(store, list, L"Empty", 0);
    std::wstring error;

    // Nothing selected: every preset goes, also with selectedOnly.
    for (bool selectedOnly : {false, true}) {
        ASSERT_TRUE(PresetFile::save(folder.path("p.fwf"), store, list, selectedOnly, error));
        FixtureStore loaded;
        FixtureList loadedList;
        ASSERT_TRUE(PresetFile::load(folder.path("p.fwf"), loaded, loadedList, error)) << error;
        EXPECT_EQ(describe(loaded), describe(store));
        EXPECT_EQ(loadedList.getCount(), 3);
        loadedList.clear();
    }

    selected->setSelected(true);
    ASSERT_TRUE(PresetFile::save(folder.path("p.fwf"), store, list, true, error));
    FixtureStore loaded;
    FixtureList loadedList;
    ASSERT_TRUE(PresetFile::load(folder.path("p.fwf"), loaded, loadedList, error));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0]->getDescription(), L"Strobe");
    EXPECT_EQ(loaded[0]->getId(), 0);  // numbered by the list it joined
    loadedList.clear();
}

TEST(PresetFile, TakesChunksOnlyAfterTheirPresetBegan)
{
    const std::string bytes = presetFile([](RiffFileWriter& w) {
        chunk(w, "PREE", u32(9));
        chunk(w, "PREF", u32(700));
        channel(w, u32(1) + u32(2) + u32(3) + u32(1));
        // two triplets: the last counts; then a short channel count and a short duration
        chunk(w, "PRED", Platform::utf16le(std::u16string(u"a\0b\0c\0d\0e\0f\0", 12)));
        chunk(w, "PREE", "\x05");
        chunk(w, "PREF", std::string("\x01\x02", 2));
        // 16 bytes: safety and slow safety absent
        channel(w, u32(4) + u32(300) + u32(0xFFFFFFFF) + u32(0xFFFFFFFF));
    });
    FixtureStore store;
    FixtureList list;
    std::wstring error;
    ASSERT_TRUE(readBytes(bytes, store, list, error)) << error;
    EXPECT_EQ(describe(store), "d|e|f|0||0 4/44/-1/000\n");
    list.clear();
}

TEST(PresetFile, AShortChannelFailsTheLoadAndKeepsEarlierPresets)
{
    RiffFileWriter w;
    w.openInMemory();
    w.beginList("FWF ");
    for (const std::string& chad : {u32(1) + u32(2) + u32(3) + u32(4), u32(1) + u32(2) + u32(3)}) {
        w.beginList("PRE ");
        chunk(w, "PRED", Platform::utf16le(std::u16string(u"x\0y\0z\0", 6)));
        channel(w, chad);
        w.end();
    }
    w.close();
    FixtureStore store;
    FixtureList list;
    std::wstring error;
    EXPECT_FALSE(readBytes(w.getBytes(), store, list, error));
    EXPECT_EQ(error, L"ERROR.INVALID_FWF");
    EXPECT_EQ(describe(store), "x|y|z|0||0 1/2/3/100\nx|y|z|0||0\n");
    list.clear();
}

TEST(PresetFile, LoadsNothingFromAMissingFileAndRefusesOtherForms)
{
    Platform::TestFolder folder;
    FixtureStore store;
    FixtureList list;
    std::wstring error;
    EXPECT_TRUE(PresetFile::load(folder.path("missing.fwf"), store, list, error));
    folder.writeBytes("effects.fwe", std::string("RIFF\x04\0\0\0FWE ", 12));
    EXPECT_FALSE(PresetFile::load(folder.path("effects.fwe"), store, list, error));
    EXPECT_EQ(error, L"ERROR.INVALID_FWP_TODO");
    EXPECT_TRUE(store.empty());
}

TEST(PresetFile, AFailedStoreLeavesTheOldFileUntouched)
{
    Platform::TestFolder folder;
    FixtureStore store;
    FixtureList list;
    addPreset(store, list, L"Jet", 1);
    std::wstring error;
    ASSERT_TRUE(PresetFile::save(folder.path("p.fwf"), store, list, false, error));
    const std::string old = folder.readBytes("p.fwf");

    addPreset(store, list, L"Strobe", 4);
    RiffFileWriter::failWritesAfterForTesting(60);
    const bool saved = PresetFile::save(folder.path("p.fwf"), store, list, false, error);
    RiffFileWriter::failWritesAfterForTesting(std::nullopt);
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, L"ERROR.FAILED_TO_WRITE_TO_FILE_TODO");
    EXPECT_EQ(folder.readBytes("p.fwf"), old);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.fwf"});
    list.clear();
}

}  // namespace
}  // namespace Project
