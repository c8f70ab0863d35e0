// Every picture of the shared test data through the loader, compared with ImageMagick's reading of
// the same file, and through the inspector program as a black box.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>

#include "image_rgba.h"
#include "image_test_files.h"
#include "sha256.h"
#include "testdata_table.h"
#include "textures/image_load.h"

namespace {
const std::string kTestData = VIRELINE_TESTDATA_DIR;

std::string scratch_path(const std::string& file, const char* suffix) {
    std::string name = file;
    for (char& c : name)
        if (c == '/') c = '_';
    return std::string(VIRELINE_BINARY_DIR) + "/testdata_" + name + suffix;
}

struct CommandResult {
    int status = -1;
    std::string output;
};

CommandResult run(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The independent decoder's R, G, B, A bytes of a file, rows top first as the file means them.
bool oracle_rgba(const std::string& file, Bytes& rgba) {
    const std::string out = scratch_path(file, ".oracle.rgba");
    const CommandResult result = run("'" IMAGEMAGICK_CONVERT "' '" + kTestData + "/" + file +
                                     "' -auto-orient -depth 8 'rgba:" + out + "' 2>/dev/null");
    if (result.status != 0) return false;
    rgba = read_file_bytes(out);
    return true;
}

Bytes mirrored(const Bytes& rgba, std::size_t width, std::size_t height) {
    Bytes out(rgba.size());
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) out[(y * width + x) * 4 + c] = rgba[(y * width + width - 1 - x) * 4 + c];
    return out;
}

// Position and size of the first difference, for a readable failure.
std::string first_difference(const Bytes& actual, const Bytes& expected, std::size_t width) {
    if (actual.size() != expected.size())
        return "sizes differ: " + std::to_string(actual.size()) + " vs " + std::to_string(expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            const std::size_t pixel = i / 4;
            return "pixel (" + std::to_string(pixel % width) + ", " + std::to_string(pixel / width) + ") channel " +
                   std::to_string(i % 4) + ": " + std::to_string(actual[i]) + " vs " + std::to_string(expected[i]);
        }
    }
    return "identical";
}

std::string json_field(const std::string& json, const std::string& key) {
    const std::regex pattern("\"" + key + "\": (\"([^\"]*)\"|[^,}]+)");
    std::smatch match;
    if (!std::regex_search(json, match, pattern)) return "<missing " + key + ">";
    return match[2].matched ? match[2].str() : match[1].str();
}

std::string hresult_text(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

class TestPictures : public testing::TestWithParam<TestPicture> {};
}  // namespace

TEST(TestPictureTable, CoversEveryFileOfTheThreeFolders) {
    std::set<std::string> listed;
    for (const TestPicture& p : kTestPictures) listed.insert(p.file);
    std::set<std::string> present;
    for (const char* folder : {"bmp", "tga", "jpg"})
        for (const auto& entry : std::filesystem::directory_iterator(kTestData + "/" + folder))
            present.insert(std::string(folder) + "/" + entry.path().filename().string());
    EXPECT_EQ(listed, present);
}

TEST_P(TestPictures, LoaderAgreesWithTheIndependentDecoder) {
    const TestPicture& picture = GetParam();
    SCOPED_TRACE(std::string(picture.file) + ": " + picture.why);
    const std::filesystem::path path = std::filesystem::path(kTestData) / picture.file;
    const std::string directory = path.parent_path().string() + "/";
    const std::string name = path.filename().string();

    DecodedImage image;
    std::string reason;
    const HRESULT hr = image_load(image, directory.c_str(), name.c_str(), &reason);
    if (picture.expect == Expect::Fails) {
        EXPECT_EQ(hr, picture.code) << reason;
        EXPECT_FALSE(reason.empty());
        EXPECT_FALSE(image.has_bitmap() || image.has_pixels());
        return;
    }
    ASSERT_EQ(hr, S_OK) << reason;
    const bool is_bitmap = std::string(picture.file).starts_with("bmp/");
    EXPECT_EQ(image.has_bitmap(), is_bitmap);
    EXPECT_EQ(image.has_pixels(), !is_bitmap);

    Bytes ours;
    const bool converted = image_rgba_bytes(image, ours);
    Bytes expected;
    const std::string oracle_file = picture.expect == Expect::MatchesOther ? picture.oracle_file : picture.file;
    ASSERT_TRUE(oracle_rgba(oracle_file, expected)) << "the independent decoder cannot read " << oracle_file;
    ASSERT_EQ(ours.size(), expected.size()) << image.width << " x " << image.height;

    if (picture.expect == Expect::LoadsUnconverted) {
        EXPECT_FALSE(converted);
        EXPECT_EQ(image.bitmap->bits_per_pixel(), picture.bits);
        EXPECT_EQ(ours, Bytes(ours.size(), 0));
        return;
    }
    EXPECT_TRUE(converted);
    if (picture.expect == Expect::MatchesMirrored) expected = mirrored(expected, image.width, image.height);
    EXPECT_TRUE(ours == expected) << first_difference(ours, expected, image.width);
}

