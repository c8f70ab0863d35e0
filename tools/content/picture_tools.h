// Brushes the picture recipes share: starfields, soft glow of a bright layer, lens-flare rings and
// text set in glowing letters.
#pragma once

#include <string>
#include <vector>

#include "content/colour.h"
#include "content/picture.h"
#include "content/text.h"

// Star brightness at (x, y) for stars on a grid of `cells` per unit; a period (in cells) makes it tile.
float starfield(float x, float y, float cells, std::uint32_t seed, float density = 0.35f, int period = 0);
// A copy of the picture's bright parts (above threshold) blurred by `radius` pixels and added back.
void add_glow(Picture& picture, float threshold, int radius, float strength, bool wrap = false);
// Soft disc: 1 at the centre, falling to 0 at radius.
float soft_disc(float dx, float dy, float radius);

struct TextLine {
    std::string text;
    const char* font;   // a DejaVu file name
    float size;         // em height as a fraction of the picture's height
    float y;            // baseline as a fraction of the picture's height
    float tracking = 0.0f;  // extra space between letters, in ems
    TextAlign align = TextAlign::Centre;
    float x = 0.5f;     // anchor as a fraction of the picture's width
};

// Coverage of the lines, set at the picture's displayed proportions.
Mask set_text(const Picture& picture, const std::vector<TextLine>& lines);
