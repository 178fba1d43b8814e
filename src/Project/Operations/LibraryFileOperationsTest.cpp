#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FileIO/RiffFileWriter.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"
#include "Project/Operations/OperationLoadFixtureListFromLocalFile.h"
#include "Project/Operations/OperationLoadNotice.h"
#include "Project/Operations/OperationStoreEffectListToLocalFile.h"
#include "Project/Operations/OperationStoreFixtureListToLocalFile.h"
#include "Project/Project.h"

namespace Project {
namespace {

struct Errors : Project::Listener {
    std::vector<std::wstring> reported;
    void errorReported(const std::wstring& text) override { reported.push_back(text); }
};

// The per-user folder lies in a test folder for the test's time ("appdata" points there),
// and load notices are recorded.
class LibraryFileOperations : public ::testing::Test {
protected:
    LibraryFileOperations() : project(Project::createInstance())
    {
        if (const char* old = std::getenv("appdata")) {
            oldAppdata = old;
        }
        ::setenv("appdata", folder.root().string().c_str(), 1);
        project.addListener(&errors);
        OperationLoadNotice::setHandler(
            [this](const std::wstring& title, const std::wstring&) { notices.push_back(title); });
    }
    ~LibraryFileOperations() override
    {
        OperationLoadNotice::setHandler(nullptr);
        if (oldAppdata) {
            ::setenv("appdata", oldAppdata->c_str(), 1);
        } else {
            ::unsetenv("appdata");
        }
        Project::destroyInstance();
    }

    ProjectData& data() { return project.getProjectData(); }
    std::wstring path(const std::string& name) const { return folder.path(name); }
    void addEffect(const std::wstring& description)
    {
        EffectTexts texts;
        texts[static_cast<std::size_t>(EffectField::DESCRIPTION)] = description;
        data().getEffectList().addEffectFromText(texts);
    }
    void addPreset(const std::wstring& description)
    {
        data().getFixtureStore().push_back(
            std::make_unique<Fixture>(description, L"", L"", 1, L"", 0));
        data().getFixtureStore().back()->addChannel(1, 255, 0, false, true, false);
        data().getFixtureList().addFixture(data().getFixtureStore().back().get());
    }
    std::vector<std::wstring> effects()
    {
        std::vector<std::wstring> all;
        for (const EffectList::EffectItem* effect : data().getEffectList()) {
            all.push_back(effect->getDescription());
        }
        return all;
    }
    std::vector<std::wstring> presets()
    {
        std::vector<std::wstring> all;
        for (const auto& fixture : data().getFixtureStore()) {
            all.push_back(fixture->getDescription());
        }
        return all;
    }

    Platform::TestFolder folder;
    std::optional<std::string> oldAppdata;
    Project& project;
    Errors errors;
    std::vector<std::wstring> notices;
};

TEST_F(LibraryFileOperations, TheDefaultEffectFileIsReplacedAndReloaded)
{
    addEffect(L"Red");
    addEffect(L"Blue");
    ASSERT_TRUE(project.submit(new OperationStoreEffectListToLocalFile()));
    EXPECT_TRUE(folder.exists("Skyfirewright/EffectFile.fwe"));

    data().getEffectList().clearEffects();
    addEffect(L"Green");
    ASSERT_TRUE(project.submit(new OperationLoadEffectListFromLocalFile()));
    EXPECT_EQ(effects(), (std::vector<std::wstring>{L"Red", L"Blue"}));
    EXPECT_TRUE(notices.empty());
    // Neither undoable nor passive: the history is gone and the project counts as changed.
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_TRUE(project.isModified());
}

TEST_F(LibraryFileOperations, AChosenEffectFileIsAddedAndAnnounced)
{
    addEffect(L"Red");
    ASSERT_TRUE(project.submit(new OperationStoreEffectListToLocalFile(path("mine.fwe"))));
    data().getEffectList().clearEffects();
    addEffect(L"Blue");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(project.submit(new OperationLoadEffectListFromLocalFile(path("mine.fwe"))));
    }
    EXPECT_EQ(effects(), (std::vector<std::wstring>{L"Blue", L"Red"}));
    EXPECT_EQ(notices, (std::vector<std::wstring>{L"MESSAGES.LOAD.EFFECTFILE.TITLE",
                                                  L"MESSAGES.LOAD.EFFECTFILE.TITLE"}));

