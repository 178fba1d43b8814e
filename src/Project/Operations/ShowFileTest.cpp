#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Platform/TestFolder.h"
#include "Project/Operations/ShowFile.h"

namespace Project {
namespace {

// Random numbers from a list, then the last one again and again.
ShowFile::Options options(std::vector<int> numbers, int64_t time = 0x12345678)
{
    auto next = std::make_shared<std::size_t>(0);
    return {[numbers, next] {
                const int number = numbers[std::min(*next, numbers.size() - 1)];
                ++*next;
                return number;
            },
            time};
}

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

// The record area, and the trailer deciphered.
struct Parts {
    std::string records;
    std::string trailer;
};

Parts split(const std::string& file)
{
    EXPECT_GE(file.size(), 18u);
    EXPECT_EQ(file.substr(file.size() - 18, 2), "?^");
    Parts parts{file.substr(0, file.size() - 18), ""};
    EXPECT_TRUE(ShowFile::decipherTrailer(file.substr(file.size() - 16), parts.trailer));
    return parts;
}

CueList::CueItem* addPyro(ProjectData& data, int frame, int prefire, int address)
{
    return data.getCueList().add(SMPTE::fromFrameNo(data.getFormat(), frame),
                                 CueCommand::pyro(address), prefire, 0, 1, -1, "");
}

TEST(ShowFile, WritesAPyroRecordAndTheTrailer)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    addPyro(data, 250, 5, 0x123);
    const Parts parts = split(ShowFile::build(data, options({700, 300})));
    EXPECT_EQ(parts.records,
              bytes({0x57, 0x00, 0x00, 0xF5, 0x00, 0x50, 0x02, 0x01, 0x00, 0x00, 0x01, 0x00,
                     0x12, 0x03, 0xAC, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0xC6, 0xCE, 0xD1,
                     0xD5, 0xDA, 0xAD, 0x00, 0x00, 0xDA, 0xDB, 0x00, 0x00, 0xDB, 0xDA}));
    // random byte 300 mod 255, the time, one record, format 1
    EXPECT_EQ(parts.trailer,
              bytes({0xBD, 45, 0xDB, 0x12, 0x34, 0x56, 0x78, 0x00, 0x01, SMPTE::SMPTE_25}));
}

TEST(ShowFile, WritesTheFieldsOfARecord)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_30DF);
    CueList::CueItem* cue = addPyro(data, 0x12345, 0x2AB, 0x4567);
    cue->setGroup(18);
    cue->setDuration(30);
    cue->setGroupName("G\xFF");
    cue->getMetadata().insert(-1, L"~DESC", L"A\u0141");  // U+0141 keeps its low byte 0x41
    const Parts parts = split(ShowFile::build(data, options({1})));
    const std::string& r = parts.records;
    ASSERT_EQ(r.size(), 34u);
    const int fire = 0x12345 - 0x2AB;
    EXPECT_EQ(r.substr(1, 3), bytes({fire >> 16, (fire >> 8) & 0xFF, fire & 0xFF}));
    EXPECT_EQ(r.substr(4, 2), bytes({0x2A, 0xB1}));   // prefire 0x2AB, group 18 - 1 = 0x11
    EXPECT_EQ(r.substr(12, 2), bytes({0x56, 0x07}));  // address 0x4567: 0x456 >> 4 is cut
    // length 2, 30 frames at 29.97 = 1001 ms, "A" and 0x41, tag 0 (not parallel), group name
    EXPECT_EQ(r.substr(14), bytes({0xAC, 0x00, 0x02, 0x00, 0x00, 0x03, 0xE9, 0xC2, 0xC2, 0xAD,
                                   0x00, 0x00, 0xDA, 0xDB, 0x00, 0x02, 0xC8, 0x80, 0xDB, 0xDA}));
    EXPECT_EQ(parts.trailer.back(), SMPTE::SMPTE_30DF);
}

TEST(ShowFile, WritesDmxBlocks)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    const auto block = [&data](const CueCommand& command, int fixtureChannel = 0) {
        data.getCueList().clear();
        CueList::CueItem* cue =
            data.getCueList().add(SMPTE(SMPTE::SMPTE_25), command, 0, 0, 1, -1, "");
        if (fixtureChannel > 0) {
            cue->addFixtureChannelValue(
                DmxChannelValue(static_cast<uint16_t>(fixtureChannel), 9, 0, true, true, false, 0));
        }
        const std::string records = split(ShowFile::build(data, options({1}))).records;
        EXPECT_EQ(records[6], '\xFE');
        return records.substr(7, records.find('\xAC') - 7);
    };
    CueCommand scene = CueCommand::dmx(0, 0, 0);
    scene.setDmxText("S1@255");
    EXPECT_EQ(block(scene), bytes({0x01, 0x00, 0x00, 0x01, 0xA0, 0x01, 0xFF}));

    CueCommand chase = CueCommand::dmx(0, 0, 7);
    chase.setDmxText("(Q300@1+D2)+(513@3)");
    chase.setChaseBpm(0x4321);
    chase.setChasePath(CueCommand::CHASE_BLOCK);
    EXPECT_EQ(block(chase), bytes({0x02, 0x53, 0x21, 0x02, 0xB1, 0x2C, 0x01, 0xC0, 0x02, 0x07, 0x01,
                                   0x02, 0x01, 0x03}));

    // Without text: the fixture values placed from the channel on, then the channel itself
    // (channel index 0x104 is DMX channel 0x105).
    EXPECT_EQ(block(CueCommand::dmx(0, 0x104, 200), 3),
              bytes({0x01, 0x00, 0x00, 0x02, 0x01, 0x07, 0x09, 0x01, 0x05, 0xC8}));
}

