#include "content/noise.h"

#include <cmath>

namespace {

int wrap(int v, int period) {
    if (period <= 0) return v;
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
float mix(float a, float b, float t) { return a + (b - a) * t; }

float grad2(std::uint32_t h, float x, float y) {
    // Eight directions around the circle.
    switch (h & 7u) {
        case 0: return x + y;
        case 1: return x - y;
        case 2: return -x + y;
        case 3: return -x - y;
        case 4: return 1.4142135f * x;
        case 5: return -1.4142135f * x;
        case 6: return 1.4142135f * y;
        default: return -1.4142135f * y;
    }
}

float grad3(std::uint32_t h, float x, float y, float z) {
    switch (h % 12u) {
        case 0: return x + y;
        case 1: return -x + y;
        case 2: return x - y;
        case 3: return -x - y;
        case 4: return x + z;
        case 5: return -x + z;
        case 6: return x - z;
        case 7: return -x - z;
        case 8: return y + z;
        case 9: return -y + z;
        case 10: return y - z;
        default: return -y - z;
    }
}

}  // namespace

std::uint32_t noise_hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

std::uint32_t noise_hash2(int x, int y, std::uint32_t seed) {
    return noise_hash(static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ noise_hash(static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed));
}

std::uint32_t noise_hash3(int x, int y, int z, std::uint32_t seed) {
    return noise_hash2(x, y, noise_hash(static_cast<std::uint32_t>(z) * 0xCB1AB31Fu ^ seed));
}

float noise_unit(std::uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

float gradient_noise2(float x, float y, std::uint32_t seed, int period) { return gradient_noise2_periods(x, y, seed, period, period); }

float gradient_noise2_periods(float x, float y, std::uint32_t seed, int period_x, int period_y) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    const int x0 = wrap(ix, period_x), x1 = wrap(ix + 1, period_x);
    const int y0 = wrap(iy, period_y), y1 = wrap(iy + 1, period_y);
    const float n00 = grad2(noise_hash2(x0, y0, seed), dx, dy);
    const float n10 = grad2(noise_hash2(x1, y0, seed), dx - 1.0f, dy);
    const float n01 = grad2(noise_hash2(x0, y1, seed), dx, dy - 1.0f);
    const float n11 = grad2(noise_hash2(x1, y1, seed), dx - 1.0f, dy - 1.0f);
    const float u = fade(dx), v = fade(dy);
    return 0.7f * mix(mix(n00, n10, u), mix(n01, n11, u), v);
}

float gradient_noise3(float x, float y, float z, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    float corner[8];
    for (int c = 0; c < 8; ++c) {
        const int ox = c & 1, oy = (c >> 1) & 1, oz = (c >> 2) & 1;
        corner[c] = grad3(noise_hash3(ix + ox, iy + oy, iz + oz, seed), dx - static_cast<float>(ox),
                          dy - static_cast<float>(oy), dz - static_cast<float>(oz));
    }
    const float u = fade(dx), v = fade(dy), w = fade(dz);
    const float a = mix(mix(corner[0], corner[1], u), mix(corner[2], corner[3], u), v);
    const float b = mix(mix(corner[4], corner[5], u), mix(corner[6], corner[7], u), v);
    return 0.9f * mix(a, b, w);
}

float fbm2(float x, float y, std::uint32_t seed, int octaves, float gain, int period) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        const int p = period > 0 ? period << o : 0;
        sum += amplitude * gradient_noise2(x * frequency, y * frequency, seed + static_cast<std::uint32_t>(o) * 101u, p);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
    }
    return sum / total * 1.6f;
}

float fbm2_periods(float x, float y, std::uint32_t seed, int octaves, int period_x, int period_y) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradient_noise2_periods(x * frequency, y * frequency, seed + static_cast<std::uint32_t>(o) * 101u,
                                                   period_x > 0 ? period_x << o : 0, period_y > 0 ? period_y << o : 0);
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return sum / total * 1.6f;
}

float fbm3(float x, float y, float z, std::uint32_t seed, int octaves, float gain) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradient_noise3(x * frequency, y * frequency, z * frequency, seed + static_cast<std::uint32_t>(o) * 101u);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
    }
    return sum / total * 1.6f;
}

float ridged2(float x, float y, std::uint32_t seed, int octaves, int period) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f, weight = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        const int p = period > 0 ? period << o : 0;
        float n = 1.0f - std::fabs(gradient_noise2(x * frequency, y * frequency, seed + static_cast<std::uint32_t>(o) * 131u, p));
        n *= n;
        n *= weight;
        weight = n * 1.5f > 1.0f ? 1.0f : n * 1.5f;
        sum += amplitude * n;
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return sum / total;
}

float warped_fbm2(float x, float y, std::uint32_t seed, int octaves, float strength, int period) {
    const float qx = fbm2(x, y, seed + 17u, octaves, 0.5f, period);
    const float qy = fbm2(x + 5.2f, y + 1.3f, seed + 29u, octaves, 0.5f, period);
    if (period > 0) {
        // Warp by whole periods' worth of fields that themselves tile; the sum still tiles.
        return fbm2(x + strength * qx, y + strength * qy, seed, octaves, 0.5f, period);
    }
    const float rx = fbm2(x + strength * qx + 1.7f, y + strength * qy + 9.2f, seed + 41u, octaves);
    const float ry = fbm2(x + strength * qx + 8.3f, y + strength * qy + 2.8f, seed + 53u, octaves);
    return fbm2(x + strength * rx, y + strength * ry, seed, octaves);
}

CellDistance cellular2(float x, float y, std::uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    CellDistance out{1e9f, 1e9f, 0};
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            const int cx = ix + ox, cy = iy + oy;
            const std::uint32_t h = noise_hash2(wrap(cx, period), wrap(cy, period), seed);
            const float px = static_cast<float>(cx) + noise_unit(h);
            const float py = static_cast<float>(cy) + noise_unit(noise_hash(h));
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < out.nearest) {
                out.second = out.nearest;
                out.nearest = d;
                out.id = h;
            } else if (d < out.second) {
                out.second = d;
            }
        }
    return out;
}
