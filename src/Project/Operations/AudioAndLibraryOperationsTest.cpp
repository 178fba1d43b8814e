#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Project/Effect.h"
#include "Project/Fixture.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationApplyEffect.h"
#include "Project/Operations/OperationLinkWave.h"
#include "Project/Operations/OperationPatchFixtures.h"
#include "Project/Operations/OperationSetAudioOffset.h"
#include "Project/Operations/OperationTestSupport.h"

namespace Project {
namespace {

// Loads only the files it knows; records every call.
class FakeSoundtrack : public ISoundtrack {
public:
    FakeSoundtrack() { ISoundtrack::setInstance(this); }
    ~FakeSoundtrack() override { ISoundtrack::setInstance(nullptr); }

    bool load(const std::wstring& path) override
    {
        calls.push_back(L"load " + path);
        return path.find(L"good") != std::wstring::npos;
    }
    void unload() override { calls.push_back(L"unload"); }

    std::vector<std::wstring> calls;
};

using Calls = std::vector<std::wstring>;

class SoundtrackOperations : public OperationTest {
protected:
    std::wstring link() const
    {
        const ProjectData& data = project.getProjectData();
        return (data.isWaveLinked() ? L"linked " : L"unlinked ") + data.getWaveFileName();
    }

    FakeSoundtrack soundtrack;
};

TEST_F(SoundtrackOperations, LinkingAndItsUndoLoadTheFiles)
{
    ASSERT_TRUE(project.submit(std::make_unique<OperationLinkWave>(L"/show/good1.wav")));
    ASSERT_TRUE(project.submit(std::make_unique<OperationLinkWave>(L"/show/good2.wav")));
    EXPECT_EQ(link(), L"linked /show/good2.wav");
    project.undo();
    EXPECT_EQ(link(), L"linked /show/good1.wav");
    project.undo();
    EXPECT_EQ(link(), L"unlinked ");
    project.redo();
    EXPECT_EQ(soundtrack.calls,
              (Calls{L"load /show/good1.wav", L"load /show/good2.wav", L"load /show/good1.wav",
                     L"unload", L"load /show/good1.wav"}));
}

TEST_F(SoundtrackOperations, AFileThatCannotBeLoadedKeepsThePreviousLink)
{
    ASSERT_TRUE(project.submit(std::make_unique<OperationLinkWave>(L"/show/good.wav")));
    EXPECT_FALSE(project.submit(std::make_unique<OperationLinkWave>(L"/show/broken.wav")));
    EXPECT_EQ(project.getLastError(), L"ERROR.FAILED_TO_OPEN_WAVE");
    EXPECT_EQ(link(), L"linked /show/good.wav");
    EXPECT_EQ(project.getUndoCount(), 1);
}

TEST_F(SoundtrackOperations, WithoutAConnectedSoundtrackNothingCanBeLinked)
{
    ISoundtrack::setInstance(nullptr);
    EXPECT_FALSE(project.submit(std::make_unique<OperationLinkWave>(L"/show/good.wav")));
    EXPECT_EQ(project.getLastError(), L"ERROR.FAILED_TO_OPEN_WAVE");
    EXPECT_EQ(link(), L"unlinked ");
}

TEST_F(SoundtrackOperations, UnlinkingKeepsThePathAndUndoLoadsItAgain)
{
    ASSERT_TRUE(project.submit(std::make_unique<OperationLinkWave>(L"/show/good.wav")));
    ASSERT_TRUE(project.submit(std::make_unique<OperationUnlinkWave>()));
    EXPECT_EQ(link(), L"unlinked /show/good.wav");
    project.undo();
    EXPECT_EQ(link(), L"linked /show/good.wav");
    project.redo();
    EXPECT_EQ(link(), L"unlinked /show/good.wav");
    EXPECT_EQ(soundtrack.calls,
              (Calls{L"load /show/good.wav", L"unload", L"load /show/good.wav", L"unload"}));
}

TEST_F(SoundtrackOperations, TheAudioOffsetIsSwappedEachWay)
{
    ProjectData& data = project.getProjectData();
    ASSERT_TRUE(project.submit(std::make_unique<OperationSetAudioOffset>(at(4))));
    EXPECT_EQ(data.getAudioOffset().compare(at(4)), 0);
    project.undo();
    EXPECT_EQ(data.getAudioOffset().getFrameNo(), 0);
    project.redo();
    EXPECT_EQ(data.getAudioOffset().compare(at(4)), 0);
    EXPECT_EQ(project.getUndoText(), L"UNDO.MOD_OFFSET");
}

// Applying an effect and patching fixtures used to change cues outside any operation: the
// project must count as modified, so that closing asks to save.
TEST_F(OperationTest, ApplyingAnEffectModifiesTheProjectAndCanBeUndone)
{
    Cue* cue = addPyro(0, 0x101);
    cue->setSelected(true);
    auto apply = std::make_unique<OperationApplyEffect>(
        Effect(5, 1000, 80, 250, -1, 0, L"Red peony", L"A1", 12.5, L"30 mm", L"Maker", L"red",
               L"peony", L"90", L"", L"1.3G", L"25 m"));
    const OperationApplyEffect* operation = apply.get();
    ASSERT_TRUE(project.submit(std::move(apply)));
    EXPECT_TRUE(project.isModified());
    EXPECT_EQ(project.getUndoText(), L"UNDO.APPLY_EFFECT");
    // The cue at frame 0 cannot fire a second early: it keeps its prefire time.
    EXPECT_EQ(operation->getRefusedPrefireCount(), 1);
    EXPECT_EQ(*cue->getMetadata().valueOf(L"~DESC"), L"Red peony");
    project.undo();
    EXPECT_EQ(cue->getMetadata().size(), 0);
    EXPECT_FALSE(project.isModified());
}

TEST_F(OperationTest, APatchTheSettingsDoNotAllowChangesNothing)
{
    Fixture preset(L"wash", L"maker", L"PAR", 2, L"", 800);
    preset.addChannel(1, 255, 0, true, false, false);
    Cue* cue = addDmx(1, "1@1");
    cue->setSelected(true);
    const std::vector<std::string> before = state();
    EXPECT_FALSE(project.submit(std::make_unique<OperationPatchFixtures>(
        std::vector<Fixture*>{&preset},
        PatchSettings{513, 1, PatchMode::SAME, LocationMode::SCENE, L""})));
    EXPECT_EQ(project.getLastError(), L"ERROR.PATCH_START_ADDRESS");
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(project.isModified());

    ASSERT_TRUE(project.submit(std::make_unique<OperationPatchFixtures>(
        std::vector<Fixture*>{&preset},
        PatchSettings{5, 1, PatchMode::SAME, LocationMode::SCENE, L""})));
    EXPECT_TRUE(project.isModified());
    EXPECT_EQ(project.getRedoText(), L"REDO.NOTHING");
    EXPECT_EQ(project.getUndoText(), L"UNDO.PATCH_FIXTURES");
}

}  // namespace
}  // namespace Project
