#include "Project/Operations/ProjectFile.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <utility>

#include "Platform/FileReplacement.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFileText.h"

namespace Project {

namespace {

using FileIO::RiffElement;
using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;
using FileIO::RiffList;
using FileText::ReadResult;

constexpr const wchar_t* kInvalid = L"ERROR.INVALID_FWP";
constexpr const wchar_t* kMemory = L"ERROR.MEMORY";
constexpr const wchar_t* kDamaged = FileDamage::kKey;

// The sizes of the three forms of "CUED" chunk.
constexpr uint32_t kCueData20 = 20;
constexpr uint32_t kCueData24 = 24;
constexpr uint32_t kCueData28 = 28;
constexpr uint32_t kFixtureValueSize = 16;
constexpr uint32_t kFixtureValueWithSafetySize = 24;

bool fail(std::wstring& errorKey, const wchar_t* key)
{
    errorKey = key;
    return false;
}

// Reads an element's data; on failure sets the key (`failKey` for an unreadable file,
// `memoryKey` when no buffer could be had).
bool readData(RiffFileReader& reader, const RiffElement& element, std::string& data,
              std::wstring& errorKey, const wchar_t* failKey, const wchar_t* memoryKey)
{
    switch (FileText::readData(reader, element, data)) {
        case ReadResult::OK: return true;
        case ReadResult::FAILED: return fail(errorKey, failKey);
        case ReadResult::NO_MEMORY: return fail(errorKey, memoryKey);
    }
    return fail(errorKey, failKey);
}

// What a file may still add: the limits of ProjectFile, counted down while it is read.
struct Budget {
    int cues = ProjectFile::kMaxCues;
    int64_t metadataPairs = ProjectFile::kMaxMetadataPairs;
    int64_t fixtureValues = ProjectFile::kMaxFixtureValues;
};

// The string of UTF-16LE units at `at` up to its zero unit or the end of the data (an odd
// last byte is not read); `at` moves past the zero unit. False when no unit is left.
bool nextString(std::string_view data, std::size_t& at, std::u16string& units)
{
    units.clear();
    if (at + 1 >= data.size()) {
        return false;
    }
    for (; at + 1 < data.size(); at += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[at]) |
                                                (static_cast<unsigned char>(data[at + 1]) << 8));
        if (unit == 0) {
            at += 2;
            return true;
        }
        units += unit;
    }
    return !units.empty();  // a last string without its terminator counts when not empty
}

// Appends the (key, value) pairs of a "META" chunk whose key is not empty. The strings are
// walked one pair at a time: a chunk of zeros costs no memory beyond its data.
bool readMetadata(RiffFileReader& reader, const RiffElement& chunk, KeyValueList& metadata,
                  Budget& budget, std::wstring& errorKey)
{
    if (chunk.getSize() > ProjectFile::kMaxMetadataChunkSize) {
        return fail(errorKey, kDamaged);
    }
    std::string data;
    if (!readData(reader, chunk, data, errorKey, kInvalid, kMemory)) {
        return false;
    }
    try {
        std::size_t at = 0;
        std::u16string key;
        std::u16string value;
        while (nextString(data, at, key) && nextString(data, at, value)) {
            if (key.empty()) {
                continue;
            }
            if (--budget.metadataPairs < 0) {
                return fail(errorKey, kDamaged);
            }
            metadata.insert(-1, Platform::fromUtf16(key), Platform::fromUtf16(value));
        }
    } catch (const std::bad_alloc&) {
        return fail(errorKey, kMemory);
    }
    return true;
}

// The "PRJD" chunk. OPEN takes format, wave flag and audio offset; MERGE only checks that
// the file has the project's format.
bool readProjectData(RiffFileReader& reader, const RiffElement& chunk, ProjectData& data,
                     ProjectFile::Mode mode, std::wstring& errorKey)
{
    uint8_t code = 0;
    if (!reader.readU8(chunk, 0, code)) {
        return fail(errorKey, kInvalid);
    }
    const int format = ProjectFile::formatOfFrameRateCode(code);
    if (mode == ProjectFile::Mode::MERGE) {
        return format == data.getFormat() ? true : fail(errorKey, L"ERROR.TIMECODE");
    }
    if (format < 0) {
        return fail(errorKey, kInvalid);
    }
    uint32_t offsetWord = 0;
    const bool hasOffset = reader.readU32(chunk, 2, offsetWord);
    if (hasOffset && !SMPTE::isValidBCD(offsetWord, format)) {
        return fail(errorKey, kInvalid);
    }
    data.setFormat(format);
    uint8_t linked = 0;
    if (reader.readU8(chunk, 1, linked)) {
        data.setWaveLink(linked != 0, L"");
    }
    if (hasOffset) {
        SMPTE offset(format);
        offset.setBCD(offsetWord);
        data.setAudioOffset(offset);
    }
    return true;
}