    // A missing file loads nothing; a file of another form fails.
    ASSERT_TRUE(project.submit(new OperationLoadEffectListFromLocalFile(path("none.fwe"))));
    folder.writeBytes("presets.fwf", std::string("RIFF\x04\0\0\0FWF ", 12));
    EXPECT_FALSE(project.submit(new OperationLoadEffectListFromLocalFile(path("presets.fwf"))));
    EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.INVALID_FWP_TODO"});
    EXPECT_EQ(effects().size(), 2u);
}

TEST_F(LibraryFileOperations, PresetsGoToTheirFileAndComeBack)
{
    addPreset(L"Jet");
    addPreset(L"Strobe");
    data().getFixtureStore()[1]->setSelected(true);
    ASSERT_TRUE(project.submit(new OperationStoreFixtureListToLocalFile()));
    ASSERT_TRUE(project.submit(new OperationStoreFixtureListToLocalFile(path("sel.fwf"), true)));

    data().setCurrentFixture(data().getFixtureStore()[0].get());
    ASSERT_TRUE(project.submit(new OperationLoadFixtureListFromLocalFile()));
    EXPECT_EQ(presets(), (std::vector<std::wstring>{L"Jet", L"Strobe"}));
    EXPECT_EQ(data().getFixtureList().getCount(), 2);
    EXPECT_EQ(data().getCurrentFixture(), nullptr);
    EXPECT_TRUE(notices.empty());

    ASSERT_TRUE(project.submit(new OperationLoadFixtureListFromLocalFile(path("sel.fwf"))));
    EXPECT_EQ(presets(), (std::vector<std::wstring>{L"Jet", L"Strobe", L"Strobe"}));
    EXPECT_EQ(notices, std::vector<std::wstring>{L"MESSAGES.LOAD.PRESETFILE.TITLE"});
    data().getFixtureList().clear();
}

TEST_F(LibraryFileOperations, AFailedStoreReportsAndKeepsTheOldFile)
{
    addEffect(L"Red");
    ASSERT_TRUE(project.submit(new OperationStoreEffectListToLocalFile(path("lib.fwe"))));
    const std::string old = folder.readBytes("lib.fwe");
    addEffect(L"Blue");
    FileIO::RiffFileWriter::failWritesAfterForTesting(30);
    EXPECT_FALSE(project.submit(new OperationStoreEffectListToLocalFile(path("lib.fwe"))));
    FileIO::RiffFileWriter::failWritesAfterForTesting(8);  // not even the header
    EXPECT_FALSE(project.submit(new OperationStoreFixtureListToLocalFile(path("p.fwf"))));
    FileIO::RiffFileWriter::failWritesAfterForTesting(std::nullopt);
    EXPECT_EQ(errors.reported,
              (std::vector<std::wstring>{L"ERROR.FAILED_TO_WRITE_TO_FILE_TODO",
                                         L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO"}));
    EXPECT_EQ(folder.readBytes("lib.fwe"), old);
    EXPECT_FALSE(folder.exists("p.fwf"));
}

// A per-user file that cannot be read must not be emptied by the next store: it is set
// aside whole, the load fails with its key, and the store then writes a fresh file.
TEST_F(LibraryFileOperations, ADamagedDefaultFileIsSetAsideNotOverwritten)
{
    struct Case {
        const char* name;
        bool effects;
        std::string bytes;
        const wchar_t* error;
    };
    // A channel record of 12 bytes inside a preset.
    const std::string shortChannel =
        std::string("RIFF\x3e\0\0\0FWF LIST\x32\0\0\0PRE PRED\x06\0\0\0J\0\0\0\0\0", 38) +
        std::string("LIST\x18\0\0\0CHA CHAD\x0c\0\0\0", 20) + std::string(12, '\1');
    const std::vector<Case> cases = {
        {"effects: not a RIFF file", true, "{effects: lost}", L"ERROR.INVALID_FWP_TODO"},
        {"effects: another form", true, std::string("RIFF\x04\0\0\0FWF ", 12),
         L"ERROR.INVALID_FWP_TODO"},
        {"effects: cut off", true, std::string("RIFF\x40\0\0\0FWE EFF ", 16),
         L"ERROR.DAMAGED_FILE"},
        {"presets: cut off", false, std::string("RIFF\x40\0\0\0FWF LIST", 16),
         L"ERROR.DAMAGED_FILE"},
        {"presets: not a RIFF file", false, "garbage", L"ERROR.INVALID_FWP_TODO"},
        {"presets: another form", false, std::string("RIFF\x04\0\0\0FWE ", 12),
         L"ERROR.INVALID_FWP_TODO"},
        {"presets: short channel record", false, shortChannel, L"ERROR.INVALID_FWF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.reported.clear();
        const std::string file =
            c.effects ? "Skyfirewright/EffectFile.fwe" : "Skyfirewright/PresetFile.fwf";
        folder.writeBytes(file, c.bytes);
        addEffect(L"Kept");
        addPreset(L"Kept");
        if (c.effects) {
            EXPECT_FALSE(project.submit(new OperationLoadEffectListFromLocalFile()));
            EXPECT_TRUE(effects().empty());
        } else {
            EXPECT_FALSE(project.submit(new OperationLoadFixtureListFromLocalFile()));
        }
        EXPECT_EQ(errors.reported, std::vector<std::wstring>{c.error});
        EXPECT_FALSE(folder.exists(file));
        EXPECT_EQ(folder.readBytes(file + ".damaged"), c.bytes);

        ASSERT_TRUE(project.submit(
            c.effects ? static_cast<IOperation*>(new OperationStoreEffectListToLocalFile())
                      : new OperationStoreFixtureListToLocalFile()));
        EXPECT_TRUE(folder.exists(file));
        EXPECT_EQ(folder.readBytes(file + ".damaged"), c.bytes);
        data().getFixtureList().clear();
        data().getFixtureStore().clear();
        data().getEffectList().clearEffects();
        std::filesystem::remove(folder.root() / (file + ".damaged"));
    }

    // A missing file is no damage.
    std::filesystem::remove(folder.root() / "Skyfirewright/EffectFile.fwe");
    EXPECT_TRUE(project.submit(new OperationLoadEffectListFromLocalFile()));
    EXPECT_FALSE(folder.exists("Skyfirewright/EffectFile.fwe.damaged"));
}

}  // namespace
}  // namespace Project
