// Textures for surfaces: the effects' own pictures (metal, stars, the water's and the blob's sphere
// maps, the spiral's beads) and the scenes' materials (sky, nebula, sand, marble, strata, paving).
// Pictures that wrap round a surface tile: their noise repeats over the picture's width (and height
// where it wraps both ways).
#include <cmath>

#include "content/noise.h"
#include "content/picture_tools.h"
#include "content/pictures.h"
#include "content/vec3.h"

namespace {

using namespace palette;

// Noise coordinates that repeat every `period` lattice cells over one picture width: x and y given in
// [0, 1) of the picture.
float tile_fbm(float u, float v, float period, std::uint32_t seed, int octaves) {
    return fbm2(u * period, v * period, seed, octaves, 0.5f, static_cast<int>(period));
}

}  // namespace

void paint_metal(Picture& p) {
    // Brushed, iridescent metal: long streaks across, the colour turning from teal through violet
    // to gold along them.
    const Gradient sheen{{0.0f, deep_teal}, {0.25f, teal}, {0.45f, violet}, {0.6f, magenta}, {0.8f, gold}, {1.0f, cream}};
    p.fill([&](float x, float y) {
        // Fine brush marks along x, tiling both ways.
        const float brush = 0.6f * fbm2_periods(x * 4.0f, y * 96.0f, 301u, 3, 4, 96) + 0.4f * fbm2_periods(x * 16.0f, y * 192.0f, 302u, 2, 16, 192);
        const float marks = fbm2_periods(x * 2.0f, y * 48.0f, 305u, 2, 2, 48) * 0.5f + brush * 0.5f;
        // Soft iridescent bands across, bent a little.
        const float hue = clamp01(0.5f + 0.42f * std::sin((y + 0.08f * tile_fbm(x, y, 2.0f, 303u, 3)) * kTwoPi * 2.0f) + 0.1f * marks);
        const float light = 0.62f + 0.25f * marks + 0.15f * std::cos(y * kTwoPi);
        return sheen(hue) * light + cream * (0.35f * std::pow(clamp01(marks + 0.45f), 8.0f));
    });
}

void paint_stars(Picture& p) {
    // Stars on black over a faint veil, repeating both ways (the tunnel scrolls it without end).
    p.fill([&](float x, float y) {
        const float veil = clamp01(0.5f + 0.5f * tile_fbm(x, y, 4.0f, 401u, 5));
        Rgb c = rgb_mix(violet, deep_teal, veil) * (0.12f * veil * veil);
        const float s = starfield(x, y, 48.0f, 402u, 0.4f, 48) + 0.6f * starfield(x, y, 16.0f, 403u, 0.3f, 16);
        const float pick = noise_unit(noise_hash2(static_cast<int>(x * 48.0f), static_cast<int>(y * 48.0f), 404u));
        return c + rgb_mix(cyan, cream, pick) * s;
    });
    add_glow(p, 0.5f, 3, 0.8f, true);
}

void paint_pool(Picture& p) {
    // A dusk sky as a sphere map: the middle is straight up, the rim the horizon, the lower part of
    // the disc the courtyard's dark edge, with a low sun on the left.
    const Gradient sky{{0.0f, night}, {0.4f, violet}, {0.7f, magenta}, {0.88f, coral}, {1.0f, gold}};
    p.fill([&](float x, float y) {
        const float dx = x * 2.0f - 1.0f, dy = y * 2.0f - 1.0f;
        const float r = std::min(1.0f, std::hypot(dx, dy));
        Rgb c = sky(r * r);
        const float clouds = clamp01(0.5f + 0.6f * warped_fbm2(dx * 2.5f, dy * 2.5f, 501u, 5, 0.7f));
        c = rgb_mix(c, rgb_mix(plum, coral, r), clouds * clouds * 0.6f);
        const float sd = std::hypot(dx + 0.55f, dy + 0.25f);
        c = c + gold * (1.2f * std::exp(-sd * 6.0f)) + cream * std::exp(-sd * 20.0f);
        c = c + cream * (starfield(x, y, 40.0f, 502u, 0.25f) * (1.0f - r) * 0.8f);
        // The courtyard's dark edge round the horizon.
        c = rgb_mix(c, ink, smoothstep(0.86f, 1.0f, r) * 0.8f);
        return c;
    });
    add_glow(p, 0.7f, 6, 0.6f);
}

