#include "Project/Operations/ShowFile.h"

#include <bitset>
#include <cmath>
#include <crypto++/aes.h>
#include <crypto++/filters.h>
#include <crypto++/modes.h>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "Platform/Assert.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ReplaceFile.h"
#include "Project/Operations/ShowFileKey.h"

namespace Project {

namespace {

constexpr unsigned char kRecordStart = 0x57;
constexpr unsigned char kKindPyro = 0x02;
constexpr unsigned char kKindDmx = 0xFE;
// A DMX cue with a channel of slow safety only goes out this many frames earlier.
constexpr int kSlowSafetyLead = 3;
constexpr std::size_t kMaxCount = 255;  // a one-byte count
constexpr int kTagRange = 65535;        // tags are drawn from 0..65534; 0 means "no tag"

void put16(std::string& out, uint32_t value)
{
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void put32(std::string& out, uint32_t value)
{
    put16(out, value >> 16);
    put16(out, value);
}

// A length-prefixed text: the length modulo 65536 and that many bytes, each stored as
// (byte - 0x7F) mod 256.
void putText(std::string& out, const std::string& bytes, bool withLength = true)
{
    const std::size_t length = bytes.size() & 0xFFFF;
    if (withLength) {
        put16(out, static_cast<uint32_t>(length));
    }
    for (std::size_t i = 0; i < length; ++i) {
        out += static_cast<char>(static_cast<unsigned char>(bytes[i]) - 0x7F);
    }
}

// Pyro and DMX cues with something to fire or set, as in the compiled show. A cue without
// address and DMX text used to go out as address 0: a DMX cue set channel 1 to 0, switching
// off whatever the firing system had there, and a pyro cue fired module 0, pin 0.
bool isExported(const Cue& cue)
{
    const CueCommand& command = cue.getCommand();
    const int type = command.getType();
    return (type == CueCommand::TYPE_PYRO || type == CueCommand::TYPE_DMX512) &&
           command.isDefined();
}

// Whether the DMX command drives a channel with slow safety but not safety. Read from the
// command's steps rather than from the cue's mark, which only a rebuild of the text sets: a
// text typed or read from a project file must fire as early as the same text built by a
// patch.
bool hasSlowOnlyChannel(const CueCommand& command)
{
    for (const DmxStep& step : command.getDmxSteps()) {
        for (const DmxChannelValue& value : step) {
            if (value.isSlowSafety() && !value.isSafety()) {
                return true;
            }
        }
    }
    return false;
}

int64_t firingTime(const Cue& cue)
{
    int64_t time = static_cast<int64_t>(cue.getTimecode().getFrameNo()) - cue.getPrefireTime();
    const CueCommand& command = cue.getCommand();
    if (command.getType() == CueCommand::TYPE_DMX512 && !command.getDmxText().empty() &&
        hasSlowOnlyChannel(command)) {
        time -= kSlowSafetyLead;
    }
    return time;
}

// The flags of a channel value in the high nibble of its first byte.
unsigned flagBits(const DmxChannelValue& value)
{
    if (value.isSafety() && value.isSlowSafety()) {
        return 0xB0;
    }
    if (value.isSafety()) {
        return 0xA0;
    }
    return value.isSlowSafety() ? 0xC0 : 0x00;
}

void putPyroBlock(std::string& out, const CueCommand& command)
{
    const int address = command.getAddress() < 0 ? 0 : command.getAddress();
    out += std::string("\x01\x00\x00\x01\x00", 5);
    out += static_cast<char>((address >> 4) & 0xFF);
    out += static_cast<char>(address & 0x0F);
}

void putDmxBlock(std::string& out, const Cue& cue)
{
    const CueCommand& command = cue.getCommand();
    if (!command.getDmxText().empty()) {
        // The counts are one byte each: a step or a chase beyond 255 is cut there, so that
        // the count always matches what follows and the record stays readable.
        const DmxSteps& steps = command.getDmxSteps();
        const std::size_t stepCount = std::min(steps.size(), kMaxCount);
        out += static_cast<char>(stepCount);
        uint32_t chase = 0;
        if (stepCount != 1) {
            chase = static_cast<uint32_t>(command.getChaseBpm()) & 0x3FF;
            if (command.getChasePath() == CueCommand::CHASE_BLOCK) {
                chase += 0x5000;
            }
        }
        put16(out, chase);
        for (std::size_t s = 0; s < stepCount; ++s) {
            const std::size_t valueCount = std::min(steps[s].size(), kMaxCount);
            out += static_cast<char>(valueCount);
            for (std::size_t v = 0; v < valueCount; ++v) {
                const DmxChannelValue& value = steps[s][v];
                out += static_cast<char>(flagBits(value) | ((value.getChannel() >> 8) & 0x03));
                out += static_cast<char>(value.getChannel() & 0xFF);
                out += static_cast<char>(value.getValue());
            }
        }
        return;
    }
    // A single channel: the cue's fixture channel values, placed from the command's channel
    // on, then the command's own channel (its address counted from 1) with its value.
    const int address = command.getAddress() < 0 ? 0 : command.getAddress();
    std::vector<std::pair<int, int>> values;
    for (const DmxChannelValue& value : cue.getFixtureChannelValues()) {
        values.emplace_back(value.getChannel() + address, value.getValue());
    }
    values.emplace_back(address + 1, command.getValue());
    const std::size_t count = std::min(values.size(), kMaxCount);
    out += '\x01';
    put16(out, 0);
    out += static_cast<char>(count);
    for (std::size_t i = 0; i < count; ++i) {
        out += static_cast<char>((values[i].first >> 8) & 0x03);
        out += static_cast<char>(values[i].first & 0xFF);
        out += static_cast<char>(values[i].second & 0xFF);
    }
}

// The parallel tags: a new one for every firing time, never 0 and never one given before in
// this file while unused ones remain.
class TagDrawer {
public:
    explicit TagDrawer(const std::function<int()>& random) : random_(random) {}

    uint16_t draw()
    {
        if (usedCount_ == kTagRange - 1) {
            used_.reset();  // every tag is given: the oldest times are long past
            usedCount_ = 0;
        }
        int tag = 0;
        for (int attempt = 0; attempt < 64; ++attempt) {
            tag = random_() % kTagRange;
            if (tag < 0) {
                tag += kTagRange;
            }
            if (tag != 0 && !used_.test(static_cast<std::size_t>(tag))) {
                return take(tag);
            }
        }
        // A generator that keeps repeating itself must not stall the export.
        do {
            tag = tag % (kTagRange - 1) + 1;
        } while (used_.test(static_cast<std::size_t>(tag)));
        return take(tag);
    }

private:
    uint16_t take(int tag)
    {
        used_.set(static_cast<std::size_t>(tag));
        ++usedCount_;
        return static_cast<uint16_t>(tag);
    }

    const std::function<int()>& random_;
    std::bitset<kTagRange> used_;
    int usedCount_ = 0;
};

std::string description(const Cue& cue)
{
    const std::wstring* text = cue.getMetadata().valueOf(L"~DESC");
    if (text == nullptr) {
        return "EMPTY";
    }
    const std::u16string units = Platform::toUtf16(*text);
    std::string bytes(units.size(), '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[i] = static_cast<char>(units[i] & 0xFF);
    }
    return bytes;
}

}  // namespace

ShowFile::Options ShowFile::defaultOptions()
{
    return {[] { return std::rand(); }, static_cast<int64_t>(std::time(nullptr))};
}

std::string ShowFile::build(const ProjectData& data, const Options& options)
{
    using namespace std::string_literals;
    const double rate = SMPTE::framesPerSecond(data.getFormat());
    const std::vector<const Cue*> cues = orderCues(data.getCueList(), firingTime);
    auto tags = std::make_unique<TagDrawer>(options.random);

    std::string out;
    out.reserve(cues.size() * 48 + 18);
    uint32_t records = 0;
    bool first = true;
    int64_t previousTime = 0;
    uint16_t tag = 0;
    for (const Cue* cue : cues) {
        if (!isExported(*cue)) {
            continue;
        }
        const int64_t time = firingTime(*cue);
        if (first || time != previousTime) {
            tag = tags->draw();
        }
        first = false;
        previousTime = time;

        const CueCommand& command = cue->getCommand();
        const bool pyro = command.getType() == CueCommand::TYPE_PYRO;
        const auto prefire = static_cast<uint32_t>(cue->getPrefireTime());
        out += static_cast<char>(kRecordStart);
        out += static_cast<char>((time >> 16) & 0xFF);
        out += static_cast<char>((time >> 8) & 0xFF);
        out += static_cast<char>(time & 0xFF);
        out += static_cast<char>((prefire >> 4) & 0xFF);
        out += static_cast<char>(((prefire & 0x0F) << 4) |
                                 (static_cast<uint32_t>(cue->getGroup() - 1) & 0x0F));
        if (pyro) {
            out += static_cast<char>(kKindPyro);
            putPyroBlock(out, command);
        } else {
            out += static_cast<char>(kKindDmx);
            putDmxBlock(out, *cue);
        }
        out += '\xAC';
        const std::string text = description(*cue);
        put16(out, static_cast<uint32_t>(text.size() & 0xFFFF));
        const auto milliseconds =
            static_cast<int64_t>(std::trunc(cue->getDuration() * 1000.0 / rate));
        put32(out, static_cast<uint32_t>(milliseconds));
        putText(out, text, false);
        out += '\xAD';
        put16(out, pyro && cue->getPyroType() == Cue::PYRO_PARALLEL ? tag : 0);
        out += "\xDA\xDB"s;
        putText(out, cue->getGroupName());
        out += "\xDB\xDA"s;
        ++records;
    }

    std::string trailer;
    trailer += '\xBD';
    int random = options.random() % 255;
    trailer += static_cast<char>(random < 0 ? random + 255 : random);
    trailer += '\xDB';
    put32(trailer, static_cast<uint32_t>(options.exportTime));
    SKY_ASSERT(records <= kMaxRecords, "ShowFile");
    put16(trailer, records);
    const int format = data.getFormat();
    trailer += static_cast<char>(format == SMPTE::SMPTE_24 || format == SMPTE::SMPTE_30DF ||
                                         format == SMPTE::SMPTE_30
                                     ? format
                                     : SMPTE::SMPTE_25);
    out += "?^";
    out += encipherTrailer(trailer);
    return out;
}

std::size_t ShowFile::recordCount(const ProjectData& data)
{
    std::size_t records = 0;
    const CueList& cues = data.getCueList();
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        records += isExported(*cue) ? 1 : 0;
    }
    return records;
}

// The record's prefire field holds 12 bits of frames.
constexpr int kMaxRecordPrefire = 0xFFF;

// Whether the record's times mean what the cue says: a firing time from 0 to the end of the
// day (a negative one used to be written as its low 24 bits, a time late in the day) and a
// prefire of 0 to what the field holds (a negative one would fire the cue after its timecode,
// a longer one was written as its low 12 bits).
bool hasRecordableTiming(const Cue& cue)
{
    const int64_t day = SMPTE::framesPerDay(cue.getTimecode().getFormat());
    const int64_t time = firingTime(cue);
    return cue.getPrefireTime() >= 0 && cue.getPrefireTime() <= kMaxRecordPrefire && time >= 0 &&
           time < day && cue.getTimecode().getFrameNo() < day;
}

bool ShowFile::save(const std::wstring& path, const ProjectData& data, const Options& options,
                    std::wstring& errorKey)
{
    const CueList& cues = data.getCueList();
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (isExported(*cue) && !hasRecordableTiming(*cue)) {
            errorKey = L"ERROR.SHOW_FILE.CUE_TIMING";
            return false;
        }
    }
    // The trailer counts the records in 16 bits; a wrapped count would make the firing
    // system play part of the show, or refuse it at the site.
    if (recordCount(data) > kMaxRecords) {
        errorKey = L"ERROR.SHOW_FILE.TOO_MANY_CUES";
        return false;
    }
    return replaceFile(path, build(data, options), errorKey);
}

