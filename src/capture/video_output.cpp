#include "capture/video_output.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

bool ends_with_lower(const std::string& path, const std::string& suffix)
{
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char s, char p) { return s == std::tolower(static_cast<unsigned char>(p)); });
}

constexpr int kLargestSide = 16384;

}  // namespace

const char* video_form_name(VideoForm form)
{
    switch (form) {
    case VideoForm::mp4: return "MP4 (H.264 and AAC)";
    case VideoForm::mkv: return "Matroska (FFV1 and FLAC)";
    case VideoForm::folder: return "PNG frames and a WAV file";
    }
    return "?";
}

bool video_form_of_path(const std::string& path, VideoForm* form, std::string* error)
{
    std::error_code ec;
    if (path.empty()) {
        *error = "no capture path given";
        return false;
    }
    if (path.back() == '/' || std::filesystem::is_directory(path, ec)) {
        *form = VideoForm::folder;
        return true;
    }
    if (ends_with_lower(path, ".mp4")) {
        *form = VideoForm::mp4;
        return true;
    }
    if (ends_with_lower(path, ".mkv")) {
        *form = VideoForm::mkv;
        return true;
    }
    *error = "cannot capture to " + path + ": name a .mp4 file, a .mkv file or a folder (ending in /)";
    return false;
}

bool video_settings_resolve(VideoSettings* s, VideoForm form, std::string* error)
{
    const std::string what = "cannot capture to " + s->path + ": ";
    if (!s->fps.valid()) {
        *error = what + "bad frame rate " + s->fps.text();
        return false;
    }
    if (s->frame_width < 1 || s->frame_height < 1 || s->frame_width > kLargestSide || s->frame_height > kLargestSide) {
        *error = what + "bad frame size " + std::to_string(s->frame_width) + "x" + std::to_string(s->frame_height);
        return false;
    }
    if (s->width == 0) s->width = s->frame_width;
    if (s->height == 0) s->height = s->frame_height;
    const std::string size = std::to_string(s->width) + "x" + std::to_string(s->height);
    const std::string frame = std::to_string(s->frame_width) + "x" + std::to_string(s->frame_height);
    if (s->width < s->frame_width || s->height < s->frame_height || s->width > kLargestSide || s->height > kLargestSide) {
        *error = what + "the output size " + size + " must hold the " + frame + " frame";
        return false;
    }
    if (form == VideoForm::mp4 && (s->width % 2 != 0 || s->height % 2 != 0)) {
        *error = what + "H.264 in 4:2:0 needs an even width and height, not " + size;
        return false;
    }
    if (s->sample_rate < 8000 || s->sample_rate > 192000) {
        *error = what + "bad sample rate " + std::to_string(s->sample_rate);
        return false;
    }
    if (s->queue_frames < 1 || s->queue_frames > 64) {
        *error = what + "the queue holds 1 to 64 frames, not " + std::to_string(s->queue_frames);
        return false;
    }
    if (s->x264_crf < 0 || s->x264_crf > 51) {
        *error = what + "the x264 rate factor is 0 to 51, not " + std::to_string(s->x264_crf);
        return false;
    }
    return true;
}
