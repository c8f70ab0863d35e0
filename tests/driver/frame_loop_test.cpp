// The frame loop on a headless application: the device the helpers draw through follows the
// framework after every frame, the loop tests after the frame and ends on the quit message that
// Escape posts (through the window's destruction), and a present that cannot recover destroys the
// window so the loop ends in the normal way.
#include <gtest/gtest.h>

#include <vector>

#include "driver/app_access.h"
#include "driver/frame_loop.h"
#include "framework/application.h"
#include "framework/framework_test_util.h"
#include "render/render_context.h"

TEST(FrameLoop, WithoutAnApplicationNothingIsPublishedAndTheLoopRunsOnce)
{
    render_objects_set({});
    ASSERT_EQ(app_instance(), nullptr);
    int frames = 0;
    EXPECT_EQ(run_frame_loop([&] { ++frames; }), 1u);
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(current_device, nullptr);
    end_frame();  // nothing to present on; no crash
}

TEST(FrameLoop, FollowsTheFrameworkAndEndsOnEscape)
{
    HeadlessScope scope;
    Application app;
    ASSERT_EQ(app.create(GetModuleHandleA(nullptr), "Vireline", 64, 48, false), S_OK);
    publish_render_objects();
    ASSERT_NE(app_device(), nullptr);
    EXPECT_EQ(current_device, app_device());
    EXPECT_EQ(render_objects().direct3d, app_direct3d());
    EXPECT_EQ(render_objects().direct_draw, app_direct_draw());
    EXPECT_EQ(render_objects().back_buffer, app_back_buffer());
    EXPECT_EQ(app_window(), app.window());

    // Escape in the third frame: the key destroys the window when keep_running dispatches it, the
    // destruction posts the quit message, and the pass that fetches it ends the loop.
    std::vector<IDirect3DDevice7*> seen;
    int frame = 0;
    const unsigned long frames = run_frame_loop([&] {
        seen.push_back(current_device);
        end_frame();
        if (++frame == 3) PostMessageA(app.window(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_GE(frames, 4u);
    EXPECT_LE(frames, 6u);
    for (IDirect3DDevice7* device : seen) EXPECT_EQ(device, app.device());
    EXPECT_FALSE(IsWindow(app.window()));

    // The framework going away is followed by the next refresh.
    EXPECT_EQ(app.cleanup_3d(), S_OK);
    publish_render_objects();
    EXPECT_EQ(current_device, nullptr);
}

TEST(FrameLoop, APresentThatFailsDestroysTheWindowAndEndsTheLoop)
{
    HeadlessScope scope;
    Application app;
    ASSERT_EQ(app.create(GetModuleHandleA(nullptr), "Vireline", 64, 48, false), S_OK);
    app.cleanup_3d();  // presenting now fails: there is no framework
    const unsigned long frames = run_frame_loop([] { end_frame(); });
    EXPECT_FALSE(IsWindow(app.window()));
    EXPECT_LE(frames, 4u);
}
