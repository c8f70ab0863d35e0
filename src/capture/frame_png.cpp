#include "capture/frame_png.h"

#include "capture/frame_readback.h"
#include "capture/png_file.h"

bool frame_png_write(IDirectDrawSurface7* surface, const std::string& path, std::string* reason)
{
    FrameImage image;
    if (surface == nullptr || FAILED(frame_readback(surface, &image))) {
        *reason = "the frame could not be read back";
        return false;
    }
    return png_write(path, image, PngChannels::Rgb, reason);
}
