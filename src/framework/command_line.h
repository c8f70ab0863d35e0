// The command line of the Linux program, an addition to what the demo itself offers: the device
// (--device opengl|software), windowed or full screen (--windowed, --fullscreen, --mode WxHxBPP), no
// Settings dialog (--no-dialog), the data folder (--data DIR), --help and --version. With no options the
// program starts as it always does. Unknown options and malformed values get a one-line error and exit
// status 2. The parsed options are handed to the framework with framework_set_options before the
// application is created.
#pragma once

#include <cstdio>
#include <string>

#include "platform/win_types.h"

enum class DeviceChoice { Default, OpenGL, Software };
enum class ScreenChoice { Default, Windowed, Fullscreen };

struct FrameworkOptions {
    DeviceChoice device = DeviceChoice::Default;
    ScreenChoice screen = ScreenChoice::Default;
    bool has_mode = false;
    DWORD mode_width = 0;
    DWORD mode_height = 0;
    DWORD mode_bits = 0;
    bool no_dialog = false;
    bool force_headless = false;  // --headless: run as if there were no display (tests, capture)
    bool vsync = true;            // --no-vsync switches it off
    std::string data_dir;         // empty: not given
};

// The options Application::create follows (defaults until set).
void framework_set_options(const FrameworkOptions& options);
const FrameworkOptions& framework_options();

enum class CommandLineAction { Run, Exit };

// Reads argv[1..]. Run: go on with *options. Exit: --help or --version was printed to out (status 0),
// or a one-line error went to err (status 2); *exit_status says which.
CommandLineAction command_line_parse(int argc, const char* const* argv, const char* program, FrameworkOptions* options,
                                     int* exit_status, std::FILE* out, std::FILE* err);

// Takes one framework option at argv[index] (with its value, "--name VALUE" or "--name=VALUE"): the number
// of arguments used; 0 when argv[index] is not a framework option; -1 for a malformed value (message in
// *error). --help and --version are not taken here.
int command_line_take_option(int argc, const char* const* argv, int index, FrameworkOptions* options,
                             std::string* error);

// "WxHxBPP" with positive width and height and 16, 24 or 32 bits per pixel.
bool command_line_parse_mode(const std::string& text, DWORD* width, DWORD* height, DWORD* bits);

// The usage text (options one per line) for a program name.
std::string command_line_usage(const char* program);
