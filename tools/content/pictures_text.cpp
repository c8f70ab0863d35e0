// The pictures of words, all bright on black since the demo makes their alpha from their blue
// channel: the seven credits, the makers' emblem and the greetings. The credits say how this demo
// was made; the greetings thank the open projects it stands on.
#include <cmath>
#include <cstring>

#include "content/noise.h"
#include "content/picture_tools.h"
#include "content/pictures.h"
#include "content/vec3.h"

namespace {

using namespace palette;

struct Credit {
    const char* heading;
    const char* line1;
    const char* line2;
};

const Credit kCredits[7] = {
    {"VIRELINE", "a real-time demo", "written in C++20"},
    {"CODE", "C++20, GCC and CMake", "on Debian GNU/Linux"},
    {"GRAPHICS", "every picture painted", "from noise by a program"},
    {"SCENES", "3DS files written by", "the project's own writer"},
    {"PICTURES", "libjpeg-turbo, FreeType", "and the DejaVu fonts"},
    {"SOUND", "a soundtrack generated", "by the build as well"},
    {"DISPLAY", "SDL2, OpenGL and EGL", "or its own rasteriser"},
};

// Light letters: a cool glow under near-white text. Colour and blue stay high where the text is and
// fall to black around it.
void glowing_text(Picture& p, const Mask& text, Rgb glow, int radius, float strength) {
    Mask halo = text;
    halo.blur(std::max(1, static_cast<int>(static_cast<float>(radius) * p.pixel_stretch())), radius, 3);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Rgb under = p.at(x, y) + glow * (halo.at(x, y) * strength);
            p.at(x, y) = rgb_mix(under, cream * 0.3f + Rgb{0.7f, 0.72f, 0.75f}, text.at(x, y));
        }
}

}  // namespace

void paint_credits(Picture& p, int index) {
    const Credit& c = kCredits[index];
    p.fill([](float, float) { return Rgb{}; });
    // A thin rule under the heading, fading out to the right.
    p.shade([](float x, float y, Rgb col) {
        const float rule = std::exp(-std::pow((y - 0.4f) * 90.0f, 2.0f)) * smoothstep(1.9f, 0.1f, x) * smoothstep(0.04f, 0.1f, x);
        return col + Rgb{0.45f, 0.8f, 1.0f} * (rule * 0.8f);
    });
    const Mask text = set_text(p, {{c.heading, "DejaVuSans-Bold.ttf", 0.24f, 0.32f, 0.16f, TextAlign::Left, 0.05f},
                                   {c.line1, "DejaVuSans.ttf", 0.125f, 0.62f, 0.0f, TextAlign::Left, 0.05f},
                                   {c.line2, "DejaVuSans.ttf", 0.125f, 0.82f, 0.0f, TextAlign::Left, 0.05f}});
    glowing_text(p, text, Rgb{0.35f, 0.5f, 0.95f}, 4, 0.9f);
}

void paint_logo(Picture& p) {
    // The makers' emblem: a ring of light crossed by a rising wave line (a "vire", a ripple), a star
    // at its crest, and the name below.
    p.fill([](float x, float y) {
        const float dx = x - 0.5f, dy = y - 0.44f;
        const float r = std::hypot(dx, dy);
        Rgb c{};
        const float ring = std::exp(-std::pow((r - 0.3f) * 70.0f, 2.0f)) + 0.35f * std::exp(-std::pow((r - 0.3f) * 16.0f, 2.0f));
        const float inner = std::exp(-std::pow((r - 0.255f) * 160.0f, 2.0f)) * 0.6f;
        c = c + Rgb{0.55f, 0.75f, 1.0f} * ring + Rgb{0.9f, 0.6f, 1.0f} * inner;
        // The wave: a damped sine across the disc.
        if (std::fabs(dx) < 0.36f) {
            const float wave = -0.08f * std::sin(dx * 22.0f) * std::exp(-std::fabs(dx + 0.1f) * 4.0f) + dx * 0.25f;
            const float d = std::fabs(dy - wave);
            const float fade = smoothstep(0.36f, 0.28f, std::fabs(dx));
            c = c + Rgb{1.0f, 0.95f, 1.0f} * (std::exp(-d * d * 9000.0f) * fade) + Rgb{0.7f, 0.4f, 1.0f} * (std::exp(-d * 45.0f) * 0.5f * fade);
        }
        // A four-pointed star on the ring's upper right.
        const float sx = x - 0.71f, sy = y - 0.23f;
        const float star = std::exp(-std::fabs(sx) * 90.0f) * std::exp(-std::fabs(sy) * 14.0f) +
                           std::exp(-std::fabs(sy) * 90.0f) * std::exp(-std::fabs(sx) * 14.0f) + std::exp(-std::hypot(sx, sy) * 40.0f);
        c = c + Rgb{1.0f, 1.0f, 1.0f} * star;
        return c;
    });
    const Mask name = set_text(p, {{"VIRELINE", "DejaVuSans-Bold.ttf", 0.085f, 0.88f, 0.4f}});
    glowing_text(p, name, Rgb{0.5f, 0.6f, 1.0f}, 6, 1.0f);
}

void paint_greetings(Picture& p) {
    // One screen high, right half: a heading and the projects, alternating in two sizes.
    p.fill([](float, float) { return Rgb{}; });
    const char* names[] = {"GCC",          "CMake",        "LLVM / Clang",  "Debian",     "Linux",        "SDL",
                           "Mesa",         "libepoxy",     "libjpeg-turbo", "libpng",     "zlib",         "FreeType",
                           "DejaVu Fonts", "Dear ImGui",   "GoogleTest",    "Google Benchmark", "lib3ds", "assimp",
                           "ImageMagick",  "X.Org"};
    std::vector<TextLine> lines = {{"GREETINGS", "DejaVuSans-Bold.ttf", 0.042f, 0.07f, 0.25f},
                                   {"to the open projects we stand on", "DejaVuSans.ttf", 0.022f, 0.105f, 0.02f}};
    const int count = static_cast<int>(sizeof(names) / sizeof(names[0]));
    for (int k = 0; k < count; ++k) {
        const float y = 0.17f + 0.76f * static_cast<float>(k) / static_cast<float>(count - 1);
        const float size = (k % 2 == 0 ? 0.04f : 0.034f) * std::min(1.0f, 14.0f / static_cast<float>(std::strlen(names[k])));
        lines.push_back({names[k], k % 2 == 0 ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf", size, y, 0.05f});
    }
    const Mask text = set_text(p, lines);
    // Small stars between the lines.
    p.shade([](float x, float y, Rgb c) {
        const float inside = smoothstep(0.0f, 0.06f, x) * smoothstep(0.0f, 0.06f, 1.0f - y) * smoothstep(0.0f, 0.04f, y) *
                             smoothstep(0.0f, 0.06f, 2.0f / 3.0f - x);
        const float s = starfield(x, y, 40.0f, 1401u, 0.12f);
        return c + Rgb{0.7f, 0.8f, 1.0f} * (s * 0.5f * inside);
    });
    glowing_text(p, text, Rgb{0.4f, 0.45f, 1.0f}, 5, 1.0f);
}
