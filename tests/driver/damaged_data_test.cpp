// The program on its own data and on data a user has damaged: every frame's logic of the whole
// timeline at 1/30 s (the parts before the start run unseen) and 600 ticks of the last part drawn, in
// a small display mode so the sanitizer build can afford it; the parts that show a damaged file are
// drawn too. Each run must end with status 0 and say what was wrong in the program's own words: a
// missing scene, a picture that does not decode, a missing music file, no audio device.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/demo_process.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSmall = "--headless --mode 160x120x32 --fixed-step 1/30 ";

// A copy of the build's data with kanjoni.3ds gone, greets.jpg not a picture and demo.mp3 gone.
std::string damaged_data()
{
    const fs::path folder = fs::path(VIRELINE_BINARY_DIR) / "test-scratch" / "damaged-data";
    fs::remove_all(folder);
    fs::create_directories(folder.parent_path());
    fs::copy(VIRELINE_DATA_DIR, folder, fs::copy_options::recursive);
    fs::remove(folder / "scenes" / "kanjoni.3ds");
    fs::remove(folder / "demo.mp3");
    std::FILE* picture = std::fopen((folder / "maps" / "greets.jpg").c_str(), "wb");
    if (picture != nullptr) {
        std::fputs("\x89PNG not a JPEG at all", picture);
        std::fclose(picture);
    }
    return folder.string();
}

void expect_clean_run(const DemoProcessResult& run)
{
    EXPECT_EQ(run.status, 0) << tail_lines(run.err);
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << tail_lines(run.err, 40);
    EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << tail_lines(run.err, 40);
}

}  // namespace

TEST(DemoData, TheWholeTimelineRunsCleanlyAndShowsNoBox)
{
    const DemoProcessResult run = run_demo(std::string(kSmall) + "--start 12 --frames 600");
    expect_clean_run(run);
    EXPECT_EQ(run.err.find("[Error]"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("[Bass error]"), std::string::npos) << run.err;
}

TEST(DemoData, DamagedFilesAreReportedAndTheDemoGoesOnWithoutThem)
{
    const std::string data = damaged_data();
    for (const char* start : {"--start 5 --frames 60", "--start 8 --frames 60", "--start 10 --frames 60",
                              "--start 12 --frames 600"}) {
        SCOPED_TRACE(start);
        const DemoProcessResult run = run_demo(std::string(kSmall) + "--data " + data + " " + start);
        expect_clean_run(run);
        EXPECT_NE(run.err.find("[Error] scenes/kanjoni.3ds not found!"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("maps/greets.jpg: not loaded: JPEG"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("[Bass error] Can't play the file"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Can't initialize device"), std::string::npos) << run.err;
    }
}

TEST(DemoData, WithoutAnAudioDeviceBothBoxesComeInTurnAndTheDemoRunsSilently)
{
    const DemoProcessResult run = run_demo(std::string(kSmall) + "--start 12 --frames 30", "SDL_AUDIODRIVER=none-such");
    expect_clean_run(run);
    const std::size_t init = run.err.find("[Bass error] Can't initialize device");
    const std::size_t play = run.err.find("[Bass error] Can't play the file");
    ASSERT_NE(init, std::string::npos) << run.err;
    ASSERT_NE(play, std::string::npos) << run.err;
    EXPECT_LT(init, play);
}
