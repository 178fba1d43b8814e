#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FileIO/RiffFileWriter.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationCombineProject.h"
#include "Project/Operations/OperationLinkWave.h"
#include "Project/Operations/OperationLoadNotice.h"
#include "Project/Operations/OperationNewProject.h"
#include "Project/Operations/OperationOpenProject.h"
#include "Project/Operations/OperationSaveCSV.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/Operations/OperationSaveQuelist.h"
#include "Project/Operations/PresetFile.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ProjectFileSample.h"
#include "Project/Project.h"

namespace Project {
namespace {

// Stands in for the audio player: loads any file that exists and is not refused.
struct FakeSoundtrack : ISoundtrack {
    std::vector<std::wstring> calls;
    std::set<std::wstring> refused;

    bool load(const std::wstring& path) override
    {
        calls.push_back(L"load " + path);
        return refused.count(path) == 0 && std::filesystem::exists(Platform::toUtf8(path));
    }
    void unload() override { calls.push_back(L"unload"); }
};

struct Errors : Project::Listener {
    std::vector<std::wstring> reported;
    void errorReported(const std::wstring& text) override { reported.push_back(text); }
};

class ProjectFileOperations : public ::testing::Test {
protected:
    ProjectFileOperations() : project(Project::createInstance())
    {
        ISoundtrack::setInstance(&soundtrack);
        project.addListener(&errors);
    }
    ~ProjectFileOperations() override
    {
        ISoundtrack::setInstance(nullptr);
        Project::destroyInstance();
    }

    ProjectData& data() { return project.getProjectData(); }
    std::wstring path(const std::string& name) const { return folder.path(name); }
    // An edit that can be undone, so that the tests can see what happens to the histories.
    void edit() { ASSERT_TRUE(project.submit(new OperationAddPyroCue(SMPTE(data().getFormat())))); }

    Platform::TestFolder folder;
    Project& project;
    FakeSoundtrack soundtrack;
    Errors errors;
};

TEST_F(ProjectFileOperations, NewProjectStartsCleanInTheChosenFormat)
{
    Sample::fillShow(data(), 3);
    edit();
    ASSERT_TRUE(project.isModified());
    ASSERT_TRUE(project.submit(new OperationNewProject(SMPTE::SMPTE_24)));
    EXPECT_EQ(data().getCueList().getCount(), 0);
    EXPECT_EQ(data().getMetadata().size(), 0);
    EXPECT_EQ(data().getFormat(), SMPTE::SMPTE_24);
    EXPECT_EQ(data().getAudioOffset().getFormat(), SMPTE::SMPTE_24);
    EXPECT_EQ(data().getAudioOffset().getFrameNo(), 0);
    EXPECT_EQ(project.getFileName(), L"FILENAME.NEW");  // no language loaded: the key
    EXPECT_TRUE(project.isUntitled());
    EXPECT_FALSE(project.isModified());
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(soundtrack.calls, std::vector<std::wstring>{L"unload"});
}

TEST_F(ProjectFileOperations, SaveKeepsTheHistoryAndOpenClearsIt)
{
    Sample::fillShow(data(), 5);
    edit();
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("show.fwp"))));
    EXPECT_FALSE(project.isModified());
    EXPECT_EQ(project.getUndoCount(), 1);  // the edit can still be undone
    EXPECT_EQ(project.getFileName(), path("show.fwp"));
    ASSERT_TRUE(project.undo());
    EXPECT_TRUE(project.isModified());

    ASSERT_TRUE(project.submit(new OperationNewProject(SMPTE::SMPTE_30)));
    ASSERT_TRUE(project.submit(new OperationOpenProject(path("show.fwp"))));
    EXPECT_EQ(data().getCueList().getCount(), 6);
    EXPECT_EQ(data().getFormat(), SMPTE::SMPTE_25);
    EXPECT_FALSE(project.isModified());
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(project.getRedoCount(), 0);
    EXPECT_EQ(project.getFileName(), path("show.fwp"));
    EXPECT_FALSE(project.isUntitled());
    EXPECT_TRUE(errors.reported.empty());
}

