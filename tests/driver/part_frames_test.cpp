// One frame of every demo part against its golden picture: the program captures the part's 15th
// frame (reached with --start on the virtual clock at 1/30 s) in a 160 × 120 display mode, so the
// goldens stay small while every part is truly rendered by the whole program. The OpenGL device must
// give the same pictures within 40 dB, and a start part must reach the picture a full run has there.
// Approve new goldens with VIRELINE_APPROVE=1 (see support/golden_image.h).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "capture/png_file.h"
#include "driver/demo_process.h"
#include "support/golden_image.h"

namespace {

constexpr int kFrame = 14;  // the frame of each part compared, counted from 0

std::string scratch_folder(const std::string& name)
{
    const std::string folder = std::string(VIRELINE_BINARY_DIR) + "/test-scratch/part-frames/" + name + "/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path().parent_path());
    return folder;
}

std::string frame_name(long long n)
{
    char name[32];
    std::snprintf(name, sizeof name, "%06lld.png", n);
    return name;
}

// Frame `frame` of a 160 × 120 capture at 30 frames per second from the start part; *hardware tells
// whether the device that drew it was a hardware (OpenGL) one.
FrameImage capture_frame(int part, const std::string& device, long long frame, bool* hardware = nullptr)
{
    const std::string folder = scratch_folder(device + "-" + std::to_string(part));
    const double seconds = static_cast<double>(frame + 1) / 30.0;
    const DemoProcessResult run = run_demo("--capture " + folder + " --size 160x120 --fps 30 --device " + device +
                                           " --start " + std::to_string(part) + " --duration " +
                                           std::to_string(seconds));
    EXPECT_EQ(run.status, 0) << tail_lines(run.err);
    if (hardware != nullptr) *hardware = run.err.find("on the hardware device") != std::string::npos;
    FrameImage image;
    EXPECT_TRUE(png_read(folder + frame_name(frame), &image)) << folder << frame_name(frame);
    return image;
}

}  // namespace

TEST(DemoParts, EveryPartMatchesItsGoldenFrameOnTheSoftwareDeviceAndTheOpenGLDeviceIsClose)
{
    bool opengl = true;
    for (int part = 1; part <= 12; ++part) {
        SCOPED_TRACE("part " + std::to_string(part));
        char golden[64];
        std::snprintf(golden, sizeof golden, "tests/driver/golden/part-%02d.png", part);
        const FrameImage software = capture_frame(part, "software", kFrame);
        ASSERT_EQ(software.width, 160);
        EXPECT_MATCHES_GOLDEN(golden, software, ImageTolerance{});
        if (!opengl) continue;
        const FrameImage gl = capture_frame(part, "opengl", kFrame, &opengl);
        if (!opengl) continue;  // asked for OpenGL, drawn by the software device: there is none here
        const ImageComparison c = image_compare(gl, software, ImageTolerance{255, 1.0, 40.0, false});
        EXPECT_TRUE(c.passed) << "OpenGL against software: " << c.summary();
    }
    if (!opengl) std::fprintf(stderr, "no OpenGL device here: only the software pictures were checked\n");
}

TEST(DemoParts, AStartPartReachesThePictureOfAFullRun)
{
    // A full run from the first part, with its timeline, to the 15th frame of part 2.
    const std::string folder = scratch_folder("full-run");
    const DemoProcessResult timeline = run_demo("--headless --fixed-step 1/30 --timeline --start 3 --frames 1");
    ASSERT_EQ(timeline.status, 0) << tail_lines(timeline.err);
    long long begins = -1;
    std::istringstream lines(timeline.out);
    std::string line;
    while (std::getline(lines, line)) {
        int part = 0;
        long long pass = 0, frame = 0;
        if (std::sscanf(line.c_str(), "{\"part\": %d, \"pass\": %lld, \"frame\": %lld", &part, &pass, &frame) == 3 &&
            part == 2) {
            begins = frame;
        }
    }
    ASSERT_GT(begins, 0);
    const long long frame = begins + kFrame;
    const DemoProcessResult full = run_demo("--capture " + folder + " --size 160x120 --fps 30 --duration " +
                                            std::to_string(static_cast<double>(frame + 1) / 30.0));
    ASSERT_EQ(full.status, 0) << tail_lines(full.err);
    FrameImage from_start;
    ASSERT_TRUE(png_read(folder + frame_name(frame), &from_start));
    const FrameImage started = capture_frame(2, "software", kFrame);
    const ImageComparison c = image_compare(started, from_start, ImageTolerance{});
    EXPECT_TRUE(c.passed) << c.summary();
}
