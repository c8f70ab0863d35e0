// Start-up cost of the pictures: each benchmark decodes a file held in memory and converts it into
// an A8R8G8B8 surface, as loading a texture does. The counter "time_per_MP" is the processor time
// per megapixel (the goal is under 10 ms for the demo's JPEGs of up to 1024 × 1024).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "textures/image_test_files.h"
#include "textures/bmp_read.h"
#include "textures/jpeg_read.h"
#include "textures/surface_convert.h"
#include "textures/tga_read.h"

namespace {
// A photograph-like picture: smooth gradients with fine texture, so the JPEG is of typical size.
Bytes photo_like(int width, int height) {
    Bytes rgb;
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t noise = 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 28) - 8;
            const double wave = 40.0 * std::sin(x * 0.05) * std::cos(y * 0.03);
            auto clamp = [](double v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
            rgb.push_back(clamp(x * 200.0 / width + wave + grain));
            rgb.push_back(clamp(y * 200.0 / height - wave + grain));
            rgb.push_back(clamp(128 + wave * 1.5 + grain));
        }
    }
    return rgb;
}

void convert(const DecodedImage& image, std::vector<DWORD>& surface) {
    surface.resize(static_cast<std::size_t>(image.width) * image.height);
    const SurfaceDestination destination{surface.data(), static_cast<LONG>(image.width * 4), 32,
                                         0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    if (image.has_bitmap())
        bitmap_to_surface(image, destination);
    else
        pixels_to_surface(image, destination);
}

using Decoder = HRESULT (*)(std::span<const BYTE>, DecodedImage&, const ImageLimits&, std::string*);

void run(benchmark::State& state, const Bytes& file, Decoder decode) {
    std::vector<DWORD> surface;
    double megapixels = 0;
    for (auto _ : state) {
        DecodedImage image;
        if (FAILED(decode(file, image, ImageLimits{}, nullptr))) {
            state.SkipWithError("decoding failed");
            return;
        }
        convert(image, surface);
        benchmark::DoNotOptimize(surface.data());
        megapixels = image.width * static_cast<double>(image.height) / 1e6;
    }
    // CPU seconds per megapixel, printed with an SI prefix ("7.5ms").
    state.counters["time_per_MP"] = benchmark::Counter(
        megapixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["MP"] = megapixels;
}

void BM_JpegSynthetic(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    static std::vector<Bytes> files(4097);
    Bytes& file = files[static_cast<std::size_t>(size)];
    if (file.empty()) file = jpeg_encode(size, size, 3, photo_like(size, size), 90);
    run(state, file, jpeg_decode);
}
BENCHMARK(BM_JpegSynthetic)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_TestDataFile(benchmark::State& state, const char* file, Decoder decode) {
    Bytes bytes;
    try {
        bytes = read_file_bytes(std::string(VIRELINE_TESTDATA_DIR) + "/" + file);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    run(state, bytes, decode);
}
BENCHMARK_CAPTURE(BM_TestDataFile, jeep1_jpg_512, "3ds/jeep1.jpg", jpeg_decode)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TestDataFile, progressive3_jpg_650x470, "jpg/progressive3.jpg", jpeg_decode)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TestDataFile, m_rifl_bmp_256, "3ds/m_rifl.bmp", bmp_decode)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TestDataFile, ctc24_tga_rle_128, "tga/ctc24.tga", tga_decode)->Unit(benchmark::kMillisecond);

// A 1024 × 1024 32-bit run-length TGA made of short runs and raw packets.
void BM_TgaSynthetic(benchmark::State& state) {
    const int size = 1024;
    Bytes body;
    const Bytes rgb = photo_like(size, size);
    for (std::size_t i = 0; i < rgb.size() / 3; i += 4) {
        body.push_back(0x81);  // run of 2
        body.insert(body.end(), {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 255});
        body.push_back(0x01);  // raw 2
        for (std::size_t j = i + 2; j < i + 4; ++j) body.insert(body.end(), {rgb[3 * j + 2], rgb[3 * j + 1], rgb[3 * j], 200});
    }
    run(state, tga_file(10, size, size, 32, 0x20, body), tga_decode);
}
BENCHMARK(BM_TgaSynthetic)->Unit(benchmark::kMillisecond);
}  // namespace
