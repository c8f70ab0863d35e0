#include "capture/frame_folder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "capture/png_file.h"
#include "capture/wav_file.h"

namespace {

class FrameFolder final : public VideoSink {
public:
    explicit FrameFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    bool open(int sample_rate, std::string* error) { return wav_.open((folder_ / "audio.wav").string(), sample_rate, error); }

    bool write(const FrameImage& picture, const std::int16_t* samples, std::size_t sample_frames, std::string* error) override
    {
        const std::filesystem::path final_path = folder_ / frame_folder_name(next_);
        const std::filesystem::path part = final_path.string() + ".part";
        if (!png_write(part.string(), picture, PngChannels::Rgb, error)) return false;
        std::error_code ec;
        std::filesystem::rename(part, final_path, ec);
        if (ec) {
            *error = "cannot write " + final_path.string() + ": " + ec.message();
            return false;
        }
        pictures_ += std::filesystem::file_size(final_path, ec);
        ++next_;
        return wav_.append(samples, sample_frames, error);
    }

    bool finish(std::string* error) override { return wav_.close(error); }
    std::uint64_t bytes() const override { return pictures_ + wav_.bytes(); }

private:
    std::filesystem::path folder_;
    WavFile wav_;
    std::int64_t next_ = 0;
    std::uint64_t pictures_ = 0;
};

}  // namespace

std::string frame_folder_name(std::int64_t n)
{
    char name[32];
    std::snprintf(name, sizeof(name), "%06lld.png", static_cast<long long>(n));
    return name;
}

std::unique_ptr<VideoSink> frame_folder_open(const VideoSettings& settings, std::string* error)
{
    const std::filesystem::path folder(settings.path);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        *error = "cannot create the folder " + settings.path + (ec ? ": " + ec.message() : std::string());
        return nullptr;
    }
    for (const char* name : {"000000.png", "audio.wav"}) {
        if (std::filesystem::exists(folder / name, ec)) {
            *error = "cannot capture to " + settings.path + ": it already holds a capture (" + name +
                     "); remove it or choose another folder";
            return nullptr;
        }
    }
    auto sink = std::make_unique<FrameFolder>(folder);
    if (!sink->open(settings.sample_rate, error)) return nullptr;
    return sink;
}
