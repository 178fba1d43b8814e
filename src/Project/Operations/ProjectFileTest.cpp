#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "FileIO/RiffTestBytes.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ProjectFileSample.h"

namespace Project {
namespace {

using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;

// Every saved field of the data, cues in list order, as one text to compare.
std::string describe(const ProjectData& data)
{
    std::ostringstream out;
    out << "format " << data.getFormat() << " offset " << data.getAudioOffset().toNarrowString()
        << " wave " << data.isWaveLinked() << "\n";
    const auto meta = [&out](const KeyValueList& list) {
        for (int i = 0; i < list.size(); ++i) {
            out << " [" << Platform::toUtf8(*list.keyAt(i)) << "="
                << Platform::toUtf8(*list.valueAt(i)) << "]";
        }
    };
    meta(data.getMetadata());
    const CueList& cues = data.getCueList();
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const CueCommand& c = cue->getCommand();
        out << "\ncue " << cue->getTimecode().toNarrowString() << " pre " << cue->getPrefireTime()
            << " dur " << cue->getDuration() << " grp " << cue->getGroup() << " qty "
            << cue->getQuantity() << " pyro " << cue->getPyroType() << " rem '"
            << cue->getReminderText() << "' name '" << cue->getGroupName() << "' cmd "
            << c.getType() << "/" << c.getAddress() << "/" << c.getUniverse() << "/" << c.getValue()
            << " dmx '" << c.getDmxText() << "' steps " << c.getDmxSteps().size() << " chase "
            << c.getChasePath() << "/" << c.getChaseBpm();
        for (const DmxChannelValue& v : cue->getFixtureChannelValues()) {
            out << " fix " << v.getChannel() << "/" << int(v.getValue()) << "/" << v.getExtra()
                << "/" << v.isDynamic() << "/" << v.isSafety();
        }
        meta(cue->getMetadata());
    }
    return out.str();
}

bool readBytes(const std::string& bytes, ProjectData& data, ProjectFile::Mode mode,
               std::wstring& error)
{
    RiffFileReader reader;
    if (!reader.openBytes(bytes)) {
        error = L"not RIFF";
        return false;
    }
    if (!ProjectFile::isProjectFile(reader)) {
        error = L"ERROR.INVALID_FWP";
        return false;
    }
    return ProjectFile::read(reader, data, mode, error);
}

std::string u32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) {
        s[i] = static_cast<char>(v >> (8 * i));
    }
    return s;
}

// A project file written by hand: "PRJD" with `frameRate`, then one "CUE " list per entry,
// each entry filling the list it is given.
std::string handMadeFile(const std::vector<std::function<void(RiffFileWriter&)>>& cues,
                         std::optional<std::string> projectData = std::string("\x19\x00", 2) +
                                                                  u32(0))
{
    RiffFileWriter w;
    w.openInMemory();
    w.beginList("FWP ");
    if (projectData) {
        w.beginChunk("PRJD");
        w.write(*projectData);
        w.end();
    }
    for (const auto& fill : cues) {
        w.beginList("CUE ");
        fill(w);
        w.end();
    }
    EXPECT_TRUE(w.close());
    return w.getBytes();
}

void chunk(RiffFileWriter& w, FileIO::FourCC id, const std::string& data)
{
    w.beginChunk(id);
    w.write(data);
    w.end();
}

// A "CUED" of the 20-, 24- or 28-byte form: 00:00:01:00 at 25 fps, prefire 2, group 3,
// quantity 4, the command word, duration 5, pyro type 2, the text.
std::string cueData(uint32_t size, uint32_t word, const std::string& text = "")
{
    std::string d = u32(0x00000100) + u32(2) + u32(3);
    if (size == 20) {
        return d + u32(word) + u32(5);
    }
    d += u32(4) + u32(word) + u32(5);
    if (size == 24) {
        return d;
    }
    d += u32(2);
    for (char c : text) {
        d += c;
        d += '\0';
    }
    return d + std::string(2, '\0');
}

TEST(ProjectFile, AnEmptyProjectIsProjectDataAndEmptyMetadata)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    data.setAudioOffset(SMPTE(SMPTE::SMPTE_25, 0, 0, 2, 3));
    const std::string expected = std::string("RIFF\x1A\0\0\0FWP PRJD\x06\0\0\0\x19\x00", 22) +
                                 u32(0x00000203) + std::string("META\0\0\0\0", 8);
    // Followed by the integrity record.
    EXPECT_EQ(ProjectFile::toBytes(data), FileIO::TestBytes::withIntegrityRecord(expected));
}

