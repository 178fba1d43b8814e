#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "FileIO/RiffIntegrityRecord.h"
#include "Platform/TestFolder.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationOpenProject.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Project.h"

namespace Project {
namespace {

using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;

constexpr int kCues = 200;

// 200 pyro cues a second apart, each list 78 bytes: small enough that growing a list over
// all the cues after it changes only the two low bytes of its size.
std::string twoHundredCues()
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    for (int i = 0; i < kCues; ++i) {
        data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 25 * (i + 1)),
                              CueCommand::pyro(i), 0, 0, 1, -1, "");
    }
    return ProjectFile::toBytes(data);
}

uint32_t u32At(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

void setU32(std::string& bytes, std::size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

// Where the parts of a file lie: the header offset of each cue list and of the record.
struct Layout {
    std::vector<std::size_t> cues;
    std::size_t record = 0;
};

Layout layoutOf(const std::string& bytes)
{
    RiffFileReader reader;
    EXPECT_TRUE(reader.openBytes(bytes));
    Layout layout;
    for (const auto& child : reader.getRoot().getChildren()) {
        const std::size_t header = child->getDataOffset() - 8;
        if (!child->isChunk() && child->getId() == "CUE ") {
            layout.cues.push_back(header);
        } else if (child->getId() == FileIO::RiffIntegrityRecord::kId) {
            layout.record = header;
        }
    }
    return layout;
}

struct Opened {
    bool ok = false;
    std::wstring error;
    int cues = 0;
};

Opened load(const Platform::TestFolder& folder, const std::string& bytes, Salvage salvage)
{
    folder.writeBytes("show.fwp", bytes);
    ProjectData data;
    Opened opened;
    opened.ok = ProjectFile::load(folder.path("show.fwp"), data, opened.error, salvage);
    opened.cues = data.getCueList().getCount();
    return opened;
}

TEST(ProjectFileDamage, ADamagedFileIsRefusedUnlessSalvagedForWhatCouldBeRead)
{
    const std::string intact = twoHundredCues();
    const Layout at = layoutOf(intact);
    ASSERT_EQ(at.cues.size(), static_cast<std::size_t>(kCues));
    ASSERT_EQ(at.record + FileIO::RiffIntegrityRecord::kChunkSize, intact.size());

    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        const wchar_t* error;  // without salvage; empty: the file opens
        int salvaged;          // cues read with salvage
    };
    const std::vector<Case> cases = {
        {"a two-byte change of a list size: the second cue swallows the rest",
         [&](std::string& b) {
             const std::string before = b;
             setU32(b, at.cues[1] + 4, static_cast<uint32_t>(at.record - at.cues[1] - 8));
             for (std::size_t i = 0; i < b.size(); ++i) {
                 ASSERT_TRUE(b[i] == before[i] || i == at.cues[1] + 4 || i == at.cues[1] + 5);
             }
         },
         FileDamage::kKey, 2},
        {"a two-byte change of a list size: the second cue swallows the rest and the record",
         [&](std::string& b) {
             setU32(b, at.cues[1] + 4, static_cast<uint32_t>(b.size() - at.cues[1] - 8));
         },
         FileDamage::kKey, 2},
        {"the RIFF size ending on the chunk boundary after cue 100",
         [&](std::string& b) { setU32(b, 4, static_cast<uint32_t>(at.cues[100] - 8)); },
         FileDamage::kKey, 100},
        {"one flipped bit in a list id ('LIST' becomes 'MIST')",
         [&](std::string& b) { b[at.cues[49]] ^= 0x01; }, FileDamage::kKey, 199},
        {"bytes after the end of the RIFF list",
         [&](std::string& b) { b += std::string(16, '\0'); }, FileDamage::kKey, kCues},
        {"a record that does not match (one flipped bit in a cue's group)",
         [&](std::string& b) { b[at.cues[10] + 12 + 8 + 8] ^= 0x02; }, FileDamage::kKey, kCues},
        {"a list whose size does not end on its children (cue 10 two bytes longer)",
         [&](std::string& b) { setU32(b, at.cues[9] + 4, u32At(b, at.cues[9] + 4) + 2); },
         FileDamage::kKey, 10},
        {"an older file without the record opens as before",
         [&](std::string& b) {
             b.resize(at.record);
             setU32(b, 4, static_cast<uint32_t>(b.size() - 8));
         },
         L"", kCues},
    };
    Platform::TestFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = intact;
        c.damage(bytes);
        const Opened refused = load(folder, bytes, Salvage::REFUSE);
        EXPECT_EQ(refused.ok, *c.error == L'\0');
        EXPECT_EQ(refused.error, c.error);
        EXPECT_EQ(refused.cues, *c.error == L'\0' ? kCues : 0);
        const Opened salvaged = load(folder, bytes, Salvage::ALLOW);
        EXPECT_TRUE(salvaged.ok) << salvaged.error;
        EXPECT_EQ(salvaged.cues, c.salvaged);
    }
}

