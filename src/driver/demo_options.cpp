#include "driver/demo_options.h"

#include <cerrno>
#include <cstdlib>

#include "version.h"

namespace {

constexpr const char* kProgram = "vireline";

bool parse_count(const std::string& text, long long low, long long high, long long* value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || v < low || v > high) return false;
    *value = v;
    return true;
}

// "WxH" with both sides from 16 to 8192.
bool parse_size(const std::string& text, int* width, int* height)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    long long w = 0;
    long long h = 0;
    if (!parse_count(text.substr(0, x), 16, 8192, &w) || !parse_count(text.substr(x + 1), 16, 8192, &h)) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool parse_seconds(const std::string& text, double* value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || !(v > 0.0) || v > 86400.0) return false;
    *value = v;
    return true;
}

bool parse_rate(const std::string& text, double* value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || !(v > 0.0) || v > 10000.0) return false;
    *value = v;
    return true;
}

}  // namespace

std::string demo_usage()
{
    std::string text = command_line_usage(kProgram);
    text +=
        "  --fixed-step S            a virtual clock: every presented frame lasts S seconds (0.02, 1/60, 1001/60000)\n"
        "  --frames N                stop after N presented frames, then shut down as on Escape\n"
        "  --start PART              begin at the first frame of part 1 to 12 (the earlier frames run unseen)\n"
        "  --timeline                print one JSON line per part as it begins\n"
        "  --fps-cap N               show at most N frames per second\n"
        "  --shot FILE.png           with --frames: write the last frame as a PNG\n"
        "  --part-shots DIR          write one PNG of every part into DIR, then stop\n"
        "  --capture OUT             write the demo as a video: OUT.mp4 (H.264, AAC), OUT.mkv (lossless, FLAC)\n"
        "                            or OUT/ (numbered PNG frames and audio.wav), on a virtual clock\n"
        "  --fps RATE                frames per second of the capture: 60 (default), 50, 30, 60000/1001 ...\n"
        "  --duration SECONDS        length of the capture (default: the finite parts and 20 s of the last)\n"
        "  --size WxH                capture in that display mode, re-rendered (default 640x480)\n"
        "  --pad WxH                 centre the captured frame on black in a larger frame (1920x1080)\n"
        "  --rt-scale K              make the render-target textures K times larger (sharper, not the original look)\n"
        "  --preview                 with a display: show the captured frames in the window as they are made\n"
        "  --benchmark               time every part headless at 1/60 s on each device (--device to choose one)\n"
        "  --json FILE               with --benchmark: write the figures as JSON too\n"
        "  F12 in the window writes the frame as a PNG into the folder the program was started in.\n";
    return text;
}