TEST_F(ProjectFileOperations, SavingCopiesTheSoundtrackBesideEachProjectFile)
{
    folder.writeBytes("music/track.wav", "RIFF-stand-in");
    Sample::fillShow(data(), 2);
    data().setWaveLink(true, path("music/track.wav"));

    ASSERT_TRUE(project.submit(new OperationSaveProject(path("a.fwp"))));
    EXPECT_EQ(folder.readBytes("a.wav"), "RIFF-stand-in");
    EXPECT_EQ(data().getWaveFileName(), path("a.wav"));
    EXPECT_EQ(soundtrack.calls, (std::vector<std::wstring>{L"unload", L"load " + path("a.wav")}));

    // Saved again under another name, the project takes its soundtrack along once more.
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("b.fwp"))));
    EXPECT_EQ(folder.readBytes("b.wav"), "RIFF-stand-in");
    EXPECT_EQ(data().getWaveFileName(), path("b.wav"));
    // Saved in place, nothing is copied.
    soundtrack.calls.clear();
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("b.fwp"))));
    EXPECT_TRUE(soundtrack.calls.empty());

    // Opening finds the soundtrack beside the file.
    ASSERT_TRUE(project.submit(new OperationOpenProject(path("a.fwp"))));
    EXPECT_TRUE(data().isWaveLinked());
    EXPECT_FALSE(data().isSoundtrackMissing());
    EXPECT_EQ(data().getWaveFileName(), path("a.wav"));
    EXPECT_TRUE(errors.reported.empty());
}

// A project whose soundtrack cannot be opened (gone, or refused by the player) opens with its
// cues and says so; the link and its path are kept, so that saving does not forget them. It
// used to be unlinked without a word, and the next save dropped the link for good.
TEST_F(ProjectFileOperations, AMissingSoundtrackIsReportedAndItsLinkKept)
{
    std::vector<std::pair<std::wstring, std::wstring>> notices;
    const OperationLoadNotice::Handler previous = OperationLoadNotice::setHandler(
        [&](const std::wstring& title, const std::wstring& message) {
            notices.emplace_back(title, message);
        });
    folder.writeBytes("music/track.wav", "RIFF-stand-in");
    Sample::fillShow(data(), 4);
    data().setWaveLink(true, path("music/track.wav"));
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("a.fwp"))));
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("b.fwp"))));
    soundtrack.refused.insert(path("a.wav"));                  // a file the player cannot read
    std::filesystem::remove(Platform::toUtf8(path("b.wav")));  // a file that is gone

    for (const char* name : {"a", "b"}) {
        SCOPED_TRACE(name);
        const std::string project_ = std::string(name) + ".fwp";
        const std::wstring audio = path(std::string(name) + ".wav");
        notices.clear();
        ASSERT_TRUE(project.submit(new OperationOpenProject(path(project_))));
        EXPECT_EQ(data().getCueList().getCount(), 4);
        EXPECT_TRUE(data().isWaveLinked());
        EXPECT_TRUE(data().isSoundtrackMissing());
        EXPECT_EQ(data().getWaveFileName(), audio);
        EXPECT_EQ(
            notices,
            (std::vector<std::pair<std::wstring, std::wstring>>{
                {L"MESSAGES.SOUNDTRACK_MISSING.TITLE", L"MESSAGES.SOUNDTRACK_MISSING.MESSAGE"}}));
        EXPECT_TRUE(errors.reported.empty());

        // Saved in place and under another name, the link stays (nothing to copy).
        ASSERT_TRUE(project.submit(new OperationSaveProject(path(project_))));
        ASSERT_TRUE(project.submit(new OperationSaveProject(path("c.fwp"))));
        EXPECT_EQ(data().getWaveFileName(), audio);
        for (const char* saved : {project_.c_str(), "c.fwp"}) {
            ProjectData reread;
            std::wstring error;
            ASSERT_TRUE(ProjectFile::load(path(saved), reread, error));
            EXPECT_TRUE(reread.isWaveLinked()) << saved;
        }
    }
    // Linking another soundtrack and undoing it gives the missing link back as it was.
    ASSERT_TRUE(project.submit(new OperationLinkWave(path("music/track.wav"))));
    EXPECT_FALSE(data().isSoundtrackMissing());
    ASSERT_TRUE(project.undo());
    EXPECT_TRUE(data().isWaveLinked());
    EXPECT_TRUE(data().isSoundtrackMissing());
    EXPECT_EQ(data().getWaveFileName(), path("b.wav"));
    OperationLoadNotice::setHandler(previous);
}