TEST(ProjectFile, SavesAndOpensEveryField)
{
    Platform::TestFolder folder;
    ProjectData data;
    Sample::fillShow(data, 12, SMPTE::SMPTE_30DF);
    data.setWaveLink(true, L"/elsewhere/track.wav");
    CueList& cues = data.getCueList();
    // A narrow text with a byte above 0x7F, a cue of the older single-channel DMX kind with
    // a fixture value of each flag, and a cue without metadata.
    Cue* reminder = cues.add(SMPTE(SMPTE::SMPTE_30DF, 1, 2, 3, 4),
                             CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 1, -1, "K\xE4se");
    reminder->setGroupName("Gr\xFC\xDF");
    Cue* dmx =
        cues.add(SMPTE(SMPTE::SMPTE_30DF, 0, 0, 5, 10), CueCommand::dmx(2, 9, 77), 1, 2, 3, -1, "");
    dmx->addFixtureChannelValue(DmxChannelValue(4, 200, -7, true, false, false, 0));
    dmx->addFixtureChannelValue(DmxChannelValue(5, 0, 0, false, false, false, 0));

    std::wstring error;
    ASSERT_TRUE(ProjectFile::save(folder.path("show.fwp"), data, error)) << error;
    ProjectData opened;
    ASSERT_TRUE(ProjectFile::load(folder.path("show.fwp"), opened, error)) << error;

    // Saved without text, the single channel comes back as the text of that channel.
    std::string expected = describe(data);
    const std::string before = "dmx '' steps 0 chase 1/0 fix 4";
    ASSERT_NE(expected.find(before), std::string::npos);
    expected.replace(expected.find(before), before.size(), "dmx '010' steps 1 chase 1/0 fix 4");
    EXPECT_EQ(describe(opened), expected);
    EXPECT_EQ(opened.getWaveFileName(), L"");  // the caller finds the soundtrack

    // The drop-frame flag rides in the frames byte; the text keeps 0xE4 as the unit 0xFFE4.
    const std::string bytes = folder.readBytes("show.fwp");
    EXPECT_NE(bytes.find(std::string("CUED") + u32(28 + 10) + "\x44\x03\x02\x01"),
              std::string::npos);
    EXPECT_NE(bytes.find(std::string("K\0\xE4\xFF", 4)), std::string::npos);
}

TEST(ProjectFile, StoresCuesByFiringMomentAndEqualMomentsInListOrder)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    CueList& cues = data.getCueList();
    // List order is timecode order: a (frame 50), b (60), c (75), d (75). Firing moments:
    // a 50, b 50, c 25, d 75.
    cues.add(SMPTE::fromFrameNo(1, 50), CueCommand::pyro(1), 0, 0, 1, -1, "a");
    cues.add(SMPTE::fromFrameNo(1, 60), CueCommand::pyro(2), 10, 0, 1, -1, "b");
    cues.add(SMPTE::fromFrameNo(1, 75), CueCommand::pyro(3), 50, 0, 1, -1, "c");
    cues.add(SMPTE::fromFrameNo(1, 75), CueCommand::pyro(4), 0, 0, 1, -1, "d");

    RiffFileReader reader;
    ASSERT_TRUE(reader.openBytes(ProjectFile::toBytes(data)));
    std::string order;
    for (const auto& child : reader.getRoot().getChildren()) {
        if (!child->isChunk()) {
            const auto& list = static_cast<const FileIO::RiffList&>(*child);
            std::string cued;
            ASSERT_TRUE(reader.readData(*list.findChunk("CUED"), cued));
            order += cued[28];
        }
    }
    EXPECT_EQ(order, "cabd");
}

