// A trail effect for a whole frame: the scene is rendered into an off-screen texture ("motionblur")
// instead of the back buffer, which is then laid over the back buffer at a low opacity; since the back
// buffer is not cleared, earlier frames show through and moving objects leave fading trails. The
// application instance owns one MotionBlur, creates its target right after the device and forwards
// the demo parts' motion_blur_begin, motion_blur_end and motion_blur_draw to it. Both switches go
// through set_render_target, so the depth buffer moves along; the composite runs inside a state block
// that captures the whole device state and applies it again afterwards.
#pragma once

#include "platform/d3d/d3d.h"

constexpr const char* MOTION_BLUR_TEXTURE = "motionblur";

// 512 above 512, else 256 (also for 256 or less).
DWORD motion_blur_target_size(DWORD viewport_dimension);

class MotionBlur {
public:
    // Reads the viewport and creates the render-target texture (32 bits, no alpha, DDSCAPS_3DDEVICE).
    HRESULT create_target();
    // Releases the texture's surface, then deletes the texture.
    void release();
    // Makes the texture the render target.
    void begin();
    // Makes the back buffer the render target again.
    void end(IDirectDrawSurface7* back_buffer);
    // Draws the texture over the whole viewport with opacity alpha (0 … 1), every state left as it was.
    void draw(float alpha);

    DWORD state_block() const { return state_block_; }

private:
    DWORD state_block_ = 0;  // valid only during draw
};
