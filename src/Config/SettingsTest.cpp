#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "AssertionCapture.h"
#include "Config/KeyFile.h"
#include "Config/Settings.h"
#include "Platform/FileReplacement.h"
#include "Platform/Log.h"
#include "Platform/TestFolder.h"

namespace Config {
namespace {

// The repository's shipped files: defaults.ini and locale/ at the root.
const std::filesystem::path kRepositoryRoot =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

// A program folder with a defaults file and two languages, an empty user folder, and the
// log lines written meanwhile.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest()
    {
        program.writeBytes("defaults.ini", "locale=nl-nl\n[keys]\n00000020=1\n");
        program.writeBytes("locale/en-us.ini", "WINDOW.TITLE=Show\n");
        program.writeBytes("locale/nl-nl.ini", "\xEF\xBB\xBF[WINDOW]\nTITLE=Voorstelling\n");
        std::filesystem::create_directory(user.root());
        Platform::setLogSink([this](const std::wstring& line) { log.push_back(line); });
    }
    ~SettingsTest() override
    {
        Settings::destroy();
        Platform::setLogSink(nullptr);
        Platform::FileReplacement::failWritesAfterForTesting(std::nullopt);
    }

    KeyMap readConfig() const
    {
        KeyMap values;
        EXPECT_TRUE(KeyFile::read(user.path("config.ini"), values));
        return values;
    }