// Everything of one "CUE " list, read and checked before the cue is made.
struct CueRecord {
    uint32_t timecode = 0;
    int32_t prefire = 0;
    int32_t group = 0;
    int32_t quantity = 1;
    uint32_t commandWord = 0;
    int32_t duration = 0;
    int32_t pyroType = Cue::PYRO_SINGLE;
    uint32_t size = 0;  // of "CUED": tells the form
    std::string reminder;
    std::string groupName;
    bool hasDmx = false;  // a "CUEC" was read
    uint32_t chaseBpm = 0;
    uint32_t chasePath = 0;
    std::string dmxText;
    std::vector<DmxChannelValue> fixtureValues;
};

bool readCueData(RiffFileReader& reader, const RiffElement& chunk, CueRecord& record,
                 std::wstring& errorKey)
{
    const uint32_t size = chunk.getSize();
    if (size != kCueData20 && size != kCueData24 && size < kCueData28) {
        return fail(errorKey, kInvalid);
    }
    if (size > kCueData28 + ProjectFile::kMaxTextChunkSize) {
        return fail(errorKey, kDamaged);
    }
    std::string data;
    if (!readData(reader, chunk, data, errorKey, kInvalid, kInvalid)) {
        return false;
    }
    record.size = size;
    uint32_t v[7] = {};
    const std::size_t count = size == kCueData20 ? 5 : size == kCueData24 ? 6 : 7;
    for (std::size_t i = 0; i < count; ++i) {
        FileText::u32At(data, 4 * i, v[i]);  // the size was checked above
    }
    record.timecode = v[0];
    record.prefire = static_cast<int32_t>(v[1]);
    record.group = static_cast<int32_t>(v[2]);
    if (size == kCueData20) {
        record.commandWord = v[3];
        record.duration = static_cast<int32_t>(v[4]);
        return true;
    }
    record.quantity = static_cast<int32_t>(v[3]);
    record.commandWord = v[4];
    record.duration = static_cast<int32_t>(v[5]);
    if (size >= kCueData28) {
        record.pyroType = static_cast<int32_t>(v[6]);
        record.reminder =
            FileText::lowBytes(FileText::firstString(std::string_view(data).substr(kCueData28)));
    }
    return true;
}

bool readFixtureValue(RiffFileReader& reader, const RiffElement& chunk, CueRecord& record,
                      std::wstring& errorKey)
{
    if (chunk.getSize() < kFixtureValueSize) {
        return fail(errorKey, kInvalid);
    }
    uint32_t channel = 0, value = 0, extra = 0, dynamic = 0, safety = 0;
    if (!reader.readU32(chunk, 0, channel) || !reader.readU32(chunk, 4, value) ||
        !reader.readU32(chunk, 8, extra) || !reader.readU32(chunk, 12, dynamic)) {
        return fail(errorKey, kInvalid);
    }
    if (chunk.getSize() >= kFixtureValueWithSafetySize && !reader.readU32(chunk, 20, safety)) {
        return fail(errorKey, kInvalid);
    }
    record.fixtureValues.emplace_back(static_cast<uint16_t>(channel), static_cast<uint8_t>(value),
                                      static_cast<int32_t>(extra), dynamic > 0, safety > 0, false,
                                      0);
    return true;
}

