// Every way the music start-up can fail, with the result codes the driver's boxes follow from.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/audio/audio_render.h"
#include "platform/audio/bass.h"
#include "platform/audio/test_music.h"

namespace {

void no_op(HSYNC, DWORD, DWORD, DWORD) {}

struct BadFile {
    const char* name;
    std::vector<std::uint8_t> bytes;  // written unless missing
    bool missing;
    int stream_code;
    int module_code;
};

std::vector<BadFile> bad_files() {
    const std::string good = test_scratch_path("bad-source.mp3");
    test_write_mp3(good, test_chord(44100));
    const std::vector<std::uint8_t> mp3 = test_read_bytes(good);
    std::vector<std::uint8_t> garbage(65536);
    std::uint32_t state = 1;
    for (auto& b : garbage) {
        state = state * 214013u + 2531011u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    const std::string text = "this is not music at all\n";
    return {
        {"missing.mp3", {}, true, BASS_ERROR_FILEOPEN, BASS_ERROR_FILEOPEN},
        {"empty.mp3", {}, false, BASS_ERROR_FILEFORM, BASS_ERROR_FILEFORM},
        {"truncated.mp3", std::vector<std::uint8_t>(mp3.begin(), mp3.begin() + 300), false, BASS_ERROR_FILEFORM,
         BASS_ERROR_FILEFORM},
        {"garbage.mp3", garbage, false, BASS_ERROR_FILEFORM, BASS_ERROR_FILEFORM},
        {"text.mp3", std::vector<std::uint8_t>(text.begin(), text.end()), false, BASS_ERROR_FILEFORM,
         BASS_ERROR_FILEFORM},
    };
}

class BassFailure : public testing::Test {
protected:
    void SetUp() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override {
        BASS_Free();
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
};

TEST_F(BassFailure, BadFilesFailBothLoadsWithTheirCodes) {
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    for (const BadFile& bad : bad_files()) {
        SCOPED_TRACE(bad.name);
        const std::string path = test_scratch_path(bad.name);
        std::remove(path.c_str());
        if (!bad.missing) {
            ASSERT_TRUE(test_write_bytes(path, bad.bytes));
        }
        EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), bad.stream_code);
        EXPECT_EQ(BASS_MusicLoad(FALSE, path.c_str(), 0, 0, BASS_MUSIC_RAMP), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), bad.module_code);
        // The driver goes on with the null handle.
        EXPECT_EQ(BASS_ChannelSetSync(0, BASS_SYNC_END, 0, no_op, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
        EXPECT_TRUE(BASS_Start());
        EXPECT_FALSE(BASS_MusicPlayEx(0, 0, -1, TRUE));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
        EXPECT_EQ(AudioRender::from_file(path.c_str(), 44100, true), nullptr);
    }
}

TEST_F(BassFailure, WithoutAnOutputDeviceInitAndBothLoadsFail) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string path = test_scratch_path("no-device.mp3");
    ASSERT_TRUE(test_write_mp3(path, test_chord(4410)));
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_EQ(BASS_MusicLoad(FALSE, path.c_str(), 0, 0, BASS_MUSIC_RAMP), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_EQ(BASS_ChannelSetSync(0, BASS_SYNC_END, 0, no_op, 0), 0u);
    EXPECT_FALSE(BASS_Start());
    EXPECT_FALSE(BASS_StreamPlay(0, FALSE, BASS_SAMPLE_LOOP));
    EXPECT_FALSE(BASS_MusicPlayEx(0, 0, -1, TRUE));
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    // Offline rendering needs no device.
    EXPECT_NE(AudioRender::from_file(path.c_str(), 44100, false), nullptr);
    // Once a device is there again, the layer comes up.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
}

TEST_F(BassFailure, ArgumentsOutsideTheirRangesAreRefused) {
    EXPECT_FALSE(BASS_Init(5, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(-1, 10, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    const std::string path = test_scratch_path("args.mp3");
    ASSERT_TRUE(test_write_mp3(path, test_chord(4410)));
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelSetSync(stream, 1, 0, no_op, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLTYPE);
    EXPECT_FALSE(BASS_StreamPlay(stream + 100, FALSE, 0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_FALSE(BASS_MusicPlayEx(stream, 0, -1, TRUE));  // a stream is not a module
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTFILE);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 1u << 30, 0, 0), 0u);  // offset past the end: nothing to play
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    // The same file from memory, and a stream cut mid-way that still plays as far as it decodes.
    const std::vector<std::uint8_t> bytes = test_read_bytes(path);
    EXPECT_NE(BASS_StreamCreateFile(TRUE, bytes.data(), 0, static_cast<DWORD>(bytes.size()), 0), 0u);
    EXPECT_NE(BASS_StreamCreateFile(FALSE, path.c_str(), 0, static_cast<DWORD>(bytes.size() / 2), 0), 0u);
}

}  // namespace
