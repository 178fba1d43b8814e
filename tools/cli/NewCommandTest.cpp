#include <gtest/gtest.h>

#include <string>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"

namespace {

using CliTest::run;

TEST(NewCommand, WritesAnEmptyProjectInEachFormat)
{
    Platform::TestFolder folder;
    const struct {
        const char* name;
        const char* format;
        const char* offset;
    } cases[] = {{"24", "0", "00:00:00:00"},
                 {"25", "1", "00:00:00:00"},
                 {"30df", "2", "00;00;00;00"},
                 {"30", "3", "00:00:00:00"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (folder.root() / (std::string(c.name) + ".fwp")).string();
        const CliTest::Run made = run({"new", "--format", c.name, path});
        ASSERT_EQ(made.code, 0) << made.err;
        EXPECT_EQ(made.out + made.err, "");
        const CliTest::Run info = run({"info", path});
        ASSERT_EQ(info.code, 0) << info.err;
        EXPECT_EQ(info.out, std::string("{\"format\":") + c.format + ",\"audioOffset\":\"" +
                                c.offset +
                                "\",\"waveLinked\":false,\"metadata\":[],\"cues\":[]}\n");
    }
}

TEST(NewCommand, RefusesBadUseAndReportsAFileThatCannotBeWritten)
{
    Platform::TestFolder folder;
    const std::string path = (folder.root() / "a.fwp").string();
    EXPECT_EQ(run({"new", path}).code, 2);
    EXPECT_EQ(run({"new", "--format", "29", path}).code, 2);
    EXPECT_EQ(run({"new", "--format", "25"}).code, 2);
    EXPECT_EQ(run({"new", "--format", "25", path, "b.fwp"}).code, 2);
    EXPECT_FALSE(std::filesystem::exists(path));

    const CliTest::Run r =
        run({"new", "--format", "25", (folder.root() / "missing" / "a.fwp").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "skyfirewright-cli new: ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING\n");
}

}  // namespace
