#include "driver/demo_entry.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "driver/app_access.h"
#include "driver/demo_application.h"
#include "driver/demo_assets.h"
#include "driver/demo_benchmark.h"
#include "driver/demo_capture.h"
#include "driver/demo_clock.h"
#include "driver/demo_music.h"
#include "driver/demo_options.h"
#include "driver/demo_run.h"
#include "driver/frame_loop.h"
#include "driver/sequencer.h"
#include "framework/data_folder.h"
#include "platform/message_box.h"
#include "textures/texture_manager.h"

namespace {

// The step a fast-forward runs at when no fixed step was asked for: 1/60 s, on a counter fine enough
// for the real clock that follows it.
constexpr FixedStep kFastForwardStep{1000000, 60000000};
// The step of a headless run that was given nothing to do.
constexpr FixedStep kHeadlessStep{1, 30};

std::string current_folder()
{
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string(".") : here.string();
}

// Without a display and without a bound on the run, the demo would run unseen forever: it writes one
// frame of every part instead, and says where.
void choose_headless_work(DemoOptions* options, const std::string& start_folder)
{
    const bool headless = options->framework.force_headless || !message_box_display_available();
    if (!headless || options->frames > 0 || !options->part_shots_dir.empty() || !options->capture_path.empty()) return;
    options->part_shots_dir = (std::filesystem::path(start_folder) / "vireline-frames").string();
    if (!options->fixed_step_given) {
        options->fixed_step = kHeadlessStep;
        options->fixed_step_given = true;
    }
    std::fprintf(stderr, "vireline: no display; rendering one frame of every part into %s\n",
                 options->part_shots_dir.c_str());
}

bool make_folder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error) return true;
    std::fprintf(stderr, "vireline: cannot make the folder %s: %s\n", folder.c_str(), error.message().c_str());
    return false;
}

// A capture runs on the virtual clock at its frame rate, without the dialog, headless unless it is to
// be previewed, on the software device unless another is asked for, in the display mode of its size.
void prepare_capture(DemoOptions* options)
{
    FrameworkOptions& framework = options->framework;
    options->fixed_step = FixedStep{options->capture_fps.den, options->capture_fps.num};
    options->fixed_step_given = true;
    framework.no_dialog = true;
    if (!options->preview) framework.force_headless = true;
    if (framework.device == DeviceChoice::Default) framework.device = DeviceChoice::Software;
    if (options->capture_width > 0) {
        framework.has_mode = true;
        framework.mode_width = static_cast<DWORD>(options->capture_width);
        framework.mode_height = static_cast<DWORD>(options->capture_height);
        framework.mode_bits = 32;
        framework.screen = ScreenChoice::Fullscreen;
    }
}

// A timed run of the benchmark: every frame drawn, none presented, no dialog, no sound.
void prepare_benchmark_child(DemoOptions* options)
{
    options->framework.no_dialog = true;
    options->framework.force_headless = true;
}

}  // namespace

int demo_main(int argc, char** argv)
{
    DemoOptions options;
    int status = 0;
    if (demo_options_parse(argc, argv, &options, &status, stdout, stderr) == DemoParse::Exit) return status;

    if (options.benchmark) return demo_benchmark(options, argv[0]);
    if (!options.capture_path.empty()) {
        options.capture_path = std::filesystem::absolute(options.capture_path).string();
        prepare_capture(&options);
    }
    if (options.benchmark_child()) prepare_benchmark_child(&options);
    const bool plays_sound = options.capture_path.empty() && !options.benchmark_child();

    const std::string start_folder = current_folder();
    choose_headless_work(&options, start_folder);
    if (!options.part_shots_dir.empty()) {
        options.part_shots_dir = std::filesystem::absolute(options.part_shots_dir).string();
        if (!make_folder(options.part_shots_dir)) return 1;
    }
    if (!options.shot_path.empty()) options.shot_path = std::filesystem::absolute(options.shot_path).string();
    std::string reason;
    if (!data_folder_enter(options.framework.data_dir, &reason)) {
        std::fprintf(stderr, "vireline: %s; looking for the data in %s\n", reason.c_str(), start_folder.c_str());
    }
    framework_set_options(options.framework);

    std::unique_ptr<DemoClock> clock;
    if (options.fixed_step_given) {
        clock = std::make_unique<DemoClock>(options.fixed_step);
    } else if (options.start_part > 1) {
        clock = std::make_unique<DemoClock>(kFastForwardStep);
    }

    texture_set_target_scale(static_cast<DWORD>(options.rt_scale));
    if (!create_application("Vireline", 640, 480, true, clock.get())) return 0;
    texture_set_directory("maps/");
    load_scenes();
    load_textures();
    if (plays_sound) start_music(app_window());

    std::unique_ptr<DemoCapture> capture;
    int exit_status = 0;
    if (!options.capture_path.empty()) {
        capture = std::make_unique<DemoCapture>(options);
        if (!capture->open(app_back_buffer(), DEMO_MUSIC_FILE)) {
            capture.reset();
            exit_status = 1;
        }
    }
    if (exit_status == 0) {
        DemoRun run(options, clock.get(), start_folder, stdout, capture.get());
        run.begin();
        start_frame_timer();
        do {
            run_sequencer(frame_delta());
            run.pass_done();
        } while (keep_running() && !run.should_stop());
    }
    if (capture != nullptr && !capture->finish()) exit_status = 1;

    release_scenes();
    release_textures();
    // The demo's own release leaves most pictures loaded; their surfaces hold the display objects, so
    // they go too, before the application that made them.
    texture_delete_all();
    if (plays_sound) stop_music();
    destroy_application();
    return exit_status;
}
