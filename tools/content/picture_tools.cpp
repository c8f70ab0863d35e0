#include "content/picture_tools.h"

#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>

#include "content/noise.h"

float starfield(float x, float y, float cells, std::uint32_t seed, float density, int period) {
    const float gx = x * cells, gy = y * cells;
    const int cx = static_cast<int>(std::floor(gx)), cy = static_cast<int>(std::floor(gy));
    float sum = 0.0f;
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            int kx = cx + ox, ky = cy + oy;
            int hx = kx, hy = ky;
            if (period > 0) {
                hx = ((hx % period) + period) % period;
                hy = ((hy % period) + period) % period;
            }
            const std::uint32_t h = noise_hash2(hx, hy, seed);
            if (noise_unit(h) > density) continue;
            const float sx = static_cast<float>(kx) + noise_unit(noise_hash(h ^ 0x51u));
            const float sy = static_cast<float>(ky) + noise_unit(noise_hash(h ^ 0xA7u));
            const float bright = std::pow(noise_unit(noise_hash(h ^ 0x3Cu)), 4.0f);
            const float size = 0.04f + 0.12f * bright;
            const float d2 = ((gx - sx) * (gx - sx) + (gy - sy) * (gy - sy)) / (size * size);
            sum += (0.25f + 2.2f * bright) * std::exp(-d2);
        }
    return sum;
}

void add_glow(Picture& picture, float threshold, int radius, float strength, bool wrap) {
    Picture bright(picture.width(), picture.height(), picture.aspect());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.at(x, y);
            const float l = std::max(c.r, std::max(c.g, c.b));
            const float k = l > threshold ? (l - threshold) / (l + 1e-6f) : 0.0f;
            bright.at(x, y) = c * k;
        }
    const int rx = std::max(1, static_cast<int>(static_cast<float>(radius) * picture.pixel_stretch()));
    bright.blur(rx, radius, 3, wrap);
    picture.add(bright, strength);
}

float soft_disc(float dx, float dy, float radius) {
    const float d = std::sqrt(dx * dx + dy * dy) / radius;
    return d >= 1.0f ? 0.0f : (1.0f - d * d) * (1.0f - d * d);
}

Mask set_text(const Picture& picture, const std::vector<TextLine>& lines) {
    Mask mask(picture.width(), picture.height());
    std::map<std::string, std::unique_ptr<TextFont>> fonts;
    const float h = static_cast<float>(picture.height());
    for (const TextLine& line : lines) {
        auto& font = fonts[line.font];
        if (!font) font = std::make_unique<TextFont>(text_font_path(line.font));
        if (!font->ok()) throw std::runtime_error(font->error());
        const float size_y = line.size * h;
        const float size_x = size_y * picture.pixel_stretch();
        font->draw(mask, line.text, line.x * static_cast<float>(picture.width()), line.y * h, size_x, size_y, line.align,
                   line.tracking * size_x);
    }
    return mask;
}