TEST(ProjectFile, ReadsTheOlderCueForms)
{
    const uint32_t dmxChannel9 = 0x01000000 | 9 << 8 | 0x80;
    const std::string bytes = handMadeFile({
        [](RiffFileWriter& w) { chunk(w, "CUED", cueData(20, 0x123)); },
        [](RiffFileWriter& w) { chunk(w, "CUED", cueData(24, 0x123)); },
        // Group name and DMX chunks belong to the newest form only.
        [](RiffFileWriter& w) {
            chunk(w, "CUED", cueData(24, 0x123));
            chunk(w, "CUEG", std::string("G\0\0\0", 4));
        },
        [&](RiffFileWriter& w) { chunk(w, "CUED", cueData(28, dmxChannel9, "x")); },
    });
    ProjectData data;
    std::wstring error;
    ASSERT_TRUE(readBytes(bytes, data, ProjectFile::Mode::OPEN, error)) << error;
    EXPECT_EQ(describe(data),
              "format 1 offset 00:00:00:00 wave 0\n"
              "\ncue 00:00:01:00 pre 2 dur 5 grp 3 qty 1 pyro 1 rem '' name '' cmd 0/291/0/0 dmx "
              "'' steps 0 chase 1/0"
              "\ncue 00:00:01:00 pre 2 dur 5 grp 3 qty 4 pyro 1 rem '' name '' cmd 0/291/0/0 dmx "
              "'' steps 0 chase 1/0"
              "\ncue 00:00:01:00 pre 2 dur 5 grp 3 qty 4 pyro 1 rem '' name '' cmd 0/291/0/0 dmx "
              "'' steps 0 chase 1/0"
              "\ncue 00:00:01:00 pre 2 dur 5 grp 3 qty 4 pyro 2 rem 'x' name '' cmd 1/9/0/128 dmx "
              "'010' steps 1 chase 1/0");
    // The made-up text is channel 10 at the command's value.
    const DmxSteps& steps = data.getCueList().last()->getCommand().getDmxSteps();
    ASSERT_EQ(steps.size(), 1u);
    ASSERT_EQ(steps[0].size(), 1u);
    EXPECT_EQ(steps[0][0].getChannel(), 10);
    EXPECT_EQ(steps[0][0].getValue(), 128);
}

TEST(ProjectFile, ReadsSafetyFromLongFixtureValues)
{
    const std::string bytes = handMadeFile({[](RiffFileWriter& w) {
        chunk(w, "CUED", cueData(28, 0x01000100));
        for (uint32_t safety : {0u, 1u}) {
            w.beginList("FIX ");
            chunk(w, "FIXD",
                  u32(safety + 3) + u32(0x1FF) + u32(2) + u32(7) + u32(99) + u32(safety));
            w.end();
        }
    }});
    ProjectData data;
    std::wstring error;
    ASSERT_TRUE(readBytes(bytes, data, ProjectFile::Mode::OPEN, error)) << error;
    const auto& values = data.getCueList().first()->getFixtureChannelValues();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_FALSE(values[0].isSafety());
    EXPECT_TRUE(values[1].isSafety());
    EXPECT_EQ(values[1].getValue(), 0xFF);  // the low byte
    EXPECT_TRUE(values[1].isDynamic());
    EXPECT_FALSE(values[1].isSlowSafety());
}

// A cue list whose 28-byte "CUED" has `value` at `offset` (prefire 4, duration 20).
std::function<void(RiffFileWriter&)> withCueValue(std::size_t offset, uint32_t value)
{
    return [=](RiffFileWriter& w) {
        std::string data = cueData(28, 1);
        data.replace(offset, 4, u32(value));
        chunk(w, "CUED", data);
    };
}

