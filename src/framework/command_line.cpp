#include "framework/command_line.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifndef VIRELINE_VERSION_STRING
#define VIRELINE_VERSION_STRING "0.0.0"
#endif

namespace {

FrameworkOptions g_options;

bool is_directory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool parse_positive(const std::string& text, DWORD* value)
{
    if (text.empty() || text.size() > 6) return false;
    DWORD v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<DWORD>(c - '0');
    }
    if (v == 0) return false;
    *value = v;
    return true;
}

// Splits "--name=value"; returns the name part.
std::string option_name(const char* arg, std::string* inline_value, bool* has_inline)
{
    const char* eq = std::strchr(arg, '=');
    *has_inline = eq != nullptr;
    if (eq == nullptr) return arg;
    *inline_value = eq + 1;
    return std::string(arg, static_cast<std::size_t>(eq - arg));
}

}  // namespace

void framework_set_options(const FrameworkOptions& options) { g_options = options; }

const FrameworkOptions& framework_options() { return g_options; }

bool command_line_parse_mode(const std::string& text, DWORD* width, DWORD* height, DWORD* bits)
{
    const std::size_t x1 = text.find('x');
    if (x1 == std::string::npos) return false;
    const std::size_t x2 = text.find('x', x1 + 1);
    if (x2 == std::string::npos) return false;
    DWORD w = 0;
    DWORD h = 0;
    DWORD b = 0;
    if (!parse_positive(text.substr(0, x1), &w) || !parse_positive(text.substr(x1 + 1, x2 - x1 - 1), &h) ||
        !parse_positive(text.substr(x2 + 1), &b)) {
        return false;
    }
    if (b != 16 && b != 24 && b != 32) return false;
    *width = w;
    *height = h;
    *bits = b;
    return true;
}

int command_line_take_option(int argc, const char* const* argv, int index, FrameworkOptions* options,
                             std::string* error)
{
    const char* arg = argv[index];
    std::string value;
    bool has_inline = false;
    const std::string name = option_name(arg, &value, &has_inline);
    const bool takes_value = name == "--device" || name == "--mode" || name == "--data";
    const bool flag = name == "--fullscreen" || name == "--windowed" || name == "--no-dialog" ||
                      name == "--no-vsync" || name == "--headless";
    if (!takes_value && !flag) return 0;
    if (flag) {
        if (has_inline) {
            *error = name + " takes no value";
            return -1;
        }
        if (name == "--no-dialog") {
            options->no_dialog = true;
        } else if (name == "--no-vsync") {
            options->vsync = false;
        } else if (name == "--headless") {
            options->force_headless = true;
        } else {
            const ScreenChoice want = name == "--fullscreen" ? ScreenChoice::Fullscreen : ScreenChoice::Windowed;
            if (options->screen != ScreenChoice::Default && options->screen != want) {
                *error = "--fullscreen and --windowed exclude each other";
                return -1;
            }
            options->screen = want;
        }
        return 1;
    }
    int used = 1;
    if (!has_inline) {
        if (index + 1 >= argc) {
            *error = name + " needs a value";
            return -1;
        }
        value = argv[index + 1];
        used = 2;
    }
    if (name == "--device") {
        if (value == "opengl") {
            options->device = DeviceChoice::OpenGL;
        } else if (value == "software") {
            options->device = DeviceChoice::Software;
        } else {
            *error = "--device must be opengl or software, not '" + value + "'";
            return -1;
        }
    } else if (name == "--mode") {
        if (!command_line_parse_mode(value, &options->mode_width, &options->mode_height, &options->mode_bits)) {
            *error = "--mode must be WIDTHxHEIGHTxBITS with 16, 24 or 32 bits (like 640x480x16), not '" + value + "'";
            return -1;
        }
        options->has_mode = true;
    } else {
        if (value.empty() || !is_directory(value)) {
            *error = "--data: no folder '" + value + "'";
            return -1;
        }
        options->data_dir = value;
    }
    return used;
}

std::string command_line_usage(const char* program)
{
    std::string text = "usage: ";
    text += program;
    text +=
        " [options]\n"
        "  --device opengl|software  the 3D device (default: the best one found)\n"
        "  --windowed                run in a window (the default)\n"
        "  --fullscreen              run full screen at the chosen display mode\n"
        "  --mode WxHxBPP            the full-screen display mode, like 640x480x16 (implies --fullscreen)\n"
        "  --no-dialog               start without the Settings dialog\n"
        "  --no-vsync                show frames at once instead of waiting for the display's vertical sync\n"
        "  --headless                render without a display, as on a machine that has none\n"
        "  --data DIR                the folder holding scenes/, maps/ and the music\n"
        "  --help                    show this text\n"
        "  --version                 show the program's version\n";
    return text;
}

CommandLineAction command_line_parse(int argc, const char* const* argv, const char* program, FrameworkOptions* options,
                                     int* exit_status, std::FILE* out, std::FILE* err)
{
    *exit_status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(command_line_usage(program).c_str(), out);
            return CommandLineAction::Exit;
        }
        if (arg == "--version") {
            std::fprintf(out, "%s %s\n", program, VIRELINE_VERSION_STRING);
            return CommandLineAction::Exit;
        }
        std::string error;
        const int used = command_line_take_option(argc, argv, i, options, &error);
        if (used == 0) error = "unknown option '" + arg + "' (try --help)";
        if (used <= 0) {
            std::fprintf(err, "%s: %s\n", program, error.c_str());
            *exit_status = 2;
            return CommandLineAction::Exit;
        }
        i += used - 1;
    }
    if (options->has_mode && options->screen == ScreenChoice::Default) options->screen = ScreenChoice::Fullscreen;
    return CommandLineAction::Run;
}
