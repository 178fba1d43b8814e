#include <gtest/gtest.h>

#include <string>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"
#include "Project/Operations/ShowFile.h"

namespace {

using CliTest::run;

TEST(ExportFwsCommand, TheSeedAndTheTimeMakeTheFileReproducible)
{
    Platform::TestFolder folder;
    const std::string project = (folder.root() / "p.fwp").string();
    const std::string ops = (folder.root() / "ops.txt").string();
    CliTest::writeFile(ops, "add-pyro 1:00\nset-value 2 0x105\nadd-pyro 2:00\n");
    ASSERT_EQ(run({"new", "--format", "25", project}).code, 0);
    ASSERT_EQ(run({"edit", project, "--ops", ops, "--out", project}).code, 0);

    const auto exported = [&](const std::string& name, const std::string& seed,
                              const std::string& time) {
        const std::string path = (folder.root() / name).string();
        const CliTest::Run r = run({"export-fws", project, path, "--seed", seed, "--time", time});
        EXPECT_EQ(r.code, 0) << r.err;
        return CliTest::readFile(path);
    };
    const std::string first = exported("a.fws", "7", "1700000000");
    ASSERT_GT(first.size(), 16u);
    EXPECT_EQ(exported("b.fws", "7", "1700000000"), first);
    EXPECT_NE(exported("c.fws", "8", "1700000000"), first);
    const std::string later = exported("d.fws", "7", "0x65536000");
    EXPECT_NE(later, first);

    // The trailer carries the export time (1700000000 = 0x6553F100).
    std::string plain;
    ASSERT_TRUE(Project::ShowFile::decipherTrailer(first.substr(first.size() - 16), plain));
    EXPECT_NE(plain.find(std::string("\x65\x53\xF1\x00", 4)), std::string::npos);
    ASSERT_TRUE(Project::ShowFile::decipherTrailer(later.substr(later.size() - 16), plain));
    EXPECT_NE(plain.find(std::string("\x65\x53\x60\x00", 4)), std::string::npos);
}

TEST(ExportFwsCommand, RefusesBadUseAndReportsFailures)
{
    Platform::TestFolder folder;
    const std::string project = (folder.root() / "p.fwp").string();
    ASSERT_EQ(run({"new", "--format", "30df", project}).code, 0);
    EXPECT_EQ(run({"export-fws", project}).code, 2);
    EXPECT_EQ(run({"export-fws", project, "a.fws", "--seed", "-1"}).code, 2);
    EXPECT_EQ(run({"export-fws", project, "a.fws", "--time"}).code, 2);
    const CliTest::Run r =
        run({"export-fws", project, (folder.root() / "missing" / "a.fws").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "skyfirewright-cli export-fws: ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING\n");
}

}  // namespace
