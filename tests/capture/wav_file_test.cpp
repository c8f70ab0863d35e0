// The folder form's WAV: valid at every moment, also when the writing process is killed outright, and
// refusing what it cannot create.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "capture/capture_media.h"
#include "capture/wav_file.h"

TEST(WavFile, IsCompleteAfterEveryAppendAndAfterClose)
{
    const std::string path = capture_scratch("open.wav");
    WavFile wav;
    std::string error;
    ASSERT_TRUE(wav.open(path, 44100, &error)) << error;
    EXPECT_EQ(decode_sound(path).size(), 0u);
    const std::vector<std::int16_t> first = test_tone(0, 735);
    ASSERT_TRUE(wav.append(first.data(), 735, &error)) << error;
    // Still open: another reader sees a whole, well-formed file.
    EXPECT_EQ(std::filesystem::file_size(path), 44u + 735 * 4);
    EXPECT_EQ(decode_sound(path), first);
    const std::vector<std::int16_t> second = test_tone(735, 736);
    ASSERT_TRUE(wav.append(second.data(), 736, &error)) << error;
    ASSERT_TRUE(wav.close(&error)) << error;
    EXPECT_EQ(decode_sound(path), test_tone(0, 1471));
    const auto p = probe(path);
    EXPECT_EQ(p.at("streams.stream.0.duration_ts"), "1471");
    EXPECT_EQ(wav.bytes(), std::filesystem::file_size(path));
}

TEST(WavFile, AProcessKilledWhileWritingLeavesAValidFile)
{
    const std::string path = capture_scratch("killed.wav");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WavFile wav;
        std::string error;
        if (!wav.open(path, 44100, &error)) ::_exit(2);
        for (int n = 0; n < 10; ++n) {
            const std::vector<std::int16_t> samples = test_tone(n * 882, 882);
            if (!wav.append(samples.data(), 882, &error)) ::_exit(3);
        }
        ::raise(SIGKILL);  // no close, no destructor
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended with " << WEXITSTATUS(status);
    EXPECT_EQ(decode_sound(path), test_tone(0, 8820));
}

TEST(WavFile, RefusesWhatItCannotCreateOrWrite)
{
    WavFile wav;
    std::string error;
    EXPECT_FALSE(wav.open("/no/such/folder/audio.wav", 44100, &error));
    EXPECT_NE(error.find("cannot create /no/such/folder/audio.wav"), std::string::npos) << error;
    const std::int16_t samples[4] = {};
    EXPECT_FALSE(wav.append(samples, 2, &error));
    EXPECT_TRUE(wav.close(&error));
}
