#include <gtest/gtest.h>

#include <cstdlib>
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

}  // namespace
}  // namespace Project
