// Start-up loading on a headless application over the data the build makes: the scenes and effects
// draw exactly 51 + 256 + 3 numbers from the program-wide generator (so every later choice of a run
// is the one a full run makes), the credits come from maps/creds/ while the rest come from maps/, and
// everything loaded can be given back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "driver/demo_application.h"
#include "driver/demo_assets.h"
#include "framework/framework_test_util.h"
#include "math/random.h"
#include "textures/texture_entry.h"
#include "textures/texture_manager.h"

namespace {

class InDataFolder {
public:
    InDataFolder() : before_(std::filesystem::current_path()) { std::filesystem::current_path(VIRELINE_DATA_DIR); }
    ~InDataFolder() { std::filesystem::current_path(before_); }

private:
    std::filesystem::path before_;
};

bool loaded(const char* name)
{
    const TextureEntry* entry = texture_find(name);
    return entry != nullptr && entry->surface != nullptr && entry->width > 0;
}

}  // namespace

TEST(DemoLoading, DrawsTheRandomNumbersOfAFullRunAndFindsEveryPictureInItsFolder)
{
    HeadlessScope scope;
    InDataFolder data;
    random_reset();
    ASSERT_TRUE(create_application("Vireline", 640, 480, false));
    texture_set_directory("maps/");
    load_scenes();
    load_textures();

    RandomGenerator expected(1);
    for (int i = 0; i < 51 + 256 + 3; ++i) expected.next();
    EXPECT_EQ(random_next(), expected.next()) << "loading drew a different count of random numbers";

    // The credits exist only under maps/creds/, the other pictures only under maps/.
    for (const char* name : DEMO_CREDITS) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::exists(std::string("maps/creds/") + name));
        ASSERT_FALSE(std::filesystem::exists(std::string("maps/") + name));
        EXPECT_TRUE(loaded(name));
    }
    EXPECT_TRUE(loaded("kestra2.jpg"));
    for (const char* name : {"metal.jpg", "vireline.jpg", "greets.jpg", "orv.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(std::filesystem::exists(std::string("maps/creds/") + name));
        EXPECT_TRUE(loaded(name));
    }
    EXPECT_STREQ(texture_directory(), "maps/");
    const TextureEntry* blur = texture_find("blur");
    ASSERT_NE(blur, nullptr);
    EXPECT_TRUE(blur->is_render_target());

    release_scenes();
    release_textures();
    for (const char* name : DEMO_CREDITS) EXPECT_EQ(texture_find(name), nullptr);
    EXPECT_EQ(texture_find("metal.jpg"), nullptr);
    texture_delete_all();
    destroy_application();
    EXPECT_EQ(demo_application(), nullptr);
}
