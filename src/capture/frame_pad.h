// Fitting a frame into a larger picture: the frame centred on opaque black, as pillar- or letterbox
// bars when the aspect differs. An odd difference puts the extra column or row on the right or bottom.
#pragma once

#include "capture/frame_image.h"

// Fills *out (resized to width x height) with frame centred on black; frame must fit.
void frame_pad_centred(const FrameImage& frame, int width, int height, FrameImage* out);