TEST_F(ProjectFileOperations, AFailedSaveKeepsTheOldFileAndTheName)
{
    Sample::fillShow(data(), 3);
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("show.fwp"))));
    const std::string old = folder.readBytes("show.fwp");
    Sample::fillShow(data(), 500);
    edit();

    FileIO::RiffFileWriter::failWritesAfterForTesting(5000);
    const bool saved = project.submit(new OperationSaveProject(path("other.fwp")));
    FileIO::RiffFileWriter::failWritesAfterForTesting(std::nullopt);
    EXPECT_FALSE(saved);
    EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.FAILED_TO_WRITE_TO_FILE"});
    EXPECT_EQ(project.getFileName(), path("show.fwp"));
    EXPECT_TRUE(project.isModified());
    EXPECT_EQ(folder.names(), std::vector<std::string>{"show.fwp"});

    // A soundtrack that cannot be copied fails the save before anything is replaced.
    data().setWaveLink(true, path("gone.wav"));
    EXPECT_FALSE(project.submit(new OperationSaveProject(path("show.fwp"))));
    EXPECT_EQ(errors.reported.back(), L"ERROR.FAILED_TO_COPY_WAVE");
    EXPECT_EQ(folder.readBytes("show.fwp"), old);

    EXPECT_FALSE(project.submit(new OperationSaveProject(path("no/show.fwp"))));
    EXPECT_EQ(errors.reported.back(), L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"show.fwp"});
}

