#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Platform/FileReplacement.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"

namespace Platform {
namespace {

using Failure = FileReplacement::Failure;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr std::size_t kMiB = 1 << 20;

// Bytes whose value depends on their position, so a lost, doubled or misplaced block shows.
std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

class WriteLimit {
public:
    explicit WriteLimit(std::optional<std::size_t> bytes)
    {
        FileReplacement::failWritesAfterForTesting(bytes);
    }
    ~WriteLimit() { FileReplacement::failWritesAfterForTesting(std::nullopt); }
    WriteLimit(const WriteLimit&) = delete;
    WriteLimit& operator=(const WriteLimit&) = delete;
};

enum class Way { REPLACE_WITH, COPY_FILE };

// Puts `bytes` in the place of `target` the given way; a copy reads them from "source".
bool replace(const TestFolder& folder, Way way, const std::string& target, const std::string& bytes,
             Failure& failure)
{
    if (way == Way::COPY_FILE) {
        folder.writeBytes("source", bytes);
        return FileReplacement::copyFile(folder.path("source"), folder.path(target));
    }
    return FileReplacement::replaceWith(folder.path(target), bytes, failure);
}

// What a failed replacement must leave: the old target and the source of a copy, no more.
Names leftAfter(Way way, const std::string& target)
{
    return way == Way::COPY_FILE ? Names{"source", target} : Names{target};
}

struct LimitCase {
    const char* name;
    Way way;
    std::size_t size;
    std::optional<std::size_t> limit;
    bool fits;
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

class FileReplacementLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(FileReplacementLimit, ReplacesCompletelyOrNotAtAll)
{
    const LimitCase& c = GetParam();
    TestFolder folder;
    folder.writeBytes("target", "old");
    const std::string bytes = pattern(c.size);