DemoParse demo_options_parse(int argc, const char* const* argv, DemoOptions* options, int* exit_status,
                             std::FILE* out, std::FILE* err)
{
    *exit_status = 0;
    auto fail = [&](const std::string& message) {
        std::fprintf(err, "%s: %s\n", kProgram, message.c_str());
        *exit_status = 2;
        return DemoParse::Exit;
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(demo_usage().c_str(), out);
            return DemoParse::Exit;
        }
        if (arg == "--version") {
            std::fprintf(out, "%s %s\n", kProgram, VIRELINE_VERSION);
            return DemoParse::Exit;
        }
        std::string error;
        const int used = command_line_take_option(argc, argv, i, &options->framework, &error);
        if (used < 0) return fail(error);
        if (used > 0) {
            i += used - 1;
            continue;
        }
        std::string value;
        const std::size_t eq = arg.find('=');
        const bool inline_value = arg.rfind("--", 0) == 0 && eq != std::string::npos;
        if (inline_value) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        if (arg == "--timeline" || arg == "--preview" || arg == "--benchmark") {
            if (inline_value) return fail(arg + " takes no value");
            if (arg == "--timeline") options->timeline = true;
            if (arg == "--preview") options->preview = true;
            if (arg == "--benchmark") options->benchmark = true;
            continue;
        }
        const bool known = arg == "--fixed-step" || arg == "--frames" || arg == "--start" || arg == "--fps-cap" ||
                           arg == "--shot" || arg == "--part-shots" || arg == "--capture" || arg == "--fps" ||
                           arg == "--duration" || arg == "--size" || arg == "--pad" || arg == "--rt-scale" ||
                           arg == "--json" || arg == "--frame-times";
        if (!known) return fail("unknown option '" + std::string(argv[i]) + "' (try --help)");
        if (!inline_value) {
            if (i + 1 >= argc) return fail(arg + " needs a value");
            value = argv[++i];
        }
        long long n = 0;
        if (arg == "--fixed-step") {
            if (!fixed_step_parse(value, &options->fixed_step)) {
                return fail("--fixed-step must be seconds above 0 and at most 60, like 0.02 or 1/60, not '" + value + "'");
            }
            options->fixed_step_given = true;
        } else if (arg == "--frames") {
            if (!parse_count(value, 1, 1000000000LL, &n)) return fail("--frames must be a positive count, not '" + value + "'");
            options->frames = n;
        } else if (arg == "--start") {
            if (!parse_count(value, 1, 12, &n)) return fail("--start must be a part from 1 to 12, not '" + value + "'");
            options->start_part = static_cast<int>(n);
        } else if (arg == "--fps-cap") {
            if (!parse_rate(value, &options->fps_cap)) return fail("--fps-cap must be frames per second above 0, not '" + value + "'");
        } else if (arg == "--shot") {
            if (value.empty()) return fail("--shot needs a file name");
            options->shot_path = value;
        } else if (arg == "--part-shots") {
            if (value.empty()) return fail("--part-shots needs a folder");
            options->part_shots_dir = value;
        } else if (arg == "--capture") {
            if (value.empty()) return fail("--capture needs a file or folder");
            options->capture_path = value;
        } else if (arg == "--fps") {
            std::string reason;
            if (!frame_rate_parse(value, &options->capture_fps, &reason)) return fail("--fps: " + reason);
        } else if (arg == "--duration") {
            if (!parse_seconds(value, &options->capture_duration)) {
                return fail("--duration must be seconds above 0, not '" + value + "'");
            }
        } else if (arg == "--size") {
            if (!parse_size(value, &options->capture_width, &options->capture_height)) {
                return fail("--size must be WxH from 16x16 to 8192x8192, not '" + value + "'");
            }
        } else if (arg == "--pad") {
            if (!parse_size(value, &options->pad_width, &options->pad_height)) {
                return fail("--pad must be WxH from 16x16 to 8192x8192, not '" + value + "'");
            }
        } else if (arg == "--rt-scale") {
            if (!parse_count(value, 1, 8, &n)) return fail("--rt-scale must be a whole number from 1 to 8, not '" + value + "'");
            options->rt_scale = static_cast<int>(n);
        } else if (arg == "--json") {
            if (value.empty()) return fail("--json needs a file name");
            options->json_path = value;
        } else {
            if (value.empty()) return fail("--frame-times needs a file name");
            options->frame_times_path = value;
        }
    }
    if (options->framework.has_mode && options->framework.screen == ScreenChoice::Default) {
        options->framework.screen = ScreenChoice::Fullscreen;
    }
    if (!options->shot_path.empty() && options->frames == 0) return fail("--shot needs --frames N");
    const bool capturing = !options->capture_path.empty();
    if (!capturing && (options->capture_duration >= 0.0 || options->capture_width > 0 || options->pad_width > 0 ||
                       options->rt_scale != 1 || options->preview)) {
        return fail("--duration, --size, --pad, --rt-scale and --preview belong to --capture");
    }
    if (options->preview && options->capture_width > 0) return fail("--preview shows the window's own size: leave out --size");
    if (capturing && options->benchmark) return fail("--capture and --benchmark are separate runs");
    if (capturing && options->fixed_step_given) return fail("--capture keeps its own clock: use --fps, not --fixed-step");
    if (!options->json_path.empty() && !options->benchmark) return fail("--json belongs to --benchmark");
    if (capturing && options->pad_width > 0) {
        const int w = options->capture_width > 0 ? options->capture_width : 640;
        const int h = options->capture_height > 0 ? options->capture_height : 480;
        if (options->pad_width < w || options->pad_height < h) return fail("--pad must be at least the captured size");
    }
    return DemoParse::Run;
}
