// Keeping 16-bit render targets at their own precision. The software device stores every pixel it
// writes into a 16-bit target truncated to the target's channels and reads it back widened by bit
// replication, so blends and later samples see the narrow values. The GL copy of such a target is
// RGBA8; to see the same values, an unblended draw writes colours already narrowed (quantize_glsl, in
// the generated fragment shader), and after a blended draw a pass narrows what it produced
// (TargetQuantizer). 32-bit targets need none of this.
#pragma once

#include <epoxy/gl.h>

#include <string>

#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/gl/shadow_state.h"
#include "platform/d3d/gl/texture_cache.h"

// Whether a target kind stores fewer than 8 bits per channel.
bool quantize_needed(PixelKind kind);
// Bits of red, green, blue and alpha (alpha 0: none, reads 1).
void quantize_bits(PixelKind kind, int bits[4]);
// GLSL: vec4 quantize(vec4 c) for one kind: each channel truncated to its bits from the nearest 8-bit
// level and widened back by bit replication, as 0..1.
std::string quantize_glsl(PixelKind kind);
// The same on the CPU for one colour (a clear colour).
std::uint32_t quantize_argb(PixelKind kind, std::uint32_t argb);

class TargetQuantizer {
public:
    explicit TargetQuantizer(GlShadowState& gl) : gl_(gl) {}
    ~TargetQuantizer();  // the context must be current
    TargetQuantizer(const TargetQuantizer&) = delete;
    TargetQuantizer& operator=(const TargetQuantizer&) = delete;

    // Narrows the pixels of target inside [x0, x1) × [y0, y1); fbo draws into target. GL state the pass
    // changes goes through the shadow state; callers set their own again before drawing.
    void run(Surface& target, GLuint fbo, int x0, int y0, int x1, int y1);

private:
    GLuint program_for(PixelKind kind);

    GlShadowState& gl_;
    GLuint programs_[8] = {};
    GLuint scratch_ = 0;
    GLuint scratch_fbo_ = 0;
    int scratch_width_ = 0;
    int scratch_height_ = 0;
    GLuint empty_array_ = 0;
};
