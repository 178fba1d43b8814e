#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include "Platform/Folders.h"
#include "Platform/TestFolder.h"

namespace Platform {
namespace {

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const std::optional<std::string>& value)
    {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> old_;
};

struct UserFolderCase {
    const char* name;
    std::optional<std::string> appdata;  // relative to the test folder, as are the others
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
    std::string expected;
};

void PrintTo(const UserFolderCase& c, std::ostream* os)
{
    *os << c.name;
}

class UserDataFolder : public ::testing::TestWithParam<UserFolderCase> {};

TEST_P(UserDataFolder, IsChosenAndCreated)
{
    TestFolder folder;
    const std::string root = folder.root().string() + "/";
    const UserFolderCase& c = GetParam();
    auto under = [&root](const std::optional<std::string>& v) -> std::optional<std::string> {
        if (!v) {
            return std::nullopt;
        }
        return v->empty() || v->front() == '/' || v->front() == '.' ? *v : root + *v;
    };
    ScopedEnvironment appdata("appdata", under(c.appdata));
    ScopedEnvironment xdg("XDG_CONFIG_HOME", under(c.xdgConfigHome));
    ScopedEnvironment home("HOME", under(c.home));

    EXPECT_EQ(userDataFolder(), fromUtf8(root + c.expected));
    EXPECT_TRUE(std::filesystem::is_directory(root + c.expected));
}

INSTANTIATE_TEST_SUITE_P(Environment, UserDataFolder,
                         ::testing::Values(UserFolderCase{"appdata first", "roaming", "xdg", "home",
                                                          "roaming/Skyfirewright/"},
                                           UserFolderCase{"xdg with missing parents", std::nullopt,
                                                          "a/b/", "home", "a/b/Skyfirewright/"},
                                           UserFolderCase{"empty appdata", "", "xdg", "home",
                                                          "xdg/Skyfirewright/"},
                                           // a relative XDG_CONFIG_HOME is invalid and ignored
                                           UserFolderCase{"relative xdg", std::nullopt, "./xdg",
                                                          "home", "home/.config/Skyfirewright/"},
                                           UserFolderCase{"home only", std::nullopt, std::nullopt,
                                                          "home/", "home/.config/Skyfirewright/"}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(ProgramFolder, IsTheNearestFolderWithLocaleAboveTheExecutable)
{
    TestFolder folder;
    const std::filesystem::path root = folder.root();
    std::filesystem::create_directories(root / "tree/locale");
    std::filesystem::create_directories(root / "tree/build/bin/locale");
    std::filesystem::create_directories(root / "tree/build/tools/cli");

    // beside the executable
    EXPECT_EQ(programFolderFor(folder.path("tree/build/bin/skyfirewright")),
              folder.path("tree/build/bin") + L"/");
    // a build tree below the source tree
    EXPECT_EQ(programFolderFor(folder.path("tree/build/tools/cli/skyfirewright-cli")),
              folder.path("tree") + L"/");
}

#ifndef SKYFIREWRIGHT_DATA_DIR
TEST(ProgramFolder, IsTheInstalledDataFolderOtherwise)
{
    TestFolder folder;
    std::filesystem::create_directories(folder.root() / "usr/bin");
    // "locale" as a file is not the data folder
    folder.writeBytes("usr/locale", "");
    EXPECT_EQ(programFolderFor(folder.path("usr/bin/skyfirewright")),
              folder.path("usr/share/skyfirewright") + L"/");
}
#endif

}  // namespace
}  // namespace Platform
