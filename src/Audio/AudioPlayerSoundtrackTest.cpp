#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Audio/AudioPlayer.h"
#include "Audio/AudioPlayerSoundtrack.h"
#include "Audio/AudioTestSupport.h"
#include "Platform/MessageQueue.h"
#include "Platform/Utf.h"

namespace Audio {
namespace {

std::wstring testFile(const char* name)
{
    return Platform::fromUtf8(
        (std::filesystem::path(__FILE__).parent_path().parent_path() / "FileIO" / "testdata" / name)
            .string());
}

// The player on the silent output, with this thread as its main thread.
class AudioPlayerSoundtrackTest : public ::testing::Test {
protected:
    AudioPlayerSoundtrackTest()
    {
        AudioPlayer::Options options;
        options.device = L"silent";
        player = std::make_unique<AudioPlayer>(nullptr, options);
    }

    bool settled(int state)
    {
        return TestSupport::pumpUntil(queue, [&] { return player->getState() == state; });
    }

    Platform::MessageQueue queue;
    std::unique_ptr<AudioPlayer> player;
};

TEST_F(AudioPlayerSoundtrackTest, LoadsReadableWaveFilesAndRefusesOthers)
{
    ASSERT_TRUE(TestSupport::pumpUntil(queue, [&] { return player->isReady(); }));
    AudioPlayerSoundtrack soundtrack(*player);

    ASSERT_TRUE(soundtrack.load(testFile("stereo16.wav")));
    ASSERT_TRUE(settled(AudioPlayer::STATE_STOPPED));
    EXPECT_EQ(player->getLengthFrames(), 6);
    EXPECT_EQ(player->getRate(), 44100);

    // A file the reader refuses (the player would play silence for it) leaves the track.
    EXPECT_FALSE(soundtrack.load(testFile("make_testdata.py")));
    EXPECT_FALSE(soundtrack.load(testFile("missing.wav")));
    EXPECT_FALSE(soundtrack.load(L""));
    EXPECT_EQ(player->getState(), AudioPlayer::STATE_STOPPED);
    EXPECT_EQ(player->getLengthFrames(), 6);

    ASSERT_TRUE(soundtrack.load(testFile("mono8.wav")));
    ASSERT_TRUE(TestSupport::pumpUntil(queue, [&] { return player->getRate() == 8000; }));
    EXPECT_EQ(player->getLengthFrames(), 5);

    // Dropped: the player holds no track of any length.
    soundtrack.unload();
    EXPECT_TRUE(TestSupport::pumpUntil(
        queue, [&] { return player->getLengthFrames() == 0 && player->getRate() == 44100; }));
}

TEST_F(AudioPlayerSoundtrackTest, APlayerWithoutWorkersLoadsNothing)
{
    // The workers' announcements have not been handled yet.
    AudioPlayerSoundtrack soundtrack(*player);
    EXPECT_FALSE(soundtrack.load(testFile("stereo16.wav")));
}

}  // namespace
}  // namespace Audio