void paint_mirte(Picture& p) {
    // Bright bead: cellular scales with glowing seams, nearly colourless so that the tint decides.
    p.fill([&](float x, float y) {
        const CellDistance cell = cellular2(x * 8.0f, y * 8.0f, 601u, 8);
        const float seam = smoothstep(0.0f, 0.08f, cell.second - cell.nearest);
        const float shade = 0.55f + 0.45f * noise_unit(cell.id);
        const float sheen = 0.7f + 0.3f * tile_fbm(x, y, 8.0f, 602u, 3);
        const float v = shade * seam * sheen + (1.0f - seam) * 1.1f;
        return Rgb{v, v, v * 1.05f};
    });
}

void paint_blob_base(Picture& p) {
    // Latitude bands like a gas giant's, swirled, in violet and magenta with a gold belt: the blob
    // maps v by latitude and u across it.
    const Gradient bands{{0.0f, night}, {0.2f, violet}, {0.38f, magenta}, {0.5f, gold}, {0.62f, coral}, {0.8f, plum}, {1.0f, night}};
    p.fill([&](float x, float y) {
        const float swirl = tile_fbm(x, y, 4.0f, 701u, 5);
        const float lat = y + 0.06f * swirl + 0.02f * std::sin(x * kTwoPi * 3.0f + y * 20.0f);
        const float band = 0.5f + 0.5f * std::sin(lat * 26.0f + 2.0f * swirl);
        Rgb c = bands(clamp01(lat * 0.7f + 0.15f + 0.2f * band));
        c = c * (0.75f + 0.35f * band);
        const CellDistance storm = cellular2(x * 5.0f, y * 5.0f, 702u, 5);
        c = c + cream * (0.4f * std::exp(-storm.nearest * 14.0f) * smoothstep(0.3f, 0.7f, band));
        return c;
    });
}

void paint_blob_shine(Picture& p) {
    // The blob's reflection, added on top: a window of light upper left, a cooler fill lower right
    // and a rim of cyan; black elsewhere so that it only adds light.
    p.fill([&](float x, float y) {
        const float dx = x * 2.0f - 1.0f, dy = y * 2.0f - 1.0f;
        const float r = std::hypot(dx, dy);
        Rgb c = deep_teal * (0.35f * smoothstep(0.3f, 1.0f, r));
        c = c + cyan * (0.9f * std::exp(-std::pow((r - 0.95f) * 9.0f, 2.0f)));
        const float key = soft_disc(dx + 0.38f, dy + 0.42f, 0.42f);
        c = c + cream * (1.1f * key * key) + gold * (0.4f * soft_disc(dx + 0.3f, dy + 0.35f, 0.7f));
        c = c + magenta * (0.5f * soft_disc(dx - 0.45f, dy - 0.5f, 0.5f));
        return c;
    });
}