TEST_P(TestPictures, InspectorReportsTheLoadersPicture) {
    const TestPicture& picture = GetParam();
    SCOPED_TRACE(picture.file);
    const std::string path = kTestData + "/" + picture.file;
    const std::string out = scratch_path(picture.file, ".inspector.rgba");
    std::filesystem::remove(out);
    const CommandResult result = run("'" VIRELINE_IMAGE_INFO "' --rgba '" + out + "' '" + path + "' 2>/dev/null");

    if (picture.expect == Expect::Fails) {
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_EQ(json_field(result.output, "result"), hresult_text(picture.code)) << result.output;
        EXPECT_NE(json_field(result.output, "reason"), "") << result.output;
        EXPECT_FALSE(std::filesystem::exists(out));
        return;
    }
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;

    // The same picture through the library in this process.
    DecodedImage image;
    const std::filesystem::path fs_path(path);
    ASSERT_EQ(image_load(image, (fs_path.parent_path().string() + "/").c_str(), fs_path.filename().string().c_str()),
              S_OK);
    Bytes expected;
    const bool converted = image_rgba_bytes(image, expected);

    EXPECT_EQ(json_field(result.output, "width"), std::to_string(image.width));
    EXPECT_EQ(json_field(result.output, "height"), std::to_string(image.height));
    EXPECT_EQ(json_field(result.output, "variant"), image.has_bitmap() ? "bitmap" : "pixels");
    EXPECT_EQ(json_field(result.output, "converted"), converted ? "true" : "false");
    const Bytes written = read_file_bytes(out);
    EXPECT_TRUE(written == expected);
    EXPECT_EQ(json_field(result.output, "sha256"), Sha256::hex(written));
    if (picture.expect == Expect::Matches) {
        // Black-box: the fingerprint is that of the independent decoder's bytes.
        Bytes oracle;
        ASSERT_TRUE(oracle_rgba(picture.file, oracle));
        EXPECT_EQ(json_field(result.output, "sha256"), Sha256::hex(oracle));
    }
}

INSTANTIATE_TEST_SUITE_P(SharedTestData, TestPictures, testing::ValuesIn(kTestPictures),
                         [](const testing::TestParamInfo<TestPicture>& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(Inspector, UsageAndUnknownExtensions) {
    EXPECT_EQ(run("'" VIRELINE_IMAGE_INFO "' 2>/dev/null").status, 2);
    EXPECT_EQ(run("'" VIRELINE_IMAGE_INFO "' --rgba 2>/dev/null").status, 2);
    const CommandResult png = run("'" VIRELINE_IMAGE_INFO "' picture.png");
    EXPECT_EQ(png.status, 1);
    EXPECT_EQ(json_field(png.output, "result"), "0x80004001");
    const CommandResult missing = run("'" VIRELINE_IMAGE_INFO "' /nonexistent/dir/picture.BMP");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(json_field(missing.output, "result"), "0x887600FF");
    EXPECT_NE(json_field(missing.output, "reason").find("/nonexistent/dir/picture.BMP"), std::string::npos);
}
