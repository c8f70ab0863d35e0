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
        if (arg == "--timeline") {
            if (inline_value) return fail("--timeline takes no value");
            options->timeline = true;
            continue;
        }
        const bool known = arg == "--fixed-step" || arg == "--frames" || arg == "--start" || arg == "--fps-cap" ||
                           arg == "--shot" || arg == "--part-shots";
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
        } else {
            if (value.empty()) return fail("--part-shots needs a folder");
            options->part_shots_dir = value;
        }
    }
    if (options->framework.has_mode && options->framework.screen == ScreenChoice::Default) {
        options->framework.screen = ScreenChoice::Fullscreen;
    }
    if (!options->shot_path.empty() && options->frames == 0) return fail("--shot needs --frames N");
    return DemoParse::Run;
}