void paint_sky(Picture& p) {
    // The domes' sky: u once round, v from the zenith (top) to the nadir. Stars and a veil of nebula
    // above, the sunset glowing round the horizon (v near 0.55), brightest towards the sun (u 0.35).
    const Gradient dusk{{0.0f, ink}, {0.3f, night}, {0.42f, violet}, {0.5f, magenta}, {0.545f, coral}, {0.56f, gold}, {0.6f, plum}, {0.75f, night}, {1.0f, ink}};
    p.fill([&](float xd, float y) {
        const float u = xd / p.aspect();
        const float sun = std::exp(-std::pow(std::sin((u - 0.35f) * kPi) * 3.0f, 2.0f));
        const float clouds = tile_fbm(u * 2.0f, y * 2.0f, 6.0f, 801u, 5);
        float t = y + 0.02f * clouds;
        Rgb c = dusk(clamp01(t));
        c = rgb_mix(c, rgb_mix(dusk(clamp01(t + 0.05f)), gold, 0.4f), sun * smoothstep(0.35f, 0.54f, y) * smoothstep(0.62f, 0.54f, y));
        const float neb = clamp01(0.5f + 0.6f * tile_fbm(u, y * 0.5f, 5.0f, 802u, 6));
        c = c + rgb_mix(teal, magenta, neb) * (0.22f * neb * neb * smoothstep(0.5f, 0.1f, y));
        // Wisps of cloud lit from below near the horizon.
        const float wisp = smoothstep(0.2f, 0.7f, clouds * 0.5f + 0.5f) * smoothstep(0.3f, 0.5f, y) * smoothstep(0.58f, 0.52f, y);
        c = rgb_mix(c, rgb_mix(plum, coral, sun), wisp * 0.5f);
        const float stars = starfield(u * 2.0f, y, 220.0f, 803u, 0.35f, 440);
        c = c + cream * (stars * smoothstep(0.5f, 0.2f, y) * 0.9f);
        // A big moon, lit from the sunset side, drawn in angles so that it shows round on the dome.
        const float mu = 0.62f, mv = 0.34f, radius = 0.11f;
        float du = u - mu;
        du -= std::round(du);
        const float ax = du * kTwoPi * std::sin(mv * kPi), ay = (y - mv) * kPi;
        const float md = std::hypot(ax, ay) / radius;
        if (md < 1.0f) {
            const float z = std::sqrt(1.0f - md * md);
            const float lit = clamp01(0.35f * (ax / radius) + 0.2f * (ay / radius) + 0.6f * z);
            const CellDistance crater = cellular2(ax * 40.0f, ay * 40.0f, 804u);
            const float pits = 1.0f - 0.35f * smoothstep(0.35f, 0.1f, crater.nearest);
            const Rgb surface = rgb_mix(rgb_hex(0x6A5A8A), rgb_hex(0xFFE6D0), lit) * pits;
            c = rgb_mix(c, surface, smoothstep(1.0f, 0.97f, md));
        } else {
            c = c + rgb_hex(0xC8A0D8) * (0.25f * std::exp(-(md - 1.0f) * 6.0f));
        }
        return c;
    });
    add_glow(p, 0.75f, 10, 0.5f, true);
}

void paint_nebula(Picture& p) {
    // The backdrop's nebula round the whole view: warped clouds of magenta and teal over stars.
    const Gradient cloud{{0.0f, ink}, {0.35f, night}, {0.55f, violet}, {0.7f, magenta}, {0.85f, coral}, {1.0f, cream}};
    p.fill([&](float xd, float y) {
        const float u = xd / p.aspect();
        const float f = clamp01(0.5f + 0.55f * fbm2(u * 6.0f + 1.3f * tile_fbm(u, y, 3.0f, 902u, 4), y * 4.0f, 901u, 6, 0.55f, 6));
        Rgb c = cloud(f * (0.6f + 0.4f * std::sin(y * kPi)));
        const float dust = clamp01(0.5f + 0.6f * tile_fbm(u, y, 8.0f, 903u, 4));
        c = c + teal * (0.25f * dust * dust * (1.0f - f));
        c = c + cream * starfield(u * 2.0f, y, 160.0f, 904u, 0.35f, 320);
        return c;
    });
    add_glow(p, 0.65f, 10, 0.6f, true);
}

