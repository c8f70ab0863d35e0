// Rasterisation of set-up triangles, lines and points: the covered spans of a triangle inside a pixel
// rectangle (a tile of the draw queue, or the whole box of a draw that runs at once), row by row, narrow
// spans two rows at a time where a two-row loop exists, covered spans going to the pixel loop. Lines
// (wireframe fill, line lists and strips) and points are stepped pixel by pixel through the same loop.
#pragma once

#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace soft {

// The covered pixels of t inside [x0, x1) × [y0, y1). pair, where not null, draws narrow spans two rows
// at a time.
void raster_triangle(const DrawConstants& k, SpanFn span, SpanPairFn pair, const SetupTriangle& t, int x0, int y0,
                     int x1, int y1);

// A line from a to b (LASTPIXEL draws the end pixel) and a point, both through the pixel loop.
void draw_line(const DrawConstants& k, SpanFn span, const ScreenVertex& a, const ScreenVertex& b, bool last_pixel);
void draw_point(const DrawConstants& k, SpanFn span, const ScreenVertex& v);

}  // namespace soft
