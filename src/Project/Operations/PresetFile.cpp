#include "Project/Operations/PresetFile.h"

#include <memory>

#include "Platform/FileReplacement.h"
#include "Platform/Folders.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFileText.h"

namespace Project {

namespace {

using FileIO::RiffElement;
using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;
using FileIO::RiffList;

bool fail(std::wstring& errorKey, const wchar_t* key)
{
    errorKey = key;
    return false;
}

// Reads a chunk's data; false with "ERROR.MEMORY" when no buffer could be had. A file that
// fails under the reader gives what could be read as empty data.
bool readData(RiffFileReader& reader, const RiffElement& chunk, std::string& data,
              std::wstring& errorKey)
{
    switch (FileText::readData(reader, chunk, data)) {
        case FileText::ReadResult::OK: return true;
        case FileText::ReadResult::NO_MEMORY: return fail(errorKey, L"ERROR.MEMORY");
        case FileText::ReadResult::FAILED: data.clear(); return true;
    }
    return true;
}

std::wstring text(const std::vector<std::u16string>& strings, std::size_t index)
{
    return index < strings.size() ? Platform::fromUtf16(strings[index]) : std::wstring();
}

bool readChannels(RiffFileReader& reader, const RiffList& list, Fixture* fixture,
                  int64_t& channelsLeft, std::wstring& errorKey)
{
    for (const auto& child : list.getChildren()) {
        if (!child->isChunk() || child->getId() != "CHAD") {
            continue;
        }
        if (--channelsLeft < 0) {
            return fail(errorKey, FileDamage::kKey);
        }
        uint32_t v[6] = {};
        for (uint64_t i = 0; i < 6; ++i) {
            if (!reader.readU32(*child, 4 * i, v[i]) && i < 4) {
                return fail(errorKey, L"ERROR.INVALID_FWF");
            }
        }
        if (fixture != nullptr) {
            const auto positive = [](uint32_t value) { return static_cast<int32_t>(value) > 0; };
            fixture->addChannel(static_cast<uint16_t>(v[0]), static_cast<uint8_t>(v[1]),
                                static_cast<int32_t>(v[2]), positive(v[3]), positive(v[4]),
                                positive(v[5]), -1);
        }
    }
    return true;
}

bool readPreset(RiffFileReader& reader, const RiffList& preset, FixtureStore& store,
                FixtureList& list, int64_t& channelsLeft, std::wstring& errorKey)
{
    Fixture* fixture = nullptr;
    std::string data;
    for (const auto& child : preset.getChildren()) {
        const FileIO::FourCC id = child->getId();
        if (!child->isChunk()) {
            if (id == "CHA " && !readChannels(reader, static_cast<const RiffList&>(*child), fixture,
                                              channelsLeft, errorKey)) {
                return false;
            }
            continue;
        }
        if ((id == "PRED" || id == "PREF") && child->getSize() > PresetFile::kMaxTextChunkSize) {
            return fail(errorKey, FileDamage::kKey);
        }
        if (id == "PRED") {
            if (!readData(reader, *child, data, errorKey)) {
                return false;
            }
            // Texts come in threes; when there are several, the last three count.
            const std::vector<std::u16string> strings = FileText::splitUnits(data);
            const std::size_t first = strings.empty() ? 0 : (strings.size() - 1) / 3 * 3;
            store.push_back(std::make_unique<Fixture>(text(strings, first),
                                                      text(strings, first + 1),
                                                      text(strings, first + 2), 0, L"", 0, -2));
            fixture = store.back().get();
            list.addFixture(fixture);
        } else if (id == "PREE") {
            uint32_t count = 0;
            reader.readU32(*child, 0, count);
            if (fixture != nullptr) {
                fixture->setChannelCount(static_cast<int32_t>(count));
            }
        } else if (id == "PREF") {
            if (!readData(reader, *child, data, errorKey)) {
                return false;
            }
            uint32_t duration = 0;
            FileText::u32At(data, 0, duration);
            const std::u16string comments =
                data.size() > 4 ? FileText::firstString(std::string_view(data).substr(4))
                                : std::u16string();
            if (fixture != nullptr) {
                fixture->setDuration(static_cast<int32_t>(duration));
                fixture->setComments(Platform::fromUtf16(comments));
            }
        }
    }
    return true;
}

}  // namespace

std::wstring PresetFile::defaultPath()
{
    return Platform::userDataFolder() + kDefaultName;
}

bool PresetFile::isPresetFile(const RiffFileReader& reader)
{
    return reader.isOpen() && reader.getRoot().getId() == "FWF ";
}

bool PresetFile::read(RiffFileReader& reader, FixtureStore& store, FixtureList& list,
                      std::wstring& errorKey, Salvage salvage)
{
    int presetsLeft = kMaxPresets;
    int64_t channelsLeft = kMaxChannelValues;
    try {
        for (const auto& child : reader.getRoot().getChildren()) {
            if (child->isChunk() || child->getId() != "PRE ") {
                continue;
            }
            if (--presetsLeft < 0) {
                // Salvaging, the presets within the limit are what can be read.
                return salvage == Salvage::ALLOW || fail(errorKey, FileDamage::kKey);
            }
            if (!readPreset(reader, static_cast<const RiffList&>(*child), store, list, channelsLeft,
                            errorKey)) {
                // Salvaging, a preset keeps what was read of it and the next one is read,
                // up to the limits.
                if (salvage == Salvage::REFUSE || errorKey == L"ERROR.MEMORY") {
                    return false;
                }
                errorKey.clear();
                if (channelsLeft < 0) {
                    return true;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return fail(errorKey, L"ERROR.MEMORY");
    }
    return true;
}

bool PresetFile::writeContent(RiffFileWriter& writer, const FixtureStore& store,
                              const FixtureList& list, bool selectedOnly)
{
    bool anySelected = false;
    for (const Fixture* fixture : list) {
        anySelected = anySelected || fixture->isSelected();
    }
    bool ok = true;
    for (const auto& fixture : store) {
        if (selectedOnly && anySelected && !fixture->isSelected()) {
            continue;
        }
        ok = ok && writer.beginList("PRE ");
        ok = ok && writer.beginChunk("PRED") && writer.writeString(fixture->getDescription()) &&
             writer.writeString(fixture->getManufacturer()) &&
             writer.writeString(fixture->getProductName()) && writer.end();
        ok = ok && writer.beginChunk("PREE") && writer.writeI32(fixture->getChannelCount()) &&
             writer.end();
        ok = ok && writer.beginChunk("PREF") && writer.writeI32(fixture->getDuration()) &&
             writer.writeString(fixture->getComments()) && writer.end();
        for (const Fixture::ChannelItem* channel = fixture->getFirstChannel(); channel != nullptr;
             channel = channel->getNext()) {
            ok = ok && writer.beginList("CHA ") && writer.beginChunk("CHAD") &&
                 writer.writeI32(channel->getChannel()) && writer.writeI32(channel->getValue()) &&
                 writer.writeI32(channel->getExtra()) && writer.writeI32(channel->isDynamic()) &&
                 writer.writeI32(channel->isSafety()) && writer.writeI32(channel->isSlowSafety()) &&
                 writer.end() && writer.end();
        }
        ok = ok && writer.end();
    }
    return ok && writer.appendIntegrityRecord();
}

std::string PresetFile::toBytes(const FixtureStore& store, const FixtureList& list,
                                bool selectedOnly)
{
    RiffFileWriter writer;
    writer.openInMemory();
    writer.beginList("FWF ");
    writeContent(writer, store, list, selectedOnly);
    writer.close();
    return writer.getBytes();
}

bool PresetFile::save(const std::wstring& path, const FixtureStore& store, const FixtureList& list,
                      bool selectedOnly, std::wstring& errorKey)
{
    Platform::FileReplacement replacement(path, Platform::FileReplacement::Backup::KEEP_PREVIOUS);
    RiffFileWriter writer;
    if (!writer.open(replacement) || !writer.beginList("FWF ")) {
        return fail(errorKey, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO");
    }
    bool ok = writeContent(writer, store, list, selectedOnly);
    ok = writer.close() && ok;
    if (!ok || !replacement.commit()) {
        return fail(errorKey, L"ERROR.FAILED_TO_WRITE_TO_FILE_TODO");
    }
    return true;
}

bool PresetFile::open(RiffFileReader& reader, const std::wstring& path)
{
    return FileDamage::open(reader, path, kMaxElements);
}

bool PresetFile::load(const std::wstring& path, FixtureStore& store, FixtureList& list,
                      std::wstring& errorKey, Salvage salvage)
{
    RiffFileReader reader;
    if (!open(reader, path)) {
        return true;
    }
    if (!isPresetFile(reader)) {
        return fail(errorKey, L"ERROR.INVALID_FWP_TODO");
    }
    return FileDamage::accept(reader, salvage, errorKey) &&
           read(reader, store, list, errorKey, salvage);
}

}  // namespace Project
