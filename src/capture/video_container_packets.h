// The step every FFmpeg stream of a capture shares: hand the encoder a frame (or nothing, to flush it)
// and pass each packet it gives back to the muxer, its timestamps moved from the encoder's time base
// to the stream's, interleaved with the other stream's. Failures come back as one line naming the
// stream and FFmpeg's own reason.
#pragma once

#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

// FFmpeg's text for an error code.
std::string av_error_text(int code);

// Sends frame (null: the end of the stream) and muxes every packet ready; what names the stream
// in messages ("H.264").
bool av_encode_and_mux(AVCodecContext* codec, const AVFrame* frame, AVStream* stream, AVFormatContext* format,
                       AVPacket* packet, const char* what, std::string* error);
