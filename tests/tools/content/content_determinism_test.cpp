// The generator writes the same bytes every time: a second run into another folder gives files whose
// SHA-256 digests equal those of the build's run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "content_test_util.h"

TEST(ContentGenerator, WritesTheSameBytesOnASecondRunIntoAnotherFolder) {
    const std::string other = std::string(VIRELINE_BINARY_DIR) + "/test-output/content_second_run";
    std::filesystem::remove_all(other);
    const std::string command = std::string("'") + VIRELINE_CONTENT_PROGRAM + "' '" + other + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const std::string& file : content_manifest()) {
        SCOPED_TRACE(file);
        const std::string first = file_sha256(content_path(file)), second = file_sha256(other + "/" + file);
        EXPECT_EQ(first, second);
        EXPECT_FALSE(read_bytes(other + "/" + file).empty());
    }
    std::filesystem::remove_all(other);
}

TEST(ContentGenerator, RefusesAFolderItCannotMake) {
    const std::string blocker = std::string(VIRELINE_BINARY_DIR) + "/test-output/content_blocker";
    std::filesystem::create_directories(std::filesystem::path(blocker).parent_path());
    { std::ofstream(blocker) << "a file, not a folder"; }
    const std::string command = std::string("'") + VIRELINE_CONTENT_PROGRAM + "' '" + blocker + "/inside' 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    std::filesystem::remove(blocker);
}