TEST(ProjectFile, RefusesDamagedFilesWithTheirErrorKey)
{
    using Fill = std::function<void(RiffFileWriter&)>;
    const Fill good = [](RiffFileWriter& w) { chunk(w, "CUED", cueData(28, 1)); };
    struct Case {
        const char* what;
        std::string bytes;
        const wchar_t* error;
    };
    const std::vector<Case> cases = {
        {"a cue list without CUED",
         handMadeFile({good, [](RiffFileWriter& w) { chunk(w, "META", ""); }}),
         L"ERROR.INVALID_FWP"},
        {"a CUED of 22 bytes",
         handMadeFile({[](RiffFileWriter& w) { chunk(w, "CUED", cueData(24, 1).substr(0, 22)); }}),
         L"ERROR.INVALID_FWP"},
        {"a FIXD of 12 bytes", handMadeFile({[](RiffFileWriter& w) {
             chunk(w, "CUED", cueData(28, 1));
             w.beginList("FIX ");
             chunk(w, "FIXD", u32(1) + u32(2) + u32(3));
             w.end();
         }}),
         L"ERROR.INVALID_FWP"},
        {"a timecode that is no BCD label", handMadeFile({[](RiffFileWriter& w) {
             chunk(w, "CUED", u32(0x00006000) + cueData(28, 1).substr(4));
         }}),
         L"ERROR.DAMAGED_FILE"},
        // A damaged number must not move a cue: the prefire and duration are checked too.
        {"a prefire of -2147483648", handMadeFile({withCueValue(4, 0x80000000)}),
         L"ERROR.DAMAGED_FILE"},
        {"a negative prefire", handMadeFile({withCueValue(4, 0xFFFFFFFF)}), L"ERROR.DAMAGED_FILE"},
        {"a prefire of a whole day", handMadeFile({withCueValue(4, 25 * 86400)}),
         L"ERROR.DAMAGED_FILE"},
        {"a negative duration", handMadeFile({withCueValue(20, 0xFFFFFFFF)}),
         L"ERROR.DAMAGED_FILE"},
        {"a duration of a whole day", handMadeFile({withCueValue(20, 25 * 86400)}),
         L"ERROR.DAMAGED_FILE"},
        {"frame-rate code 26", handMadeFile({good}, std::string("\x1A\x00", 2) + u32(0)),
         L"ERROR.INVALID_FWP"},
        {"an empty PRJD", handMadeFile({good}, std::string()), L"ERROR.INVALID_FWP"},
        {"an audio offset that is no BCD label",
         handMadeFile({good}, std::string("\x19\x01", 2) + u32(0x25000000)), L"ERROR.INVALID_FWP"},
    };
    for (const Case& c : cases) {
        ProjectData data;
        std::wstring error;
        EXPECT_FALSE(readBytes(c.bytes, data, ProjectFile::Mode::OPEN, error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_LE(data.getCueList().getCount(), 1) << c.what;  // no half-read cue
    }

    // Cut off anywhere, a file does not open: without its RIFF header it is no RIFF file,
    // with it it is damaged.
    Platform::TestFolder folder;
    ProjectData show;
    Sample::fillShow(show, 3);
    const std::string whole = ProjectFile::toBytes(show);
    for (std::size_t length :
         {std::size_t{0}, std::size_t{7}, whole.size() / 2, whole.size() - 1}) {
        folder.writeBytes("cut.fwp", whole.substr(0, length));
        ProjectData data;
        std::wstring error;
        EXPECT_FALSE(ProjectFile::load(folder.path("cut.fwp"), data, error)) << length;
        EXPECT_EQ(error,
                  length < 12 ? L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING" : L"ERROR.DAMAGED_FILE")
            << length;
    }
}

TEST(ProjectFile, APrefireAndADurationOfJustUnderADayStillOpen)
{
    const uint32_t lastFrameOfADay = 25 * 86400 - 1;
    const std::string bytes = handMadeFile({[&](RiffFileWriter& w) {
        std::string data = cueData(28, 1);
        data.replace(4, 4, u32(lastFrameOfADay));
        data.replace(20, 4, u32(lastFrameOfADay));
        chunk(w, "CUED", data);
    }});
    ProjectData data;
    std::wstring error;
    ASSERT_TRUE(readBytes(bytes, data, ProjectFile::Mode::OPEN, error)) << Platform::toUtf8(error);
    EXPECT_EQ(data.getCueList().first()->getPrefireTime(), static_cast<int>(lastFrameOfADay));
    EXPECT_EQ(data.getCueList().first()->getDuration(), static_cast<int>(lastFrameOfADay));
}

TEST(ProjectFile, KeepsStringsWithoutTerminatorAndDropsEmptyKeys)
{
    const std::string bytes = handMadeFile({[](RiffFileWriter& w) {
        chunk(w, "CUED", cueData(24, 1));
        // "" = "x" (dropped), "k" = "v", then "lone" without its value
        chunk(w, "META", Platform::utf16le(std::u16string(u"\0x\0k\0v\0lone", 11)));
    }});
    ProjectData data;
    std::wstring error;
    ASSERT_TRUE(readBytes(bytes, data, ProjectFile::Mode::OPEN, error)) << error;
    const KeyValueList& meta = data.getCueList().first()->getMetadata();
    ASSERT_EQ(meta.size(), 1);
    EXPECT_EQ(*meta.keyAt(0), L"k");
    EXPECT_EQ(*meta.valueAt(0), L"v");

    // A last value without its terminator still counts.
    const std::string open = handMadeFile({[](RiffFileWriter& w) {
        chunk(w, "CUED", cueData(24, 1));
        chunk(w, "META", Platform::utf16le(std::u16string(u"k\0value", 7)));
    }});
    ProjectData data2;
    ASSERT_TRUE(readBytes(open, data2, ProjectFile::Mode::OPEN, error)) << error;
    EXPECT_EQ(*data2.getCueList().first()->getMetadata().valueOf(L"k"), L"value");
}

TEST(ProjectFile, MergesCuesOfTheSameFormatOnly)
{
    ProjectData file;
    Sample::fillShow(file, 4, SMPTE::SMPTE_25);
    const std::string bytes = ProjectFile::toBytes(file);

    ProjectData project;
    project.setFormat(SMPTE::SMPTE_24);
    project.getMetadata().insert(-1, L"mine", L"1");
    std::wstring error;
    EXPECT_FALSE(readBytes(bytes, project, ProjectFile::Mode::MERGE, error));
    EXPECT_EQ(error, L"ERROR.TIMECODE");
    EXPECT_EQ(project.getCueList().getCount(), 0);

    project.setFormat(SMPTE::SMPTE_25);
    project.getCueList().add(SMPTE(SMPTE::SMPTE_25), CueCommand::pyro(1), 0, 0, 1, -1, "");
    ASSERT_TRUE(readBytes(bytes, project, ProjectFile::Mode::MERGE, error)) << error;
    ASSERT_TRUE(readBytes(bytes, project, ProjectFile::Mode::MERGE, error)) << error;
    const CueList& cues = project.getCueList();
    EXPECT_EQ(cues.getCount(), 9);
    std::vector<int> ids;
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        ids.push_back(cue->getId());
        if (cue != cues.first()) {
            // Only timing, command word and metadata come over.
            EXPECT_EQ(cue->getGroupName(), "");
            EXPECT_EQ(cue->getCommand().getDmxText(), "");
            EXPECT_EQ(cue->getMetadata().size(), 6);
        }
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
    ASSERT_EQ(project.getMetadata().size(), 1);  // the file's metadata is not taken
    EXPECT_EQ(project.getFormat(), SMPTE::SMPTE_25);
}

TEST(ProjectFile, AFailedSaveLeavesTheOldFileUntouched)
{
    Platform::TestFolder folder;
    ProjectData small;
    Sample::fillShow(small, 2);
    std::wstring error;
    ASSERT_TRUE(ProjectFile::save(folder.path("show.fwp"), small, error));
    const std::string old = folder.readBytes("show.fwp");

    ProjectData big;
    Sample::fillShow(big, 2000);
    // Nothing fits: not even the header. Then a full disk part-way, in the first block of
    // data and after it went to the disk.
    const std::pair<std::size_t, const wchar_t*> cases[] = {
        {0, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING"},
        {100, L"ERROR.FAILED_TO_WRITE_TO_FILE"},
        {70000, L"ERROR.FAILED_TO_WRITE_TO_FILE"},
    };
    for (const auto& [limit, key] : cases) {
        RiffFileWriter::failWritesAfterForTesting(limit);
        error.clear();
        const bool saved = ProjectFile::save(folder.path("show.fwp"), big, error);
        RiffFileWriter::failWritesAfterForTesting(std::nullopt);
        EXPECT_FALSE(saved) << limit;
        EXPECT_EQ(error, key) << limit;
        EXPECT_EQ(folder.readBytes("show.fwp"), old) << limit;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"show.fwp"}) << limit;
    }

    EXPECT_FALSE(ProjectFile::save(folder.path("missing/show.fwp"), big, error));
    EXPECT_EQ(error, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");

    ASSERT_TRUE(ProjectFile::save(folder.path("show.fwp"), big, error));
    ProjectData reopened;
    ASSERT_TRUE(ProjectFile::load(folder.path("show.fwp"), reopened, error));
    EXPECT_EQ(reopened.getCueList().getCount(), 2000);
}

TEST(ProjectFile, PutsTheSoundtrackBesideTheProject)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"/shows/new year.fwp", L"/shows/new year.wav"},
        {L"/shows/NEW.FWP", L"/shows/NEW.wav"},
        {L"/shows/show", L"/shows/show.wav"},
        {L"/shows/show.fwpx", L"/shows/show.fwpx.wav"},
        {L"fwp", L"fwp.wav"},
    };
    for (const auto& [project, audio] : cases) {
        EXPECT_EQ(ProjectFile::audioPathFor(project), audio);
    }
}

}  // namespace
}  // namespace Project