// One "CUE " list: the first "CUED", "CUEG", "CUEC" and "META" count, every "FIXD" of every
// "FIX " list adds a fixture channel value.
bool readCue(RiffFileReader& reader, const RiffList& list, ProjectData& data,
             ProjectFile::Mode mode, Budget& budget, std::wstring& errorKey)
{
    const bool open = mode == ProjectFile::Mode::OPEN;
    const RiffElement* cueData = nullptr;
    const RiffElement* groupChunk = nullptr;
    const RiffElement* dmxChunk = nullptr;
    const RiffElement* metaChunk = nullptr;
    CueRecord record;
    for (const auto& child : list.getChildren()) {
        const FileIO::FourCC id = child->getId();
        if (!child->isChunk()) {
            if (id != "FIX ") {
                continue;
            }
            for (const auto& value : static_cast<const RiffList&>(*child).getChildren()) {
                if (!value->isChunk() || value->getId() != "FIXD") {
                    continue;
                }
                if (record.fixtureValues.size() >= ProjectFile::kMaxFixtureValuesPerCue ||
                    --budget.fixtureValues < 0) {
                    return fail(errorKey, kDamaged);
                }
                if (!readFixtureValue(reader, *value, record, errorKey)) {
                    return false;
                }
            }
        } else if (id == "CUED" && cueData == nullptr) {
            cueData = child.get();
        } else if (id == "CUEG" && groupChunk == nullptr) {
            groupChunk = child.get();
        } else if (id == "CUEC" && dmxChunk == nullptr) {
            dmxChunk = child.get();
        } else if (id == "META" && metaChunk == nullptr) {
            metaChunk = child.get();
        }
    }
    if (cueData == nullptr || !readCueData(reader, *cueData, record, errorKey)) {
        return fail(errorKey, kInvalid);
    }
    // A damaged number must not move a cue: a prefire of -2147483648 would fire it at once.
    const int format = data.getFormat();
    const int32_t day = SMPTE::framesPerDay(format);
    if (!SMPTE::isValidBCD(record.timecode, format) || record.prefire < 0 ||
        record.prefire >= day || record.duration < 0 || record.duration >= day) {
        return fail(errorKey, kDamaged);
    }
    for (const RiffElement* text : {groupChunk, dmxChunk}) {
        if (text != nullptr && text->getSize() > ProjectFile::kMaxTextChunkSize) {
            return fail(errorKey, kDamaged);
        }
    }
    // Group name and DMX data exist in the newest form only, and a merge does not take them.
    const bool newest = record.size >= kCueData28;
    std::string chunkData;
    if (open && newest && groupChunk != nullptr) {
        if (!readData(reader, *groupChunk, chunkData, errorKey, kInvalid, kInvalid)) {
            return false;
        }
        record.groupName = FileText::lowBytes(FileText::firstString(chunkData));
    }
    if (open && newest && dmxChunk != nullptr && dmxChunk->getSize() > 7) {
        if (!readData(reader, *dmxChunk, chunkData, errorKey, kInvalid, kInvalid)) {
            return false;
        }
        record.hasDmx = true;
        FileText::u32At(chunkData, 0, record.chaseBpm);
        FileText::u32At(chunkData, 4, record.chasePath);
        record.dmxText =
            FileText::lowBytes(FileText::firstString(std::string_view(chunkData).substr(8)));
    }

    CueCommand command = CueCommand::fromCommandWord(record.commandWord);
    if (open && newest) {
        // Older files kept a single DMX channel without text: it becomes the text of that
        // channel, numbered from 1.
        if (command.getType() == CueCommand::TYPE_DMX512 &&
            command.getAddress() != CueCommand::kNoAddress && record.dmxText.empty()) {
            char text[16];
            std::snprintf(text, sizeof text, "%03d", command.getAddress() + 1);
            record.dmxText = text;
        }
        // A text that does not parse is kept as the model keeps it (with no steps), so that
        // the file still opens and the user can correct the text.
        command.setDmxText(record.dmxText);
        if (record.hasDmx) {
            command.setChasePath(static_cast<int32_t>(record.chasePath));
            command.setChaseBpm(static_cast<int32_t>(record.chaseBpm));
        }
    }

    // The cue's metadata is read before the cue exists, so that a failure adds no cue.
    KeyValueList metadata;
    if (metaChunk != nullptr && !readMetadata(reader, *metaChunk, metadata, budget, errorKey)) {
        return false;
    }

    SMPTE timecode(format);
    timecode.setBCD(record.timecode);
    CueList::CueItem* cue = data.getCueList().add(
        timecode, command, record.prefire, record.duration, record.group, -1, record.reminder);
    cue->setQuantity(record.quantity);
    cue->setGroupName(record.groupName);
    cue->setPyroType(record.pyroType);
    cue->addFixtureChannelValues(record.fixtureValues);
    KeyValueList& cueMetadata = cue->getMetadata();
    for (int i = 0; i < metadata.size(); ++i) {
        cueMetadata.insert(-1, *metadata.keyAt(i), *metadata.valueAt(i));
    }
    return true;
}