void paint_sand(Picture& p) {
    // Dusky dune sand with wind ripples; tiles both ways.
    p.fill([&](float x, float y) {
        const float warp = tile_fbm(x, y, 4.0f, 1001u, 4);
        const float ripple = 0.5f + 0.5f * std::sin((y + 0.25f * warp + 0.05f * tile_fbm(x, y, 16.0f, 1003u, 2)) * kTwoPi * 12.0f + x * kTwoPi);
        const float grain = noise_unit(noise_hash2(static_cast<int>(x * 256.0f), static_cast<int>(y * 256.0f), 1002u));
        const Rgb base = rgb_mix(rgb_hex(0x5A3A60), rgb_hex(0xB07A78), clamp01(0.5f + 0.5f * warp));
        return base * (0.75f + 0.25f * ripple + 0.08f * grain);
    });
}

void paint_marble(Picture& p) {
    // Pale marble with violet and gold veins; tiles both ways.
    p.fill([&](float x, float y) {
        const float f = tile_fbm(x, y, 4.0f, 1101u, 6);
        const float veins = std::pow(std::fabs(std::sin((x + y + 0.6f * f) * kTwoPi * 2.0f)), 0.25f);
        const Rgb stone = rgb_mix(rgb_hex(0xD8CCE0), rgb_hex(0xF4ECE4), clamp01(0.5f + f));
        Rgb c = rgb_mix(rgb_mix(violet, gold, clamp01(0.5f + 2.0f * f)), stone, veins);
        return c * (0.9f + 0.1f * tile_fbm(x, y, 16.0f, 1102u, 2));
    });
}

void paint_strata(Picture& p) {
    // Canyon rock in layers: v runs up the walls, so each row is a stratum; u tiles round.
    const Gradient layers{{0.0f, rgb_hex(0xB88868)}, {0.05f, rgb_hex(0x4A2438)}, {0.12f, rgb_hex(0x7A3A30)}, {0.25f, rgb_hex(0xB0603A)}, {0.36f, rgb_hex(0x8A4A52)},
                          {0.5f, rgb_hex(0xD08850)}, {0.62f, rgb_hex(0x9A5A6A)}, {0.75f, rgb_hex(0xE0A070)}, {0.88f, rgb_hex(0x6A3A5A)},
                          {0.96f, rgb_hex(0x3A1E2E)}, {1.0f, rgb_hex(0xB88868)}};
    p.fill([&](float x, float y) {
        const float wobble = tile_fbm(x, y, 4.0f, 1201u, 4);
        const float band = y * 3.0f + 0.05f * wobble;
        Rgb c = layers(band - std::floor(band));
        const float fine = 0.5f + 0.5f * std::sin(band * kTwoPi * 9.0f + 3.0f * tile_fbm(x, y, 8.0f, 1202u, 3));
        const float cracks = smoothstep(0.02f, 0.0f, cellular2(x * 16.0f, y * 6.0f, 1203u, 16).second -
                                                         cellular2(x * 16.0f, y * 6.0f, 1203u, 16).nearest);
        c = c * (0.8f + 0.2f * fine) * (1.0f - 0.5f * cracks);
        return c * (0.85f + 0.25f * tile_fbm(x, y, 16.0f, 1204u, 3));
    });
}

void paint_tiles(Picture& p) {
    // Paving of 4 × 4 stone slabs with dark joints, each slab a shade of its own; tiles both ways.
    p.fill([&](float x, float y) {
        const float gx = x * 4.0f, gy = y * 4.0f;
        const int cx = static_cast<int>(std::floor(gx)), cy = static_cast<int>(std::floor(gy));
        const float fx = gx - static_cast<float>(cx), fy = gy - static_cast<float>(cy);
        const float joint = smoothstep(0.0f, 0.04f, std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy)));
        const float shade = noise_unit(noise_hash2(cx & 3, cy & 3, 1301u));
        const Rgb slab = rgb_mix(rgb_hex(0x6A5A7A), rgb_hex(0xA898B0), shade);
        const float wear = tile_fbm(x, y, 8.0f, 1302u, 4);
        return rgb_mix(rgb_hex(0x1A1020), slab * (0.85f + 0.2f * wear), joint);
    });
}
