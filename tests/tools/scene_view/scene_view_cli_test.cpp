// vireline-scene-view's command line: option parsing, the one-line errors with their exit status, the
// headless --out path writing a PNG, and the clear refusal without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <tuple>

#include "scene_view/scene_view.h"
#include "capture/png_file.h"
#include "support/test_image.h"

namespace {

struct ViewerRun {
    int status = -1;
    std::string output;
};

// Runs the program with the arguments, without a display, and collects standard output and error.
ViewerRun run_viewer(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" +
                                std::string(VIRELINE_SCENE_VIEW) + "' " + arguments + " 2>&1";
    ViewerRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) run.output += buffer.data();
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

SceneViewParse parse(std::vector<const char*> args, SceneViewOptions* options, std::string* error) {
    args.insert(args.begin(), "vireline-scene-view");
    return scene_view_parse(static_cast<int>(args.size()), args.data(), options, error);
}

const std::string kScene = "'" + std::string(VIRELINE_TESTDATA_DIR) + "/3ds/TargetCameraAnim.3ds'";

TEST(SceneViewOptions, EveryOptionIsReadAndTheRestKeepTheirDefaults) {
    SceneViewOptions options;
    std::string error;
    const std::vector<const char*> every = {"a.3ds",  "--camera", "2",     "--time=12.5", "--size",     "320x200",
                                            "--device", "opengl", "--out", "f.png",      "--no-dialog"};
    ASSERT_EQ(parse(every, &options, &error), SceneViewParse::Run) << error;
    const auto read = [&] {
        return std::tuple(options.scene_path, options.camera, options.time, options.width, options.height,
                          options.device, options.out_path, options.no_dialog);
    };
    EXPECT_EQ(read(), std::tuple("a.3ds", 2, 12.5f, 320u, 200u, SceneViewDevice::OpenGL, "f.png", true));
    ASSERT_EQ(parse({"b.3ds"}, &options, &error), SceneViewParse::Run);  // what is not given is reset
    EXPECT_EQ(read(), std::tuple("b.3ds", 0, 0.0f, 640u, 480u, SceneViewDevice::Software, "", false));
    EXPECT_EQ(parse({"--help"}, &options, &error), SceneViewParse::Help);
}

TEST(SceneViewOptions, MalformedValuesAndUnknownOptionsAreRefusedInOneLine) {
    const std::vector<std::vector<const char*>> bad = {
        {}, {"a.3ds", "b.3ds"}, {"a.3ds", "--bogus"}, {"a.3ds", "-x"}, {"a.3ds", "--camera"},
        {"a.3ds", "--camera", "-1"}, {"a.3ds", "--camera", "one"}, {"a.3ds", "--time", "soon"},
        {"a.3ds", "--time", "nan"}, {"a.3ds", "--size", "640"}, {"a.3ds", "--size", "0x480"},
        {"a.3ds", "--size", "640x480x2"}, {"a.3ds", "--size", "99999x10"}, {"a.3ds", "--device", "vulkan"},
        {"a.3ds", "--out", ""},
    };
    for (const auto& args : bad) {
        SceneViewOptions options;
        std::string error;
        EXPECT_EQ(parse(args, &options, &error), SceneViewParse::Error) << (args.empty() ? "(nothing)" : args.back());
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(SceneViewProgram, HelpAndFailuresExitWithTheirStatusAndSayWhy) {
    const struct {
        std::string arguments;
        int status;
        const char* said;
    } cases[] = {
        {"", 2, "vireline-scene-view: "},
        {"x.3ds --size 12", 2, "vireline-scene-view: "},
        {kScene, 2, "display, or --out"},  // the windowed viewer without a display
        {"/nonexistent/scene.3ds --out /tmp/never.png", 1, "not found"},
        {kScene + " --size 8x8 --out /nonexistent/folder/frame.png", 1, "cannot write"},
        {kScene + " --camera 3 --out /tmp/never.png", 1, "--camera 3: the scene has 1 camera"},
        {"--help", 0, "--out"},
    };
    for (const auto& c : cases) {
        const ViewerRun run = run_viewer(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
        if (c.status == 2) {  // command-line errors say one line; later failures may add the reader's
            EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
        }
    }
}

TEST(SceneViewProgram, OutWritesOneFrameAsPng) {
    const std::string out = std::string(VIRELINE_BINARY_DIR) + "/test-output/scene_view/cli_frame.png";
    std::filesystem::create_directories(std::filesystem::path(out).parent_path());
    std::filesystem::remove(out);
    const ViewerRun run = run_viewer(kScene + " --size 96x64 --time 10 --out '" + out + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    TestImage frame;
    ASSERT_TRUE(png_read(out, &frame));
    EXPECT_EQ(std::pair(frame.width, frame.height), std::pair(96, 64));
    EXPECT_TRUE(std::ranges::any_of(frame.argb, [](std::uint32_t pixel) { return (pixel & 0x00FFFFFFu) != 0; }));
}

}  // namespace
