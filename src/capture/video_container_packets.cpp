#include "capture/video_container_packets.h"

extern "C" {
#include <libavutil/error.h>
}

std::string av_error_text(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
}

bool av_encode_and_mux(AVCodecContext* codec, const AVFrame* frame, AVStream* stream, AVFormatContext* format,
                       AVPacket* packet, const char* what, std::string* error)
{
    int result = avcodec_send_frame(codec, frame);
    if (result < 0) {
        *error = std::string("the ") + what + " encoder failed: " + av_error_text(result);
        return false;
    }
    for (;;) {
        result = avcodec_receive_packet(codec, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
        if (result < 0) {
            *error = std::string("the ") + what + " encoder failed: " + av_error_text(result);
            return false;
        }
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        result = av_interleaved_write_frame(format, packet);  // takes the packet's data, leaves it blank
        if (result < 0) {
            *error = std::string("cannot write the ") + what + " stream: " + av_error_text(result);
            return false;
        }
    }
}
