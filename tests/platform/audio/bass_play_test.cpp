// The stream and module paths as the driver runs them, over SDL's dummy output.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>

#include "platform/audio/audio_render.h"
#include "platform/audio/bass.h"
#include "platform/audio/test_music.h"

namespace {

struct SyncLog {
    std::atomic<int> calls{0};
    std::atomic<DWORD> channel{0};
    std::atomic<DWORD> user{0};
    std::atomic<DWORD> data{99};
};
SyncLog sync_log;

void on_end(HSYNC, DWORD channel, DWORD data, DWORD user) {
    sync_log.channel = channel;
    sync_log.user = user;
    sync_log.data = data;
    ++sync_log.calls;
}

class BassPlay : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        sync_log.calls = 0;
        sync_log.channel = 0;
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr)) << BASS_ErrorGetCode();
    }
    void TearDown() override { BASS_Free(); }
};

TEST_F(BassPlay, LoopingStreamRestartsAndReportsEachEnd) {
    const std::string path = test_scratch_path("chord.mp3");
    ASSERT_TRUE(test_write_mp3(path, test_chord(4410)));  // 0.1 s per pass
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
    ASSERT_NE(BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, on_end, 7), 0u);
    EXPECT_TRUE(BASS_Start());
    EXPECT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    // The dummy device consumes in real time: three ends need about 0.3 s of playing; a stream that
    // stopped at its first end would never get there.
    EXPECT_TRUE(test_wait_for([] { return sync_log.calls >= 3; }, 10.0)) << sync_log.calls;
    EXPECT_EQ(sync_log.channel, stream);
    EXPECT_EQ(sync_log.user, 7u);
    EXPECT_EQ(sync_log.data, 0u);
    EXPECT_TRUE(BASS_Free());
    const int calls = sync_log.calls;
    EXPECT_FALSE(test_wait_for([calls] { return sync_log.calls != calls; }, 0.1)) << "callback after BASS_Free";
}

TEST_F(BassPlay, StreamWithoutLoopEndsOnce) {
    const std::string path = test_scratch_path("chord-once.mp3");
    ASSERT_TRUE(test_write_mp3(path, test_chord(2205)));
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_NE(BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, on_end, 0), 0u);
    EXPECT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    EXPECT_TRUE(test_wait_for([] { return sync_log.calls >= 1; }, 10.0));
    EXPECT_FALSE(test_wait_for([] { return sync_log.calls > 1; }, 0.3));
}

TEST_F(BassPlay, ModuleLoadsWhenTheFileIsNoStreamAndPlaysToItsEnd) {
    const std::string path = test_scratch_path("tiny.mod");
    ASSERT_TRUE(test_write_module(path));
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    const HMUSIC music = BASS_MusicLoad(FALSE, path.c_str(), 0, 0, BASS_MUSIC_RAMP);
    ASSERT_NE(music, 0u) << BASS_ErrorGetCode();
    ASSERT_NE(BASS_ChannelSetSync(music, BASS_SYNC_END, 0, on_end, 3), 0u);
    EXPECT_TRUE(BASS_Start());
    EXPECT_TRUE(BASS_MusicPlayEx(music, 0, -1, TRUE));
    EXPECT_FALSE(BASS_StreamPlay(music, FALSE, BASS_SAMPLE_LOOP));  // a module is not a stream
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_TRUE(test_wait_for([] { return sync_log.calls >= 1; }, 10.0));
    EXPECT_EQ(sync_log.channel, music);
    EXPECT_EQ(sync_log.user, 3u);

    // Four rows at speed 6 and 125 BPM (0.48 s, and the tail of the last note): a square wave that is heard,
    // and an end instead of the looping that was not asked for.
    auto render = AudioRender::from_channel(music);
    ASSERT_NE(render, nullptr);
    std::vector<std::int16_t> out(44100 * 2 * 2);
    const std::size_t frames = render->render(out.data(), 44100 * 2);
    EXPECT_GT(frames, std::size_t{44100 * 45 / 100});
    EXPECT_LT(frames, std::size_t{44100 * 70 / 100});
    double energy = 0;
    for (std::size_t i = 0; i < frames * 2; ++i) energy += static_cast<double>(out[i]) * out[i];
    EXPECT_GT(std::sqrt(energy / static_cast<double>(frames * 2)), 500.0);
}

}  // namespace