// Item by item beyond the limits; each of these opened before (slowly, or taking far more
// memory than the file's size).
TEST(ProjectFileDamage, RefusesFilesBeyondTheLimits)
{
    const auto file = [](const std::function<void(RiffFileWriter&)>& fill) {
        RiffFileWriter w;
        w.openInMemory();
        w.beginList("FWP ");
        w.beginChunk("PRJD");
        w.write(std::string("\x19\x00\0\0\0\0", 6));
        w.end();
        fill(w);
        w.close();
        return w.getBytes();
    };
    const auto cue = [](RiffFileWriter& w) {
        w.beginList("CUE ");
        w.beginChunk("CUED");
        w.write(std::string("\x00\x01\x00\x00", 4) + std::string(16, '\0'));
        w.end();
    };
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"metadata of 2 MiB of zeros", file([](RiffFileWriter& w) {
             w.beginChunk("META");
             w.write(std::string(2 << 20, '\0'));
             w.end();
         })},
        {"a cue with 65,537 fixture values", file([&](RiffFileWriter& w) {
             cue(w);
             for (int i = 0; i <= 65536; ++i) {
                 w.beginList("FIX ");
                 w.beginChunk("FIXD");
                 w.write(std::string(16, '\0'));
                 w.end();
                 w.end();
             }
             w.end();
         })},
        {"more cues than any show", file([&](RiffFileWriter& w) {
             for (int i = 0; i <= ProjectFile::kMaxCues; ++i) {
                 cue(w);
                 w.end();
             }
         })},
        {"more elements than any show", file([](RiffFileWriter& w) {
             for (uint64_t i = 0; i <= ProjectFile::kMaxElements; ++i) {
                 w.beginChunk("JUNK");
                 w.end();
             }
         })},
        {"a reminder text of 64 KiB and more", file([&](RiffFileWriter& w) {
             cue(w);
             w.beginChunk("CUEG");
             w.write(std::string(ProjectFile::kMaxTextChunkSize + 2, 'a'));
             w.end();
             w.end();
         })},
    };
    Platform::TestFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Opened opened = load(folder, c.bytes, Salvage::REFUSE);
        EXPECT_FALSE(opened.ok);
        EXPECT_EQ(opened.error, FileDamage::kKey);
    }
}

struct NoSoundtrack : ISoundtrack {
    bool load(const std::wstring& /*path*/) override { return false; }
    void unload() override {}
};

TEST(ProjectFileDamage, TheOpenOperationSalvagesOnlyWhenAllowedAndThenLeavesTheProjectModified)
{
    Project& project = Project::createInstance();
    NoSoundtrack soundtrack;
    ISoundtrack::setInstance(&soundtrack);
    Platform::TestFolder folder;
    std::string bytes = twoHundredCues();
    bytes += std::string(8, '\0');
    folder.writeBytes("damaged.fwp", bytes);
    folder.writeBytes("intact.fwp", twoHundredCues());

    ASSERT_TRUE(project.submit(new OperationOpenProject(folder.path("intact.fwp"))));
    EXPECT_FALSE(project.isModified());

    EXPECT_FALSE(project.submit(new OperationOpenProject(folder.path("damaged.fwp"))));
    EXPECT_EQ(project.getLastError(), FileDamage::kKey);
    EXPECT_EQ(project.getFileName(), folder.path("intact.fwp"));  // untouched

    ASSERT_TRUE(
        project.submit(new OperationOpenProject(folder.path("damaged.fwp"), Salvage::ALLOW)));
    EXPECT_EQ(project.getProjectData().getCueList().getCount(), kCues);
    EXPECT_TRUE(project.isModified());
    ISoundtrack::setInstance(nullptr);
    Project::destroyInstance();
}

}  // namespace
}  // namespace Project