    Failure failure = Failure::NONE;
    bool replaced = false;
    {
        const WriteLimit limit(c.limit);
        replaced = replace(folder, c.way, "target", bytes, failure);
    }
    EXPECT_EQ(replaced, c.fits);
    const std::string result = folder.readBytes("target");
    EXPECT_TRUE(result == (c.fits ? bytes : "old")) << result.size() << " bytes";
    if (c.way == Way::REPLACE_WITH) {
        EXPECT_EQ(failure, c.fits ? Failure::NONE : Failure::WRITE);
    }
    EXPECT_EQ(folder.names(), leftAfter(c.way, "target"));  // no temporary file left
}

// A full disk before the first byte, after one, midway and one byte short; the limit counts
// the bytes of the whole file, not those of one block of a copy.
INSTANTIATE_TEST_SUITE_P(
    FullDisk, FileReplacementLimit,
    ::testing::Values(
        LimitCase{"write nothing fits", Way::REPLACE_WITH, 28, 0, false},
        LimitCase{"write first byte", Way::REPLACE_WITH, 28, 1, false},
        LimitCase{"write midway", Way::REPLACE_WITH, 28, 14, false},
        LimitCase{"write one short", Way::REPLACE_WITH, 28, 27, false},
        LimitCase{"write exactly fits", Way::REPLACE_WITH, 28, 28, true},
        LimitCase{"write empty", Way::REPLACE_WITH, 0, 0, true},
        LimitCase{"copy nothing fits", Way::COPY_FILE, 28, 0, false},
        LimitCase{"copy one short", Way::COPY_FILE, 28, 27, false},
        LimitCase{"copy exactly fits", Way::COPY_FILE, 28, 28, true},
        LimitCase{"copy empty", Way::COPY_FILE, 0, std::nullopt, true},
        LimitCase{"copy full in second block", Way::COPY_FILE, 2 * kMiB + 3, kMiB + 1, false},
        LimitCase{"copy of three blocks", Way::COPY_FILE, 2 * kMiB + 3, std::nullopt, true}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(FileReplacement, ATargetThatCannotBePlacedFails)
{
    for (Way way : {Way::REPLACE_WITH, Way::COPY_FILE}) {
        SCOPED_TRACE(way == Way::COPY_FILE ? "copy" : "write");
        TestFolder folder(way == Way::COPY_FILE ? "copy" : "write");
        Failure failure = Failure::NONE;
        EXPECT_FALSE(replace(folder, way, "missing/target", "new", failure));
        if (way == Way::REPLACE_WITH) {
            EXPECT_EQ(failure, Failure::CREATE);
        }

        // A folder in the target's place cannot be replaced by a file.
        fs::create_directory(folder.root() / "target");
        failure = Failure::NONE;
        EXPECT_FALSE(replace(folder, way, "target", "new", failure));
        if (way == Way::REPLACE_WITH) {
            EXPECT_EQ(failure, Failure::WRITE);
        }
        EXPECT_TRUE(fs::is_directory(folder.root() / "target"));
        EXPECT_EQ(folder.names(), leftAfter(way, "target"));
    }
}

TEST(FileReplacement, CopiesOnlyARegularFile)
{
    TestFolder folder;
    folder.writeBytes("target", "old");
    fs::create_directory(folder.root() / "folder");
    // A FIFO must neither block the copy nor be copied.
    ASSERT_EQ(::mkfifo((folder.root() / "fifo").c_str(), 0600), 0);
    for (const char* source : {"missing", "folder", "fifo"}) {
        EXPECT_FALSE(FileReplacement::copyFile(folder.path(source), folder.path("target")))
            << source;
        EXPECT_EQ(folder.readBytes("target"), "old") << source;
    }
    EXPECT_EQ(folder.names(), (Names{"fifo", "folder", "target"}));
}

TEST(FileReplacement, TheNewFileKeepsTheOldOnesPermissions)
{
    // Read-only is kept too: the folder, not the file, decides whether it may be replaced.
    for (const fs::perms perms : {fs::perms::owner_read | fs::perms::owner_write,
                                  fs::perms::owner_read | fs::perms::group_read}) {
        for (Way way : {Way::REPLACE_WITH, Way::COPY_FILE}) {
            TestFolder folder;
            folder.writeBytes("target", "old");
            fs::permissions(folder.root() / "target", perms);
            Failure failure = Failure::NONE;
            ASSERT_TRUE(replace(folder, way, "target", "new", failure));
            EXPECT_EQ(folder.readBytes("target"), "new");
            EXPECT_EQ(fs::status(folder.root() / "target").permissions(), perms);
        }
    }
}

// The way the RIFF writer uses it: it writes to the descriptor of the temporary file.
TEST(FileReplacement, CommitsAFileWrittenToItsDescriptor)
{
    TestFolder folder;
    folder.writeBytes("show.fwp", "old");
    const auto writeTemporary = [](FileReplacement& replacement, const std::string& bytes) {
        const int fd = replacement.open();
        ASSERT_GE(fd, 0);
        EXPECT_EQ(replacement.open(), fd);  // one file per replacement
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    };
    {
        FileReplacement replacement(folder.path("show.fwp"));
        FileReplacement other(folder.path("show.fwp"));
        EXPECT_EQ(replacement.getTarget(), folder.path("show.fwp"));
        EXPECT_TRUE(replacement.getTemporaryPath().empty());  // nothing made before open()

        writeTemporary(replacement, "new");
        writeTemporary(other, "abandoned");
        EXPECT_NE(replacement.getTemporaryPath(), other.getTemporaryPath());
        EXPECT_EQ(fs::path(toUtf8(replacement.getTemporaryPath())).parent_path(), folder.root());
        EXPECT_EQ(folder.readBytes("show.fwp"), "old");  // nothing changes before the commit
        EXPECT_TRUE(replacement.commit());
        EXPECT_EQ(folder.readBytes("show.fwp"), "new");
    }
    // The replacement that was never committed took its temporary file with it.
    EXPECT_EQ(folder.names(), Names{"show.fwp"});

    {
        FileReplacement replacement(folder.path("show.fwp"));
        writeTemporary(replacement, "discarded");
        replacement.discard();
        EXPECT_EQ(folder.names(), Names{"show.fwp"});
        EXPECT_FALSE(replacement.commit());  // nothing left to put in place
    }
    EXPECT_EQ(folder.readBytes("show.fwp"), "new");
    EXPECT_EQ(folder.names(), Names{"show.fwp"});
}

TEST(FileReplacement, AWrittenReplacementWaitsForItsCommit)
{
    TestFolder folder;
    folder.writeBytes("config.ini", "old");
    {
        FileReplacement replacement(folder.path("config.ini"));
        Failure failure = Failure::NONE;
        ASSERT_TRUE(replacement.write("new", failure));
        EXPECT_EQ(folder.names().size(), 2u);
        EXPECT_EQ(folder.readBytes("config.ini"), "old");
    }
    EXPECT_EQ(folder.readBytes("config.ini"), "old");
    EXPECT_EQ(folder.names(), Names{"config.ini"});
}

// A link planted at a temporary name must neither be written through nor have the file it
// names change its mode. The names this program once used (NAME.tmp.PID.N) are planted, and
// the temporary file must be a fresh file of its own under a name no one can know in advance.
TEST(FileReplacement, TheTemporaryFileIsMadeAfreshUnderAnUnguessableName)
{
    TestFolder folder;
    folder.writeBytes("show.fwp", "old");
    folder.writeBytes("victim", "precious");
    fs::permissions(folder.root() / "victim", fs::perms::owner_read | fs::perms::owner_write);
    const std::string pid = std::to_string(::getpid());
    for (int counter = 0; counter < 1000; ++counter) {
        fs::create_symlink(folder.root() / "victim",
                           folder.root() / ("show.fwp.tmp." + pid + "." + std::to_string(counter)));
    }
    for (Way way : {Way::REPLACE_WITH, Way::COPY_FILE}) {
        Failure failure = Failure::NONE;
        ASSERT_TRUE(replace(folder, way, "show.fwp", "new", failure));
        EXPECT_EQ(folder.readBytes("show.fwp"), "new");
        EXPECT_FALSE(fs::is_symlink(folder.root() / "show.fwp"));
    }
    EXPECT_EQ(folder.readBytes("victim"), "precious");
    EXPECT_EQ(fs::status(folder.root() / "victim").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // Hidden, ending in no extension the program opens, and random.
    FileReplacement first(folder.path("show.fwp"));
    FileReplacement second(folder.path("show.fwp"));
    ASSERT_GE(first.open(), 0);
    ASSERT_GE(second.open(), 0);
    const std::regex shape(R"(\.show\.fwp\.[0-9a-f]{16}\.tmp)");
    const std::string name = fs::path(toUtf8(first.getTemporaryPath())).filename().string();
    EXPECT_TRUE(std::regex_match(name, shape)) << name;
    EXPECT_NE(name.substr(10, 16),
              fs::path(toUtf8(second.getTemporaryPath())).filename().string().substr(10, 16));
}

TEST(FileReplacement, SavingThroughASymbolicLinkReplacesTheFileItNames)
{
    TestFolder folder;
    folder.writeBytes("shows/real.fwp", "old");
    fs::permissions(folder.root() / "shows/real.fwp",
                    fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("shows/real.fwp", folder.root() / "link.fwp");  // relative
    fs::create_symlink(folder.root() / "link.fwp", folder.root() / "chain.fwp");
    for (Way way : {Way::REPLACE_WITH, Way::COPY_FILE}) {
        for (const char* through : {"link.fwp", "chain.fwp"}) {
            const std::string bytes = std::string(through) + (way == Way::COPY_FILE ? " copy" : "");
            Failure failure = Failure::NONE;
            ASSERT_TRUE(replace(folder, way, through, bytes, failure)) << through;
            EXPECT_EQ(folder.readBytes("shows/real.fwp"), bytes);
            EXPECT_TRUE(fs::is_symlink(folder.root() / "link.fwp"));
            EXPECT_TRUE(fs::is_symlink(folder.root() / "chain.fwp"));
            EXPECT_EQ(fs::status(folder.root() / "shows/real.fwp").permissions(),
                      fs::perms::owner_read | fs::perms::owner_write);
        }
    }
    EXPECT_EQ(folder.names("shows"), Names{"real.fwp"});

    // A dangling link gets the file it names; a loop of links cannot be saved through.
    fs::create_symlink("shows/new.fwp", folder.root() / "dangling.fwp");
    Failure failure = Failure::NONE;
    EXPECT_TRUE(FileReplacement::replaceWith(folder.path("dangling.fwp"), "first", failure));
    EXPECT_EQ(folder.readBytes("shows/new.fwp"), "first");
    EXPECT_TRUE(fs::is_symlink(folder.root() / "dangling.fwp"));
    fs::create_symlink("loop-b", folder.root() / "loop-a");
    fs::create_symlink("loop-a", folder.root() / "loop-b");
    EXPECT_FALSE(FileReplacement::replaceWith(folder.path("loop-a"), "x", failure));
    EXPECT_EQ(failure, Failure::CREATE);
    EXPECT_TRUE(fs::is_symlink(folder.root() / "loop-a"));
}

TEST(FileReplacement, KeepsThePreviousVersionAsBakWhenAsked)
{
    using Backup = FileReplacement::Backup;
    for (Way way : {Way::REPLACE_WITH, Way::COPY_FILE}) {
        TestFolder folder(way == Way::COPY_FILE ? "copy" : "write");
        const auto save = [&](const std::string& bytes) {
            if (way == Way::COPY_FILE) {
                folder.writeBytes("source", bytes);
                return FileReplacement::copyFile(folder.path("source"), folder.path("show.fwp"),
                                                 Backup::KEEP_PREVIOUS);
            }
            Failure failure = Failure::NONE;
            return FileReplacement::replaceWith(folder.path("show.fwp"), bytes, failure,
                                                Backup::KEEP_PREVIOUS);
        };
        ASSERT_TRUE(save("first"));
        EXPECT_FALSE(folder.exists("show.fwp.bak"));  // nothing was replaced
        fs::permissions(folder.root() / "show.fwp", fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_TRUE(save("second"));
        EXPECT_EQ(folder.readBytes("show.fwp.bak"), "first");
        EXPECT_EQ(fs::status(folder.root() / "show.fwp.bak").permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_TRUE(save("third"));
        EXPECT_EQ(folder.readBytes("show.fwp"), "third");
        EXPECT_EQ(folder.readBytes("show.fwp.bak"), "second");  // one generation

        // A link planted as the backup is replaced, never written through.
        folder.writeBytes("victim", "precious");
        fs::remove(folder.root() / "show.fwp.bak");
        fs::create_symlink(folder.root() / "victim", folder.root() / "show.fwp.bak");
        ASSERT_TRUE(save("fourth"));
        EXPECT_EQ(folder.readBytes("victim"), "precious");
        EXPECT_FALSE(fs::is_symlink(folder.root() / "show.fwp.bak"));
        EXPECT_EQ(folder.readBytes("show.fwp.bak"), "third");
        fs::remove(folder.root() / "victim");

        // A backup that cannot be placed does not stop the save.
        fs::remove(folder.root() / "show.fwp.bak");
        fs::create_directory(folder.root() / "show.fwp.bak");
        folder.writeBytes("show.fwp.bak/keep", "");
        ASSERT_TRUE(save("fifth"));
        EXPECT_EQ(folder.readBytes("show.fwp"), "fifth");
        Names left = leftAfter(way, "show.fwp");
        left.push_back("show.fwp.bak");
        std::sort(left.begin(), left.end());
        EXPECT_EQ(folder.names(), left);
    }

    // Without asking, no backup.
    TestFolder folder;
    Failure failure = Failure::NONE;
    ASSERT_TRUE(FileReplacement::replaceWith(folder.path("cues.csv"), "one", failure));
    ASSERT_TRUE(FileReplacement::replaceWith(folder.path("cues.csv"), "two", failure));
    EXPECT_EQ(folder.names(), Names{"cues.csv"});
}

}  // namespace
}  // namespace Platform
