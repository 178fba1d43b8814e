#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/EffectList.h"
#include "Project/Operations/EffectFile.h"

namespace {

std::string foreign(const char* name)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "src" /
            "FileIO" / "testdata" / "foreign" / name)
        .string();
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    std::ostringstream o, e;
    const int code = Cli::dispatch(args, o, e);
    out = o.str();
    err = e.str();
    return code;
}

TEST(ImportEfxCommand, CreatesTheLibraryAndDropsDuplicates)
{
    Platform::TestFolder folder;
    const std::string library = Platform::toUtf8(folder.path("lib.fwe"));
    std::string out, err;
    ASSERT_EQ(run({"import-efx", foreign("effects-basic.efx"), library}, out, err), 0) << err;
    EXPECT_EQ(out, "added=5 total=5\n");
    ASSERT_EQ(run({"import-efx", foreign("effects-basic.efx"), library}, out, err), 0) << err;
    EXPECT_EQ(out, "added=0 total=5\n");

    Project::EffectList effects;
    std::wstring key;
    ASSERT_TRUE(Project::EffectFile::load(Platform::fromUtf8(library), effects, key));
    EXPECT_EQ(effects.getCount(), 5);
}

TEST(ImportEfxCommand, RefusesWhatIsNoEffectDatabase)
{
    Platform::TestFolder folder;
    const std::string library = Platform::toUtf8(folder.path("lib.fwe"));
    std::string out, err;
    EXPECT_EQ(run({"import-efx", foreign("not-a-database.scx"), library}, out, err), 1);
    EXPECT_EQ(err, "import-efx: ERROR.INVALID_EFX\n");
    EXPECT_FALSE(std::filesystem::exists(library));
    EXPECT_EQ(run({"import-efx", library}, out, err), 2);
}

}  // namespace