TEST(ShowFile, OrdersByFiringTimeAndTagsParallelCues)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    // In list order: a (fires 100), b (100), c (fires 97: slow safety only), d (200), and
    // a reminder that is left out.
    CueList::CueItem* a = addPyro(data, 100, 0, 0xA);
    CueList::CueItem* b = addPyro(data, 100, 0, 0xB);
    // The slow channel counts also when the text was typed (or read from a file), not
    // rebuilt from steps: the cue's own mark is not set then.
    CueCommand slow = CueCommand::dmx(0, 0, 0);
    slow.setDmxText("D12@1");
    CueList::CueItem* c = data.getCueList().add(SMPTE::fromFrameNo(1, 100), slow, 0, 0, 1, -1, "");
    ASSERT_FALSE(c->hasSlowOnlyChannel());
    CueList::CueItem* d = addPyro(data, 200, 0, 0xD);
    data.getCueList().add(SMPTE::fromFrameNo(1, 50), CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 1,
                          -1, "note");
    for (CueList::CueItem* cue : {a, b, d}) {
        cue->setPyroType(Cue::PYRO_PARALLEL);
    }
    // Tags drawn: 9 (for c), then 0 and 9 again are drawn anew, 44 (a and b), 77 (d).
    const Parts parts = split(ShowFile::build(data, options({9, 0, 9, 44, 77, 5})));
    std::vector<int> kinds, addresses, tags;
    for (std::size_t at = 0; at < parts.records.size();) {
        ASSERT_EQ(parts.records[at], '\x57');
        const std::size_t tag = parts.records.find("\xDA\xDB", at) - 2;
        kinds.push_back(static_cast<unsigned char>(parts.records[at + 6]));
        addresses.push_back(static_cast<unsigned char>(parts.records[at + 13]));
        tags.push_back(static_cast<unsigned char>(parts.records[tag]) << 8 |
                       static_cast<unsigned char>(parts.records[tag + 1]));
        at = parts.records.find("\xDB\xDA", tag) + 2;
    }
    EXPECT_EQ(kinds, (std::vector<int>{0xFE, 0x02, 0x02, 0x02}));
    EXPECT_EQ(tags, (std::vector<int>{0, 44, 44, 77}));  // a DMX cue carries no tag
    EXPECT_EQ(addresses[1], 0xA);
    EXPECT_EQ(addresses[2], 0xB);
    EXPECT_EQ(parts.trailer[1], 5);  // the trailer's random byte is drawn last
    EXPECT_EQ(parts.trailer.substr(7, 2), bytes({0, 4}));
}

TEST(ShowFile, AShowOfRemindersHasOnlyTheTrailer)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_24);
    data.getCueList().add(SMPTE(SMPTE::SMPTE_24), CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 1,
                          -1, "");
    const std::string file = ShowFile::build(data, options({254}));
    ASSERT_EQ(file.size(), 18u);
    const Parts parts = split(file);
    EXPECT_EQ(parts.trailer, bytes({0xBD, 254, 0xDB, 0x12, 0x34, 0x56, 0x78, 0, 0, 0}));
}

TEST(ShowFile, CutsOverlongTextsAtTheirLengthField)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    CueList::CueItem* cue = addPyro(data, 0, 0, 1);
    cue->getMetadata().insert(-1, L"~DESC", std::wstring(65537, L'x'));
    cue->setGroupName(std::string(65536, 'g'));
    const Parts parts = split(ShowFile::build(data, options({1})));
    EXPECT_EQ(parts.records.size(), 31u);  // one byte of description, no group name
    EXPECT_EQ(parts.records.substr(15, 2), bytes({0x00, 0x01}));
}

TEST(ShowFile, ReportsATargetThatCannotBeWritten)
{
    Platform::TestFolder folder;
    ProjectData data;
    std::wstring error;
    EXPECT_FALSE(ShowFile::save(folder.path("none/show.fws"), data, options({1}), error));
    EXPECT_EQ(error, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");
    ASSERT_TRUE(ShowFile::save(folder.path("show.fws"), data, options({1}), error));
    EXPECT_EQ(folder.readBytes("show.fws"), ShowFile::build(data, options({1})));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"show.fws"});
}

