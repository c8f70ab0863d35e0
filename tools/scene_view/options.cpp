#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "scene_view/scene_view.h"

namespace {

constexpr DWORD kMaxFrameSide = 8192;

bool parse_int(std::string_view text, long long min_value, long long max_value, long long* value) {
    if (text.empty() || text.size() > 18) return false;
    long long result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    if (result < min_value || result > max_value) return false;
    *value = result;
    return true;
}

bool parse_float(const std::string& text, float* value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double result = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(result)) return false;
    if (std::fabs(result) > 1.0e9) return false;
    *value = static_cast<float>(result);
    return true;
}

bool parse_size(std::string_view text, DWORD* width, DWORD* height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    long long w = 0;
    long long h = 0;
    if (!parse_int(text.substr(0, x), 1, kMaxFrameSide, &w) || !parse_int(text.substr(x + 1), 1, kMaxFrameSide, &h)) {
        return false;
    }
    *width = static_cast<DWORD>(w);
    *height = static_cast<DWORD>(h);
    return true;
}

}  // namespace

const char* scene_view_usage() {
    return "usage: vireline-scene-view FILE.3ds [--camera N] [--time T] [--size WxH]\n"
           "                          [--device software|opengl] [--out FRAME.png] [--no-dialog]\n"
           "  --camera N    draw through the scene's camera N (0 is the first)\n"
           "  --time T      animation time in keyframe frames (30 per second)\n"
           "  --size WxH    frame size in pixels (default 640x480)\n"
           "  --device D    software (default) or opengl\n"
           "  --out FILE    render one frame without a window and write it as PNG\n"
           "  --no-dialog   open the window without the Settings dialog\n";
}

SceneViewParse scene_view_parse(int argc, const char* const* argv, SceneViewOptions* options, std::string* error) {
    SceneViewOptions result;
    bool have_scene = false;
    auto fail = [&](std::string message) {
        *error = std::move(message);
        return SceneViewParse::Error;
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return SceneViewParse::Help;
        if (arg == "--no-dialog") {
            result.no_dialog = true;
            continue;
        }
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::string name = arg;
            std::string value;
            bool has_value = false;
            if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
                has_value = true;
            }
            const bool known = name == "--camera" || name == "--time" || name == "--size" || name == "--device" ||
                               name == "--out";
            if (!known) return fail("unknown option " + name);
            if (!has_value) {
                if (i + 1 >= argc) return fail(name + " needs a value");
                value = argv[++i];
            }
            if (name == "--camera") {
                long long camera = 0;
                if (!parse_int(value, 0, 65535, &camera)) return fail("--camera wants a camera number 0 or more, not '" + value + "'");
                result.camera = static_cast<int>(camera);
            } else if (name == "--time") {
                if (!parse_float(value, &result.time)) return fail("--time wants a number of frames, not '" + value + "'");
            } else if (name == "--size") {
                if (!parse_size(value, &result.width, &result.height)) {
                    return fail("--size wants WIDTHxHEIGHT from 1x1 to 8192x8192, not '" + value + "'");
                }
            } else if (name == "--device") {
                if (value == "software") {
                    result.device = SceneViewDevice::Software;
                } else if (value == "opengl") {
                    result.device = SceneViewDevice::OpenGL;
                } else {
                    return fail("--device wants software or opengl, not '" + value + "'");
                }
            } else {
                if (value.empty()) return fail("--out needs a file name");
                result.out_path = value;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') return fail("unknown option " + arg);
        if (have_scene) return fail("only one scene file, please ('" + arg + "' is a second one)");
        result.scene_path = arg;
        have_scene = true;
    }
    if (!have_scene) return fail("no scene file given (vireline-scene-view FILE.3ds ...)");
    *options = std::move(result);
    return SceneViewParse::Run;
}