// A cue or metadata chunk that did not read: the whole read fails, or, salvaging, the
// element is left out. Memory running out ends a salvage too.
bool skipWhenSalvaging(RiffFileReader& reader, Salvage salvage, std::wstring& errorKey)
{
    if (salvage == Salvage::ALLOW && errorKey != kMemory) {
        reader.noteDamage(L"a part that could not be read (" + errorKey + L") was left out");
        errorKey.clear();
        return true;
    }
    return false;
}

bool writeNarrow(RiffFileWriter& writer, const std::string& text)
{
    return writer.write(FileText::narrowToUnits(text));
}

bool writeMetadata(RiffFileWriter& writer, const KeyValueList& metadata)
{
    bool ok = writer.beginChunk("META");
    for (int i = 0; ok && i < metadata.size(); ++i) {
        ok = writer.writeString(*metadata.keyAt(i)) && writer.writeString(*metadata.valueAt(i));
    }
    return ok && writer.end();
}

bool writeCue(RiffFileWriter& writer, const Cue& cue)
{
    const CueCommand& command = cue.getCommand();
    bool ok = writer.beginList("CUE ");
    ok = ok && writer.beginChunk("CUED") && writer.writeU32(cue.getTimecode().getBCD()) &&
         writer.writeI32(cue.getPrefireTime()) && writer.writeI32(cue.getGroup()) &&
         writer.writeI32(cue.getQuantity()) && writer.writeU32(command.toCommandWord()) &&
         writer.writeI32(cue.getDuration()) && writer.writeI32(cue.getPyroType()) &&
         writeNarrow(writer, cue.getReminderText()) && writer.end();
    ok = ok && writer.beginChunk("CUEG") && writeNarrow(writer, cue.getGroupName()) && writer.end();
    ok = ok && writer.beginChunk("CUEC") && writer.writeI32(command.getChaseBpm()) &&
         writer.writeI32(command.getChasePath()) && writeNarrow(writer, command.getDmxText()) &&
         writer.end();
    for (const DmxChannelValue& value : cue.getFixtureChannelValues()) {
        ok = ok && writer.beginList("FIX ") && writer.beginChunk("FIXD") &&
             writer.writeU32(value.getChannel()) && writer.writeU32(value.getValue()) &&
             writer.writeI32(value.getExtra()) && writer.writeU32(value.isDynamic() ? 1 : 0) &&
             writer.end() && writer.end();
    }
    if (cue.getMetadata().size() > 0) {
        ok = ok && writeMetadata(writer, cue.getMetadata());
    }
    return ok && writer.end();
}

}  // namespace

uint8_t ProjectFile::frameRateCode(int format)
{
    switch (format) {
        case SMPTE::SMPTE_24: return 24;
        case SMPTE::SMPTE_25: return 25;
        case SMPTE::SMPTE_30DF: return 29;
        default: return 30;
    }
}

int ProjectFile::formatOfFrameRateCode(int code)
{
    switch (code) {
        case 24: return SMPTE::SMPTE_24;
        case 25: return SMPTE::SMPTE_25;
        case 29: return SMPTE::SMPTE_30DF;
        case 30: return SMPTE::SMPTE_30;
        default: return -1;
    }
}

bool ProjectFile::isProjectFile(const RiffFileReader& reader)
{
    return reader.isOpen() && reader.getRoot().getId() == "FWP ";
}

