// The window layer's pure parts: the display modes a window driver offers for SDL's list, SDL's depths
// mapped onto the device layer's, where the primary's pixels land on a window, the program icon, and the
// icon and cursor resources.
#include <gtest/gtest.h>

#include "framework/program_icon.h"
#include "framework/framework_test_util.h"
#include "platform/window/window.h"
#include "platform/window/window_display_driver.h"
#include "platform/window/window_present.h"

TEST(WindowDisplayDriver, EachResolutionIsOfferedAt16And32Bits)
{
    const std::vector<DisplayMode> sdl = {{1024, 768, 32, 60}, {800, 600, 32, 60}, {1024, 768, 16, 60}, {800, 600, 32, 75}};
    const std::vector<DisplayMode> modes = window_modes_from_sdl(sdl);
    const std::vector<DisplayMode> expected = {{1024, 768, 16, 60}, {1024, 768, 32, 60}, {800, 600, 16, 60},
                                               {800, 600, 32, 60}, {800, 600, 16, 75}, {800, 600, 32, 75}};
    EXPECT_EQ(modes, expected);
    EXPECT_EQ(window_depth_from_sdl(24), 32u);
    EXPECT_EQ(window_depth_from_sdl(15), 16u);
    EXPECT_EQ(window_depth_from_sdl(8), 8u);
    EXPECT_EQ(window_depth_from_sdl(0), 32u);
}

TEST(WindowPresent, TheClientAreaIsCutFromThePrimaryAndClipped)
{
    RECT source{};
    int x = -1;
    int y = -1;
    // Wholly on the primary.
    ASSERT_TRUE(window_present_source_rect(RECT{192, 144, 832, 624}, 1024, 768, false, &source, &x, &y));
    EXPECT_EQ(source.left, 192);
    EXPECT_EQ(source.bottom, 624);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // Hanging over the top-left corner: the visible part lands inside the client area.
    ASSERT_TRUE(window_present_source_rect(RECT{-40, -10, 600, 470}, 1024, 768, false, &source, &x, &y));
    EXPECT_EQ(source.left, 0);
    EXPECT_EQ(source.top, 0);
    EXPECT_EQ(source.right, 600);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 10);
    // Off the primary altogether.
    EXPECT_FALSE(window_present_source_rect(RECT{2000, 0, 2640, 480}, 1024, 768, false, &source, &x, &y));
    // Full screen: the whole primary, whatever the window's place.
    ASSERT_TRUE(window_present_source_rect(RECT{500, 500, 600, 600}, 640, 480, true, &source, &x, &y));
    EXPECT_EQ(source.right, 640);
    EXPECT_EQ(source.bottom, 480);
    EXPECT_EQ(x, 0);
}

TEST(ProgramIcon, AnOpaqueDiscWithTheLetterOnATransparentGround)
{
    const std::vector<std::uint32_t> icon = program_icon_pixels(32);
    ASSERT_EQ(icon.size(), 32u * 32u);
    EXPECT_EQ(icon[0] >> 24, 0u);                 // corner: outside the disc
    EXPECT_EQ(icon[16 * 32 + 2] >> 24, 0xFFu);    // inside the rim
    const std::uint32_t stroke = icon[static_cast<std::size_t>(23) * 32 + 16];  // the V's point
    EXPECT_GT(stroke & 0xFF, 0xC0u);
    EXPECT_GT((stroke >> 16) & 0xFF, 0xC0u);
    const std::uint32_t ground = icon[static_cast<std::size_t>(12) * 32 + 16];  // between the V's arms
    EXPECT_LT((ground >> 16) & 0xFF, 0x60u);
}

TEST(WindowResources, IconsByNumberAndTheArrowCursor)
{
    HeadlessScope scope;
    window_system_start(true);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(4321)), nullptr);
    program_icon_register();
    EXPECT_NE(LoadIconA(nullptr, MAKEINTRESOURCEA(102)), nullptr);
    icon_resource_register(7, 2, 2, {1, 2, 3});  // wrong pixel count: not registered
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(7)), nullptr);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    SetCursor(nullptr);
    EXPECT_TRUE(cursor_hidden());
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_FALSE(cursor_hidden());
}
