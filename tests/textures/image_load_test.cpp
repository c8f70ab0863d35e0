#include <gtest/gtest.h>

#include <filesystem>

#include "image_test_files.h"
#include "textures/image_load.h"

namespace {
// A scratch directory holding one small picture of each type under several spellings.
class ImageLoad : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::filesystem::create_directories(directory());
        write_file_bytes(directory() + "red.tga", tga_file(2, 1, 1, 24, 0x20, {0, 0, 255}));
        write_file_bytes(directory() + "grey.jpg", jpeg_encode(8, 8, 1, Bytes(64, 200)));
        write_file_bytes(directory() + "GREY.JPG", jpeg_encode(8, 8, 1, Bytes(64, 200)));
        write_file_bytes(directory() + "blue.bmp", bmp_file(1, 1, 24, {{255, 0, 0, 0}}));
        write_file_bytes(directory() + "blue.jpeg", jpeg_encode(8, 8, 1, Bytes(64, 200)));
        write_file_bytes(directory() + "noext", tga_file(2, 1, 1, 24, 0x20, {0, 0, 255}));
        write_file_bytes(directory() + "broken.tga", Bytes(5, 0));
    }
    static std::string directory() { return VIRELINE_BINARY_DIR "/image_load_test/"; }
};
}  // namespace

TEST_F(ImageLoad, ExtensionPicksTheReaderWithoutRegardToCase) {
    DecodedImage image;
    ASSERT_EQ(image_load(image, directory().c_str(), "red.tga"), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0xFF0000FF}));

    ASSERT_EQ(image_load(image, directory().c_str(), "GREY.JPG"), S_OK);
    EXPECT_EQ(image.width, 8u);
    EXPECT_TRUE(image.has_pixels());

    ASSERT_EQ(image_load(image, directory().c_str(), "blue.bmp"), S_OK);
    EXPECT_TRUE(image.has_bitmap());
    EXPECT_FALSE(image.has_pixels());
    EXPECT_EQ(image.width, 1u);
    EXPECT_EQ(image.height, 1u);
}

TEST_F(ImageLoad, NamesWithoutAKnownExtensionAreNotImplemented) {
    for (const char* name : {"noext", "blue.jpeg", "picture.png", "metal.", "dir.d/noext"}) {
        DecodedImage image;
        std::string reason;
        EXPECT_EQ(image_load(image, directory().c_str(), name, &reason), E_NOTIMPL) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
    DecodedImage image;
    EXPECT_EQ(image_load(image, directory().c_str(), nullptr), E_INVALIDARG);
}

TEST_F(ImageLoad, MissingFilesGiveEachReadersCode) {
    DecodedImage image;
    EXPECT_EQ(image_load(image, directory().c_str(), "missing.bmp"), DDERR_NOTFOUND);
    EXPECT_EQ(image_load(image, directory().c_str(), "MISSING.BMP"), DDERR_NOTFOUND);
    EXPECT_EQ(image_load(image, directory().c_str(), "missing.tga"), E_FAIL);
    EXPECT_EQ(image_load(image, directory().c_str(), "missing.jpg"), E_FAIL);
    EXPECT_EQ(image_load(image, directory().c_str(), "broken.tga"), E_FAIL);
    EXPECT_FALSE(image.has_pixels());
}

TEST_F(ImageLoad, DirectoryIsPrefixedAsItIs) {
    // The directory is joined without a separator of its own; none means the empty string.
    DecodedImage image;
    const std::string parent = VIRELINE_BINARY_DIR "/";
    EXPECT_EQ(image_load(image, parent.c_str(), "image_load_test/red.tga"), S_OK);
    EXPECT_EQ(image_load(image, VIRELINE_BINARY_DIR "/image_load_test", "red.tga"), E_FAIL);
    EXPECT_EQ(image_load(image, nullptr, "red.tga"), E_FAIL);  // not in the working directory
}

TEST_F(ImageLoad, PathsBeyondThePathBufferFailLikeMissingFiles) {
    // Joined paths must fit in 255 characters; a longer one is never opened, even if it exists.
    std::string long_directory = directory();
    while (long_directory.size() < 250) long_directory += "x/";
    std::filesystem::create_directories(long_directory);
    write_file_bytes(long_directory + "red.tga", tga_file(2, 1, 1, 24, 0x20, {0, 0, 255}));
    write_file_bytes(long_directory + "blue.bmp", bmp_file(1, 1, 24, {{255, 0, 0, 0}}));
    ASSERT_GT(long_directory.size() + 7, 255u);
    DecodedImage image;
    std::string reason;
    EXPECT_EQ(image_load(image, long_directory.c_str(), "red.tga", &reason), E_FAIL);
    EXPECT_NE(reason.find("255"), std::string::npos) << reason;
    EXPECT_EQ(image_load(image, long_directory.c_str(), "blue.bmp"), DDERR_NOTFOUND);
}