// A cue without address and DMX text has nothing to fire; it used to go out as address 0
// (a DMX cue "set channel 1 to 0", switching off what the firing system had there). Such
// cues are left out, as the compiled show leaves them out, and the count follows.
TEST(ShowFile, LeavesOutCuesWithNothingToFire)
{
    const auto show = [](bool withUndefined) {
        ProjectData data;
        data.setFormat(SMPTE::SMPTE_25);
        CueList& cues = data.getCueList();
        const SMPTE at = SMPTE::fromFrameNo(SMPTE::SMPTE_25, 50);
        if (withUndefined) {
            cues.add(at, CueCommand(CueCommand::TYPE_DMX512), 0, 0, 1, -1, "");
            cues.add(at, CueCommand(CueCommand::TYPE_PYRO), 0, 0, 1, -1, "");
        }
        cues.add(at, CueCommand::dmx(0, 4, 9), 0, 0, 1, -1, "");
        // a DMX text carries its own channels: written from the text
        CueCommand text(CueCommand::TYPE_DMX512);
        EXPECT_TRUE(text.setDmxText("7@200"));
        cues.add(at, text, 0, 0, 1, -1, "");
        if (withUndefined) {
            cues.add(at, CueCommand(CueCommand::TYPE_DMX512), 0, 25, 1, -1, "");
        }
        return ShowFile::build(data, options({3}));
    };
    const std::string file = show(true);
    EXPECT_EQ(file, show(false));
    EXPECT_EQ(split(file).trailer.substr(7, 2), bytes({0, 2}));
}

// A firing time is written as 24 bits and a prefire as 12: a time before 0 used to be written
// as its low bits (a time late in the day), and a negative prefire delayed the cue. Such a
// show is refused with a key of its own and nothing is written.
TEST(ShowFile, RefusesFiringTimesTheRecordCannotCarry)
{
    const int day = SMPTE::framesPerDay(SMPTE::SMPTE_25);
    CueCommand slowOnly(CueCommand::TYPE_DMX512);
    ASSERT_TRUE(slowOnly.setDmxText("D1@255"));  // 3 frames earlier
    const struct {
        const char* name;
        int frame;
        int prefire;
        CueCommand command;
        bool written;
    } rows[] = {
        {"fires at 0", 10, 10, CueCommand::pyro(1), true},
        {"fires before 0", 10, 11, CueCommand::pyro(1), false},
        {"negative prefire", 10, -1, CueCommand::pyro(1), false},
        {"prefire INT_MIN", 10, INT32_MIN, CueCommand::pyro(1), false},
        {"prefire the record holds", 5000, 4095, CueCommand::pyro(1), true},
        {"prefire beyond the record's 12 bits", 5000, 4096, CueCommand::pyro(1), false},
        {"timecode 24:00:00:00", day, 0, CueCommand::pyro(1), false},
        {"slow safety at frame 3", 3, 0, slowOnly, true},
        {"slow safety at frame 2", 2, 0, slowOnly, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Platform::TestFolder folder;
        ProjectData data;
        data.setFormat(SMPTE::SMPTE_25);
        data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, row.frame), row.command,
                              row.prefire, 0, 1, -1, "");
        std::wstring error;
        EXPECT_EQ(ShowFile::save(folder.path("show.fws"), data, options({1}), error), row.written);
        if (row.written) {
            EXPECT_EQ(folder.readBytes("show.fws"), ShowFile::build(data, options({1})));
        } else {
            EXPECT_EQ(error, L"ERROR.SHOW_FILE.CUE_TIMING");
            EXPECT_EQ(folder.names(), std::vector<std::string>{});
        }
    }
}

// The trailer counts the records in 16 bits: a show of more records is refused with a key of
// its own and nothing is written, where it used to be written with the count wrapped.
TEST(ShowFile, RefusesMoreRecordsThanItsCountHolds)
{
    for (const std::size_t count : {std::size_t{65535}, std::size_t{65536}}) {
        Platform::TestFolder folder;
        ProjectData data;
        data.setFormat(SMPTE::SMPTE_25);
        // one firing time, so that one parallel tag serves them all
        const SMPTE at = SMPTE::fromFrameNo(SMPTE::SMPTE_25, 10);
        for (std::size_t i = 0; i < count; ++i) {
            data.getCueList().add(at, CueCommand::pyro(1), 0, 0, 1, -1, "");
        }
        data.getCueList().add(at, CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 1, -1, "");
        EXPECT_EQ(ShowFile::recordCount(data), count);
        std::wstring error;
        const bool saved = ShowFile::save(folder.path("show.fws"), data, options({1}), error);
        if (count <= ShowFile::kMaxRecords) {
            ASSERT_TRUE(saved);
            EXPECT_EQ(split(folder.readBytes("show.fws")).trailer.substr(7, 2),
                      bytes({0xFF, 0xFF}));
        } else {
            EXPECT_FALSE(saved);
            EXPECT_EQ(error, L"ERROR.SHOW_FILE.TOO_MANY_CUES");
            EXPECT_EQ(folder.names(), std::vector<std::string>{});
        }
    }
}

}  // namespace
}  // namespace Project
