// The loader's choice of reader by extension, its joining of directory and name, and the codes of
// names it does not take, on a scratch folder of small pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "image_test_files.h"
#include "textures/image_load.h"

TEST(ImageLoad, ChoosesTheReaderByExtensionAndJoinsTheDirectoryAsGiven) {
    const std::string parent = VIRELINE_BINARY_DIR "/";
    const std::string dir = parent + "image_load_test/";
    // A joined path must fit in 255 characters; a longer one is never opened, even if it exists.
    std::string deep = dir;
    while (deep.size() < 240) deep += "x/";
    deep += std::string(247 - deep.size(), 'y') + "/";  // 248 characters: 255 with "red.tga"
    std::filesystem::create_directories(deep);
    for (const std::string& at : {dir, deep}) {
        write_file_bytes(at + "red.tga", tga_file(2, 1, 1, 24, 0x20, {0, 0, 255}));
        write_file_bytes(at + "blue.bmp", bmp_file(1, 1, 24, {{255, 0, 0, 0}}));
    }
    for (const char* name : {"GREY.JPG", "grey.jpeg", "noext"})
        write_file_bytes(dir + name, jpeg_encode(8, 8, 1, Bytes(64, 200)));
    write_file_bytes(dir + "broken.tga", Bytes(5, 0));

    const struct {
        std::string directory;
        const char* name;
        HRESULT expected;
    } cases[] = {
        {dir, "red.tga", S_OK},
        {dir, "blue.bmp", S_OK},
        {dir, "GREY.JPG", S_OK},  // extensions in any case
        {dir, "grey.jpeg", E_NOTIMPL},
        {dir, "noext", E_NOTIMPL},
        {dir, "picture.png", E_NOTIMPL},
        {dir, "metal.", E_NOTIMPL},
        {dir, "dir.d/noext", E_NOTIMPL},
        {dir, nullptr, E_INVALIDARG},
        {dir, "missing.BMP", DDERR_NOTFOUND},  // each reader's own code for a missing file
        {dir, "missing.tga", E_FAIL},
        {dir, "missing.jpg", E_FAIL},
        {dir, "broken.tga", E_FAIL},
        {parent, "image_load_test/red.tga", S_OK},  // joined without a separator of its own
        {parent + "image_load_test", "red.tga", E_FAIL},
        {deep, "red.tga", S_OK},  // 255 characters
        {deep, "blue.bmp", DDERR_NOTFOUND},  // 256
    };
    for (const auto& c : cases) {
        const std::string name = c.name != nullptr ? c.name : "(null)";
        DecodedImage image;
        std::string reason;
        EXPECT_EQ(image_load(image, c.directory.c_str(), c.name, &reason), c.expected) << c.directory << name;
        EXPECT_EQ(reason.empty(), c.expected == S_OK) << name << ": " << reason;
        EXPECT_EQ(image.has_bitmap(), c.expected == S_OK && name.ends_with(".bmp")) << name;
        EXPECT_EQ(image.has_pixels(), c.expected == S_OK && !name.ends_with(".bmp")) << name;
    }
    DecodedImage image;
    EXPECT_EQ(image_load(image, nullptr, "red.tga"), E_FAIL);  // no directory: not in the working one
}
