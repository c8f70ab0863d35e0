// Every picture of the shared test data through the loader, compared with ImageMagick's reading of
// the same file, and through the inspector program as a black box.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
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

struct CommandResult {
    int status = -1;
    std::string output;
};

CommandResult run(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string scratch_path(std::string file, const char* suffix) {
    std::replace(file.begin(), file.end(), '/', '_');
    return std::string(VIRELINE_BINARY_DIR) + "/testdata_" + file + suffix;
}

// The independent decoder's R, G, B, A bytes of a file, rows top first as the file means them, and
// left and right exchanged if asked.
bool oracle_rgba(const std::string& file, bool mirrored, Bytes& rgba) {
    const std::string out = scratch_path(file, ".oracle.rgba");
    if (run("'" IMAGEMAGICK_CONVERT "' '" + kTestData + "/" + file + "' -auto-orient " + (mirrored ? "-flop " : "") +
            "-depth 8 'rgba:" + out + "' 2>/dev/null").status != 0)
        return false;
    rgba = read_file_bytes(out);
    return true;
}

std::string json_field(const std::string& json, const std::string& key) {
    const std::regex pattern("\"" + key + "\": (\"([^\"]*)\"|[^,}]+)");
    std::smatch match;
    if (!std::regex_search(json, match, pattern)) return "<missing " + key + ">";
    return match[2].matched ? match[2].str() : match[1].str();
}

HRESULT json_result(const std::string& json) {
    return static_cast<HRESULT>(std::stoul(json_field(json, "result").substr(2), nullptr, 16));
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

TEST_P(TestPictures, LoaderAndInspectorAgreeWithTheIndependentDecoder) {
    const TestPicture& picture = GetParam();
    SCOPED_TRACE(std::string(picture.file) + ": " + picture.why);
    const std::filesystem::path path = std::filesystem::path(kTestData) / picture.file;
    const std::string directory = path.parent_path().string() + "/", name = path.filename().string();
    const std::string rgba_out = scratch_path(picture.file, ".inspector.rgba");
    std::filesystem::remove(rgba_out);
    const CommandResult inspector =
        run("'" VIRELINE_IMAGE_INFO "' --rgba '" + rgba_out + "' '" + path.string() + "' 2>/dev/null");

    DecodedImage image;
    std::string reason;
    const HRESULT hr = image_load(image, directory.c_str(), name.c_str(), &reason);
    if (picture.expect == Expect::Fails) {
        EXPECT_EQ(hr, picture.code) << reason;
        EXPECT_FALSE(reason.empty() || image.has_bitmap() || image.has_pixels());
        EXPECT_EQ(inspector.status, 1) << inspector.output;
        EXPECT_EQ(json_result(inspector.output), picture.code) << inspector.output;
        EXPECT_NE(json_field(inspector.output, "reason"), "") << inspector.output;
        EXPECT_FALSE(std::filesystem::exists(rgba_out));
        return;
    }
    ASSERT_EQ(hr, S_OK) << reason;
    Bytes ours, expected;
    const bool converted = image_rgba_bytes(image, ours);
    const std::string oracle_file = picture.expect == Expect::MatchesOther ? picture.oracle_file : picture.file;
    ASSERT_TRUE(oracle_rgba(oracle_file, picture.expect == Expect::MatchesMirrored, expected)) << oracle_file;
    ASSERT_EQ(ours.size(), expected.size()) << image.width << " x " << image.height;
    if (picture.expect == Expect::LoadsUnconverted) {
        EXPECT_EQ(image.has_bitmap() ? image.bitmap->bits_per_pixel() : 0, picture.bits);
        expected.assign(ours.size(), 0);  // the conversion leaves the picture alone
    }
    EXPECT_EQ(converted, picture.expect != Expect::LoadsUnconverted);
    const std::size_t at = std::mismatch(ours.begin(), ours.end(), expected.begin()).first - ours.begin();
    EXPECT_TRUE(ours == expected) << "first difference at pixel (" << at / 4 % image.width << ", "
                                  << at / 4 / image.width << ") channel " << at % 4;

    // The inspector as a black box: one line about the same picture, and the same bytes.
    ASSERT_EQ(inspector.status, 0) << inspector.output;
    EXPECT_EQ(std::count(inspector.output.begin(), inspector.output.end(), '\n'), 1) << inspector.output;
    EXPECT_EQ(json_field(inspector.output, "width"), std::to_string(image.width));
    EXPECT_EQ(json_field(inspector.output, "height"), std::to_string(image.height));
    EXPECT_EQ(json_field(inspector.output, "variant"), picture.file[0] == 'b' ? "bitmap" : "pixels");  // bmp/
    EXPECT_EQ(json_field(inspector.output, "converted"), converted ? "true" : "false");
    EXPECT_TRUE(read_file_bytes(rgba_out) == expected);
    EXPECT_EQ(json_field(inspector.output, "sha256"), Sha256::hex(expected));
}

INSTANTIATE_TEST_SUITE_P(SharedTestData, TestPictures, testing::ValuesIn(kTestPictures), [](const auto& info) {
    std::string name = info.param.file;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
});

TEST(Inspector, UsageAndUnknownExtensions) {
    EXPECT_EQ(run("'" VIRELINE_IMAGE_INFO "' 2>/dev/null").status, 2);
    EXPECT_EQ(run("'" VIRELINE_IMAGE_INFO "' --rgba 2>/dev/null").status, 2);
    const CommandResult png = run("'" VIRELINE_IMAGE_INFO "' picture.png");
    EXPECT_EQ(png.status, 1);
    EXPECT_EQ(json_result(png.output), E_NOTIMPL);
    const CommandResult missing = run("'" VIRELINE_IMAGE_INFO "' /nonexistent/dir/picture.BMP");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(json_result(missing.output), DDERR_NOTFOUND);
    EXPECT_NE(json_field(missing.output, "reason").find("/nonexistent/dir/picture.BMP"), std::string::npos);
}