bool ProjectFile::read(RiffFileReader& reader, ProjectData& data, Mode mode, std::wstring& errorKey,
                       Salvage salvage)
{
    const RiffList& root = reader.getRoot();
    // The format comes first: cues are decoded in it, and a merge of a file of another
    // format must not add a single cue.
    const RiffElement* projectData = root.findChunk("PRJD");
    if (projectData != nullptr && !readProjectData(reader, *projectData, data, mode, errorKey)) {
        return false;
    }
    Budget budget;
    // More cues than any show holds are refused before a single cue is made.
    if (salvage == Salvage::REFUSE &&
        std::count_if(root.getChildren().begin(), root.getChildren().end(), [](const auto& child) {
            return !child->isChunk() && child->getId() == "CUE ";
        }) > kMaxCues) {
        return fail(errorKey, kDamaged);
    }
    for (const auto& child : root.getChildren()) {
        if (child->isChunk()) {
            if (mode == Mode::OPEN && child->getId() == "META" &&
                !readMetadata(reader, *child, data.getMetadata(), budget, errorKey) &&
                !skipWhenSalvaging(reader, salvage, errorKey)) {
                return false;
            }
        } else if (child->getId() == "CUE ") {
            if (--budget.cues < 0) {
                // More cues than any show holds: what came before is all that is read.
                errorKey = kDamaged;
                return skipWhenSalvaging(reader, salvage, errorKey);
            }
            if (!readCue(reader, static_cast<const RiffList&>(*child), data, mode, budget,
                         errorKey) &&
                !skipWhenSalvaging(reader, salvage, errorKey)) {
                return false;
            }
        }
    }
    return true;
}

bool ProjectFile::open(RiffFileReader& reader, const std::wstring& path, Salvage salvage,
                       std::wstring& errorKey)
{
    if (!FileDamage::open(reader, path, kMaxElements)) {
        return fail(errorKey, L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING");
    }
    if (!isProjectFile(reader)) {
        return fail(errorKey, kInvalid);
    }
    return FileDamage::accept(reader, salvage, errorKey);
}

bool ProjectFile::writeContent(RiffFileWriter& writer, const ProjectData& data)
{
    bool ok = writer.beginChunk("PRJD") && writer.writeU8(frameRateCode(data.getFormat())) &&
              writer.writeU8(data.isWaveLinked() ? 1 : 0) &&
              writer.writeU32(data.getAudioOffset().getBCD()) && writer.end();
    ok = ok && writeMetadata(writer, data.getMetadata());
    for (const Cue* cue : orderCues(data.getCueList(), firingMoment)) {
        if (!ok) {
            break;
        }
        ok = writeCue(writer, *cue);
    }
    return ok && writer.appendIntegrityRecord();
}

std::string ProjectFile::toBytes(const ProjectData& data)
{
    RiffFileWriter writer;
    writer.openInMemory();
    writer.beginList("FWP ");
    writeContent(writer, data);
    writer.close();
    return writer.getBytes();
}

bool ProjectFile::save(const std::wstring& path, const ProjectData& data, std::wstring& errorKey)
{
    Platform::FileReplacement replacement(path, Platform::FileReplacement::Backup::KEEP_PREVIOUS);
    RiffFileWriter writer;
    if (!writer.open(replacement) || !writer.beginList("FWP ")) {
        return fail(errorKey, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");
    }
    bool ok = writeContent(writer, data);
    ok = writer.close() && ok;
    if (!ok || !replacement.commit()) {
        return fail(errorKey, L"ERROR.FAILED_TO_WRITE_TO_FILE");
    }
    return true;
}

bool ProjectFile::load(const std::wstring& path, ProjectData& data, std::wstring& errorKey,
                       Salvage salvage)
{
    RiffFileReader reader;
    return open(reader, path, salvage, errorKey) &&
           read(reader, data, Mode::OPEN, errorKey, salvage);
}

std::wstring ProjectFile::audioPathFor(const std::wstring& projectPath)
{
    if (projectPath.size() >= 4) {
        std::wstring extension = projectPath.substr(projectPath.size() - 4);
        for (wchar_t& c : extension) {
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
        if (extension == L".fwp") {
            return projectPath.substr(0, projectPath.size() - 3) + L"wav";
        }
    }
    return projectPath + L".wav";
}

std::vector<const Cue*> orderCues(const CueList& cues,
                                  const std::function<int64_t(const Cue&)>& key)
{
    std::vector<std::pair<int64_t, const Cue*>> keyed;
    keyed.reserve(static_cast<std::size_t>(cues.getCount()));
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        keyed.emplace_back(key(*cue), cue);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const Cue*> ordered;
    ordered.reserve(keyed.size());
    for (const auto& entry : keyed) {
        ordered.push_back(entry.second);
    }
    return ordered;
}

int64_t firingMoment(const Cue& cue)
{
    return static_cast<int64_t>(cue.getTimecode().getFrameNo()) - cue.getPrefireTime();
}

}  // namespace Project