TEST_F(ProjectFileOperations, OpeningAFileThatIsNoProjectLeavesTheProjectAlone)
{
    Sample::fillShow(data(), 2);
    project.setFileName(path("mine.fwp"), false);
    folder.writeBytes("text.fwp", "not a RIFF file");
    folder.writeBytes("effects.fwe", std::string("RIFF\x04\0\0\0FWE ", 12));
    EXPECT_FALSE(project.submit(new OperationOpenProject(path("text.fwp"))));
    EXPECT_FALSE(project.submit(new OperationOpenProject(path("effects.fwe"))));
    EXPECT_FALSE(project.submit(new OperationOpenProject(path("missing.fwp"))));
    EXPECT_EQ(errors.reported, (std::vector<std::wstring>{
                                   L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING", L"ERROR.INVALID_FWP",
                                   L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING"}));
    EXPECT_EQ(data().getCueList().getCount(), 2);
    EXPECT_EQ(project.getFileName(), path("mine.fwp"));
    EXPECT_TRUE(soundtrack.calls.empty());

    // A project file damaged in its second cue: the project is cleared, named after the
    // file and holds the first cue.
    FileIO::RiffFileWriter w;
    w.openInMemory();
    w.beginList("FWP ");
    w.beginChunk("PRJD");
    w.write(std::string("\x18\x00\0\0\0\0", 6));
    w.end();
    w.beginList("CUE ");
    w.beginChunk("CUED");
    w.write(std::string(20, '\0'));
    w.end();
    w.end();
    w.beginList("CUE ");
    w.end();
    w.close();
    folder.writeBytes("damaged.fwp", w.getBytes());
    EXPECT_FALSE(project.submit(new OperationOpenProject(path("damaged.fwp"))));
    EXPECT_EQ(errors.reported.back(), L"ERROR.INVALID_FWP");
    EXPECT_EQ(data().getCueList().getCount(), 1);
    EXPECT_EQ(data().getFormat(), SMPTE::SMPTE_24);
    EXPECT_EQ(project.getFileName(), path("damaged.fwp"));
}

TEST_F(ProjectFileOperations, CombiningMergesFileAfterFileUntilOneFails)
{
    ProjectData other;
    Sample::fillShow(other, 3, SMPTE::SMPTE_25);
    std::wstring error;
    ASSERT_TRUE(ProjectFile::save(path("25.fwp"), other, error));
    ProjectData film;
    Sample::fillShow(film, 2, SMPTE::SMPTE_24);
    ASSERT_TRUE(ProjectFile::save(path("24.fwp"), film, error));

    data().setFormat(SMPTE::SMPTE_25);
    edit();
    EXPECT_FALSE(project.submit(
        new OperationCombineProject({path("25.fwp"), path("24.fwp"), path("25.fwp")})));
    EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.TIMECODE"});
    EXPECT_EQ(data().getCueList().getCount(), 4);  // the first file's cues stay
    EXPECT_EQ(project.getUndoCount(), 1);          // a failure leaves the history alone

    ASSERT_TRUE(project.submit(new OperationCombineProject({path("25.fwp"), path("25.fwp")})));
    EXPECT_EQ(data().getCueList().getCount(), 10);
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_FALSE(project.isModified());
}

TEST_F(ProjectFileOperations, ExportsRunBesideTheHistory)
{
    Sample::fillShow(data(), 4);
    edit();
    const ShowFile::Options fixed{[] { return 7; }, 1000};
    ASSERT_TRUE(project.submit(new OperationSaveCSV(path("cues.csv"))));
    ASSERT_TRUE(project.submit(new OperationSaveQuelist(path("show.fws"), fixed)));
    EXPECT_EQ(folder.readBytes("show.fws"), ShowFile::build(data(), fixed));
    EXPECT_EQ(folder.readBytes("cues.csv"),
              CsvExport::build(data(), CsvExport::defaultTranslate()));
    EXPECT_EQ(project.getUndoCount(), 1);
    // An export is no saved project: edit, export, quit must still offer to save the edit.
    EXPECT_TRUE(project.isModified());
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("show.fwp"))));
    EXPECT_FALSE(project.isModified());
    ASSERT_TRUE(project.submit(new OperationSaveCSV(path("cues.csv"))));
    EXPECT_FALSE(project.isModified());

    // Show mode does not stop an export.
    project.setShowMode(true);
    EXPECT_TRUE(project.submit(new OperationSaveQuelist(path("show2.fws"))));
    project.setShowMode(false);
    EXPECT_TRUE(folder.exists("show2.fws"));

    EXPECT_FALSE(project.submit(new OperationSaveCSV(path("no/cues.csv"))));
    EXPECT_FALSE(project.submit(new OperationSaveQuelist(path("no/show.fws"))));
    EXPECT_EQ(errors.reported,
              (std::vector<std::wstring>{L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING",
                                         L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING"}));
}

TEST_F(ProjectFileOperations, EachSaveKeepsTheFileItReplacesAsBak)
{
    Sample::fillShow(data(), 2);
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("show.fwp"))));
    const std::string first = folder.readBytes("show.fwp");
    EXPECT_FALSE(folder.exists("show.fwp.bak"));
    edit();
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("show.fwp"))));
    const std::string second = folder.readBytes("show.fwp");
    EXPECT_EQ(folder.readBytes("show.fwp.bak"), first);
    edit();
    ASSERT_TRUE(project.submit(new OperationSaveProject(path("show.fwp"))));
    EXPECT_EQ(folder.readBytes("show.fwp.bak"), second);  // one generation
    ASSERT_TRUE(project.submit(new OperationOpenProject(path("show.fwp.bak"))));
    EXPECT_EQ(data().getCueList().getCount(), 3);

    // The library files keep theirs too; the exports, made again from the project at any
    // time, keep none.
    std::wstring error;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(EffectFile::save(path("effects.fwe"), data().getEffectList(), error));
        ASSERT_TRUE(PresetFile::save(path("presets.fwf"), data().getFixtureStore(),
                                     data().getFixtureList(), false, error));
        ASSERT_TRUE(project.submit(new OperationSaveCSV(path("cues.csv"))));
        ASSERT_TRUE(project.submit(new OperationSaveQuelist(path("show.fws"))));
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{
                                  "cues.csv", "effects.fwe", "effects.fwe.bak", "presets.fwf",
                                  "presets.fwf.bak", "show.fwp", "show.fwp.bak", "show.fws"}));
}

}  // namespace
}  // namespace Project