    Platform::TestFolder program;
    Platform::TestFolder user{"user"};
    std::vector<std::wstring> log;
};

TEST_F(SettingsTest, WithoutASettingsFileTheDefaultsAreReadAndWrittenAtOnce)
{
    Settings settings(program.path(), user.path());
    EXPECT_EQ(settings.getString(L"locale", L""), L"nl-nl");
    EXPECT_EQ(settings.getInt(L"keys.00000020"), 1);
    EXPECT_FALSE(settings.isModified());
    EXPECT_EQ(readConfig(), (KeyMap{{L"locale", L"nl-nl"}, {L"keys.00000020", L"1"}}));
    EXPECT_TRUE(user.readBytes("config.ini").starts_with("\xFF\xFE"));
    // the defaults' language was loaded
    EXPECT_EQ(settings.translate(L"WINDOW.TITLE"), L"Voorstelling");
}

TEST_F(SettingsTest, ASettingsFileWinsOverTheDefaults)
{
    user.writeBytes("config.ini", "recent.0=/show.fwp\n");
    const std::string before = user.readBytes("config.ini");
    Settings settings(program.path(), user.path());
    EXPECT_EQ(settings.getString(L"recent.0", L""), L"/show.fwp");
    EXPECT_EQ(settings.getString(L"locale", L"absent"), L"absent");
    EXPECT_EQ(settings.getInt(L"keys.00000020"), -1);
    // no "locale": English
    EXPECT_EQ(settings.translate(L"WINDOW.TITLE"), L"Show");
    EXPECT_EQ(user.readBytes("config.ini"), before);
}

TEST_F(SettingsTest, WithNeitherFileTheSettingsAreEmptyAndStillWritten)
{
    std::filesystem::remove(program.root() / "defaults.ini");
    Settings settings(program.path(), user.path());
    EXPECT_EQ(settings.getString(L"locale", L"none"), L"none");
    EXPECT_EQ(readConfig(), KeyMap{});
}

// A settings file that exists but cannot be read is still the user's: the defaults are used
// for this run, and the file is not replaced by them.
TEST_F(SettingsTest, AnUnreadableSettingsFileIsNotOverwritten)
{
    ASSERT_EQ(::mkfifo((user.root() / "config.ini").c_str(), 0600), 0);
    Settings settings(program.path(), user.path());
    EXPECT_EQ(settings.getString(L"locale", L""), L"nl-nl");
    EXPECT_TRUE(std::filesystem::is_fifo(user.root() / "config.ini"));
}

TEST_F(SettingsTest, AMissingLanguageShowsKeysAndWarnsOnEveryLookup)
{
    user.writeBytes("config.ini", "locale=xx-xx\n");
    Settings settings(program.path(), user.path());
    EXPECT_EQ(settings.translate(L"WINDOW.TITLE"), L"WINDOW.TITLE");
    EXPECT_EQ(settings.translate(L"WINDOW.TITLE"), L"WINDOW.TITLE");
    const std::wstring warning =
        L"Localization warning: key WINDOW.TITLE was requested but not found.";
    EXPECT_EQ(log, (std::vector<std::wstring>{warning, warning}));
}

TEST_F(SettingsTest, AKnownKeyIsTranslatedWithoutAWarning)
{
    Settings settings(program.path(), user.path());
    EXPECT_EQ(settings.translate(L"WINDOW.TITLE"), L"Voorstelling");
    EXPECT_EQ(settings.translate(L"WINDOW.MISSING"), L"WINDOW.MISSING");
    EXPECT_EQ(log, (std::vector<std::wstring>{
                       L"Localization warning: key WINDOW.MISSING was requested but not found."}));
}

TEST_F(SettingsTest, GetIntReadsTheLeadingNumber)
{
    Settings settings(program.path(), user.path());
    const std::vector<std::pair<std::wstring, int>> cases{
        {L"12abc", 12},
        {L"abc", -1},
        {L"", -1},
        {L"-5", -5},
        {L"+7", 7},
        {L"  42", 42},
        {L"- 5", -1},
        {L"0x10", 0},
        {L"99999999999", INT_MAX},
        {L"-99999999999", INT_MIN},
        {L"2147483647", INT_MAX},
        {L"\u0663", -1},
    };
    for (const auto& [text, expected] : cases) {
        settings.setString(L"n", text);
        EXPECT_EQ(settings.getInt(L"n"), expected) << "value \"" << Platform::toUtf8(text) << '"';
    }
    EXPECT_EQ(settings.getInt(L"absent"), -1);
}

TEST_F(SettingsTest, ChangesAreSavedAndReadBack)
{
    {
        Settings settings(program.path(), user.path());
        settings.setString(L"recent.0", L"/shows/nieuwjaar \u00E9.fwp");
        settings.setString(L"locale", L"en-us");
        EXPECT_TRUE(settings.isModified());
        ASSERT_TRUE(settings.save());
        EXPECT_FALSE(settings.isModified());
    }
    Settings again(program.path(), user.path());
    EXPECT_EQ(again.getString(L"recent.0", L""), L"/shows/nieuwjaar \u00E9.fwp");
    EXPECT_EQ(again.translate(L"WINDOW.TITLE"), L"Show");
    EXPECT_EQ(again.getInt(L"keys.00000020"), 1);
}

TEST_F(SettingsTest, AFailedSaveKeepsTheOldFileAndTheChange)
{
    user.writeBytes("config.ini", "locale=nl-nl\n");
    Settings settings(program.path(), user.path());
    settings.setString(L"locale", L"en-us");
    Platform::FileReplacement::failWritesAfterForTesting(5);
    EXPECT_FALSE(settings.save());
    EXPECT_TRUE(settings.isModified());
    EXPECT_EQ(user.readBytes("config.ini"), "locale=nl-nl\n");
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(SettingsTest, TheProcessWideObjectWritesChangesWhenDestroyed)
{
    EXPECT_EQ(Settings::getInstance(), nullptr);
    EXPECT_EQ(tr(L"WINDOW.TITLE"), L"WINDOW.TITLE");  // no settings: the key, no warning
    EXPECT_TRUE(log.empty());

    Settings& settings = Settings::create(program.path(), user.path());
    EXPECT_EQ(Settings::getInstance(), &settings);
    EXPECT_EQ(tr(L"WINDOW.TITLE"), L"Voorstelling");
    EXPECT_INVARIANT(Settings::create(program.path(), user.path()), "theInstance == nullptr",
                     "Settings");

    settings.setString(L"locale", L"en-us");
    Settings::destroy();
    EXPECT_EQ(Settings::getInstance(), nullptr);
    EXPECT_EQ(readConfig()[L"locale"], L"en-us");
    Settings::destroy();  // nothing left to destroy
}

TEST_F(SettingsTest, DestroyWithoutChangesLeavesTheFileAlone)
{
    user.writeBytes("config.ini", "\xEF\xBB\xBF; by hand\nlocale=nl-nl\n");
    Settings::create(program.path(), user.path());
    Settings::destroy();
    EXPECT_EQ(user.readBytes("config.ini"), "\xEF\xBB\xBF; by hand\nlocale=nl-nl\n");
}

// The files shipped with the program: defaults, and both languages with the same keys.
TEST_F(SettingsTest, TheShippedFilesLoad)
{
    const std::wstring root = Platform::fromUtf8(kRepositoryRoot.string()) + L"/";
    Settings settings(root, user.path());
    EXPECT_EQ(settings.getString(L"locale", L""), L"en-us");
    EXPECT_EQ(settings.translate(L"WINDOW.ERROR"), L"Error");

    KeyMap english, dutch;
    ASSERT_TRUE(KeyFile::read(root + L"locale/en-us.ini", english));
    ASSERT_TRUE(KeyFile::read(root + L"locale/nl-nl.ini", dutch));
    EXPECT_EQ(dutch.at(L"WINDOW.ERROR"), L"Fout");
    std::vector<std::wstring> englishKeys, dutchKeys;
    for (const auto& entry : english) {
        englishKeys.push_back(entry.first);
    }
    for (const auto& entry : dutch) {
        dutchKeys.push_back(entry.first);
    }
    EXPECT_EQ(dutchKeys, englishKeys);
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace Config
