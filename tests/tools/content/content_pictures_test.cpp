// The generated pictures: every name the demo loads is there, each decodes with our decoder to the
// same pixels as with ImageMagick, at a power-of-two size of at most 1024 a side, and the pictures
// whose alpha the demo makes from their blue channel are bright marks on a black ground.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "content/pictures.h"
#include "content_test_util.h"
#include "image_rgba.h"
#include "textures/image_load.h"

// Names the picture in test output (found by argument-dependent lookup, so beside PictureJob).
void PrintTo(const PictureJob& job, std::ostream* out);
void PrintTo(const PictureJob& job, std::ostream* out) { *out << job.path; }

namespace {

bool power_of_two(int v) { return v > 0 && (v & (v - 1)) == 0; }

// ImageMagick's reading of a picture as R, G, B, A bytes, rows top first.
bool oracle_rgba(const std::string& path, std::vector<std::uint8_t>* rgba) {
    const std::string out = std::string(VIRELINE_BINARY_DIR) + "/test-output/content_oracle_" +
                            std::filesystem::path(path).filename().string() + ".rgba";
    std::filesystem::create_directories(std::filesystem::path(out).parent_path());
    const std::string command = "'" IMAGEMAGICK_CONVERT "' '" + path + "' -depth 8 'rgba:" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return false;
    *rgba = read_bytes(out);
    std::remove(out.c_str());
    return true;
}

class GeneratedPicture : public ::testing::TestWithParam<PictureJob> {};

TEST_P(GeneratedPicture, DecodesAlikeWithOurDecoderAndImageMagickAtAPowerOfTwoSize) {
    const PictureJob& job = GetParam();
    const std::filesystem::path path(job.path);
    DecodedImage image;
    std::string reason;
    const std::string directory = content_dir() + "/" + path.parent_path().string() + "/";
    ASSERT_EQ(image_load(image, directory.c_str(), path.filename().string().c_str(), &reason), S_OK) << reason;
    EXPECT_EQ(static_cast<int>(image.width), job.width);
    EXPECT_EQ(static_cast<int>(image.height), job.height);
    EXPECT_TRUE(power_of_two(static_cast<int>(image.width)) && power_of_two(static_cast<int>(image.height)));
    EXPECT_LE(image.width, 1024u);
    EXPECT_LE(image.height, 1024u);

    std::vector<std::uint8_t> ours, theirs;
    ASSERT_TRUE(image_rgba_bytes(image, ours));
    ASSERT_TRUE(oracle_rgba(content_path(job.path), &theirs));
    ASSERT_EQ(ours.size(), theirs.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) differing += ours[i] != theirs[i];
    EXPECT_EQ(differing, 0u);

    // Not a flat picture: something on it.
    std::uint8_t lowest = 255, highest = 0;
    for (std::size_t i = 0; i < ours.size(); i += 4)
        for (std::size_t c = 0; c < 3; ++c) {
            lowest = std::min(lowest, ours[i + c]);
            highest = std::max(highest, ours[i + c]);
        }
    EXPECT_GT(highest - lowest, 100);

    if (job.alpha_from_blue) {
        // Alpha will be the blue channel: the border is black, most of the picture is clear, and
        // the marks on it are bright.
        const auto blue = [&](int x, int y) { return ours[(static_cast<std::size_t>(y) * image.width + static_cast<std::size_t>(x)) * 4 + 2]; };
        int border_worst = 0, clear = 0, bright = 0;
        for (int y = 0; y < job.height; ++y)
            for (int x = 0; x < job.width; ++x) {
                const int b = blue(x, y);
                if (x < 2 || y < 2 || x >= job.width - 2 || y >= job.height - 2) border_worst = std::max(border_worst, b);
                clear += b < 24;
                bright += b > 200;
            }
        EXPECT_LE(border_worst, 16);
        EXPECT_GT(clear, job.width * job.height / 2);
        EXPECT_GT(bright, job.width * job.height / 200);
    }
}

INSTANTIATE_TEST_SUITE_P(Content, GeneratedPicture, ::testing::ValuesIn(picture_jobs()),
                         [](const auto& info) { return param_name(info.param.path); });

TEST(GeneratedContent, HoldsEveryFileTheDemoLoadsAndNothingElse) {
    // The demo's own list of what it loads from where.
    const std::set<std::string> demo = {
        "scenes/outous.3ds",     "scenes/kanjoni.3ds",    "scenes/altaat.3ds",     "scenes/taustaa.3ds",
        "scenes/planet.3ds",     "scenes/pallo.3ds",      "scenes/boxi.3ds",       "scenes/cylinder.3ds",
        "maps/creds/creds0.jpg", "maps/creds/creds1.jpg", "maps/creds/creds2.jpg", "maps/creds/creds3.jpg",
        "maps/creds/creds4.jpg", "maps/creds/creds5.jpg", "maps/creds/creds6.jpg", "maps/creds/kestra2.jpg",
        "maps/metal.jpg",        "maps/vireline.jpg",     "maps/allas.jpg",        "maps/tovel.jpg",
        "maps/tahteet.jpg",      "maps/mirte.jpg",        "maps/kuulat.jpg",       "maps/greets.jpg",
        "maps/kald.jpg",         "maps/orv.jpg",          "maps/tasma1.jpg",       "maps/tasma2.jpg"};
    const std::vector<std::string> manifest = content_manifest();
    const std::set<std::string> listed(manifest.begin(), manifest.end());
    EXPECT_EQ(listed.size(), manifest.size());
    for (const std::string& file : demo) EXPECT_EQ(listed.count(file), 1u) << file;

    // The build step names the same files as its outputs (so that it runs again only when needed).
    std::set<std::string> build_step;
    std::string list = VIRELINE_CONTENT_FILES;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find('|', start), list.size());
        if (end > start) build_step.insert(list.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(build_step, listed);

    // What the build wrote is exactly the list (the soundtrack has its own step).
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(content_dir()))
        if (entry.is_regular_file()) present.insert(std::filesystem::relative(entry.path(), content_dir()).string());
    present.erase("demo.mp3");
    EXPECT_EQ(present, listed);
}

}  // namespace