std::string ShowFile::encipherTrailer(std::string_view plain)
{
    CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption cipher(kShowFileKey.data(), kShowFileKey.size(),
                                                         kShowFileIv.data());
    std::string out;
    CryptoPP::StringSource source(
        reinterpret_cast<const CryptoPP::byte*>(plain.data()), plain.size(), true,
        new CryptoPP::StreamTransformationFilter(cipher, new CryptoPP::StringSink(out),
                                                 CryptoPP::BlockPaddingSchemeDef::PKCS_PADDING));
    return out;
}

bool ShowFile::decipherTrailer(std::string_view cipherText, std::string& plain)
{
    if (cipherText.size() != CryptoPP::AES::BLOCKSIZE) {
        return false;
    }
    try {
        CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption cipher(
            kShowFileKey.data(), kShowFileKey.size(), kShowFileIv.data());
        std::string out;
        CryptoPP::StringSource source(reinterpret_cast<const CryptoPP::byte*>(cipherText.data()),
                                      cipherText.size(), true,
                                      new CryptoPP::StreamTransformationFilter(
                                          cipher, new CryptoPP::StringSink(out),
                                          CryptoPP::BlockPaddingSchemeDef::PKCS_PADDING));
        plain = std::move(out);
        return true;
    } catch (const CryptoPP::Exception&) {
        return false;
    }
}

}  // namespace Project
