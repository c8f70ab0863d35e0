// OpenGL contexts: headless through EGL on each platform, the version rule, device creation failing
// cleanly (for the software fallback) without one, window contexts only on windows made for OpenGL (made by the display driver), and
// presenting the primary the right way up, scaled, with vertical sync only for flips.
#include <gtest/gtest.h>

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <string>

#include "gl_test_rig.h"
#include "platform/d3d/core/headless_display.h"
#include "platform/d3d/gl/context_egl.h"
#include "platform/d3d/gl/context_window.h"
#include "platform/d3d/gl/gl_backend.h"
#include "platform/d3d/gl/gl_renderer.h"
#include "platform/debug_output.h"
#include "platform/window/window_gl_context.h"

TEST(GlVersion, ThreeThreeIsTheFloor)
{
    EXPECT_FALSE(gl_version_sufficient(2, 1) || gl_version_sufficient(3, 2));
    EXPECT_TRUE(gl_version_sufficient(3, 3) && gl_version_sufficient(4, 0));  // a later major with a lower minor
}

// Each platform gives a current desktop context (the rendering tests draw on the automatic one).
class EglPlatform : public ::testing::TestWithParam<const char*> {};

TEST_P(EglPlatform, GivesACurrentContextOfAtLeastThreeThree)
{
    std::string error;
    std::unique_ptr<GlContext> context = context_egl_create(GetParam(), &error);
    ASSERT_NE(context, nullptr) << error;
    ASSERT_TRUE(context->make_current());
    EXPECT_TRUE(epoxy_is_desktop_gl());
    EXPECT_GE(epoxy_gl_version(), 33);
    EXPECT_NE(context->describe().find("|"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Headless, EglPlatform, ::testing::Values("surfaceless", "pbuffer", ""));

TEST(GlDeviceCreation, FailsCleanlyWhenNoContextCanBeMade)
{
    std::string error;
    EXPECT_EQ(context_egl_create("no-such-platform", &error), nullptr);
    EXPECT_NE(error.find("no-such-platform"), std::string::npos) << error;
    struct PlatformOverride {  // VIRELINE_GL_PLATFORM set for the test, restored after
        const char* old = std::getenv("VIRELINE_GL_PLATFORM");
        std::string saved = old != nullptr ? old : "";
        PlatformOverride() { setenv("VIRELINE_GL_PLATFORM", "no-such-platform", 1); }
        ~PlatformOverride()
        {
            old != nullptr ? setenv("VIRELINE_GL_PLATFORM", saved.c_str(), 1) : unsetenv("VIRELINE_GL_PLATFORM");
        }
    } broken;
    DebugOutputCapture capture;
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 32, 32);
    EXPECT_FALSE(rig.ok());
    EXPECT_EQ(rig.create_result(), D3DERR_INVALID_DEVICE);
    EXPECT_NE(capture.text().find("OpenGL device: no headless context"), std::string::npos) << capture.text();
    // The software device can still be made on the same target, for the fallback.
    IDirect3DDevice7* soft = nullptr;
    IDirect3D7* d3d = nullptr;
    ASSERT_TRUE(SUCCEEDED(rig.ddraw()->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d))));
    EXPECT_TRUE(SUCCEEDED(d3d->CreateDevice(IID_IDirect3DRGBDevice, rig.target(), &soft)));
    if (soft != nullptr) soft->Release();
    d3d->Release();
}

namespace {

class SdlVideo : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
};

// A window context over a pbuffer: its default framebuffer is the pbuffer, read at each swap.
struct PbufferWindow final : WindowGlContext {
    explicit PbufferWindow(std::unique_ptr<GlContext> inner) : inner_(std::move(inner)) {}
    bool make_current() override { return inner_->make_current(); }
    std::string describe() const override { return "pbuffer window"; }
    void drawable_size(int* width, int* height) const override { *width = *height = 16; }
    void swap(bool vsync) override
    {
        vsync_ = vsync;
        ++swaps_;
        // Read the default framebuffer, leaving GL's bindings as the renderer's shadow state knows them.
        GLint read = 0, row = 0, alignment = 0;
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        glGetIntegerv(GL_PACK_ROW_LENGTH, &row);
        glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, 16, 16, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, shown_);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
        glPixelStorei(GL_PACK_ROW_LENGTH, row);
        glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    }
    // The pixel shown at (x, y) with y counted from the window's top.
    std::uint32_t shown(int x, int y) const { return shown_[15 - y][x] | 0xFF000000u; }
    bool vsync_ = false;
    int swaps_ = 0;
    std::unique_ptr<GlContext> inner_;
    std::uint32_t shown_[16][16] = {};
};

}  // namespace

// A display driver that makes its contexts on one SDL window, as the window layer's driver does.
struct OneWindowDriver final : HeadlessDisplayDriver {
    explicit OneWindowDriver(SDL_Window* window) : window_(window) {}
    std::unique_ptr<NativeGlContext> create_gl_context(HWND, int major, int minor, std::string* error) override
    {
        return window_gl_context_create(window_, major, minor, error);
    }
    SDL_Window* window_;
};

TEST_F(SdlVideo, ContextOnlyOnAWindowMadeForOpenGl)
{
    SDL_Window* window = SDL_CreateWindow("gl", 0, 0, 64, 48, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 32, 32, SDL_WINDOW_HIDDEN);
    ASSERT_TRUE(window != nullptr && plain != nullptr) << SDL_GetError();
    std::string error;
    EXPECT_EQ(window_gl_context_create(plain, 3, 3, &error), nullptr);
    EXPECT_NE(error.find("OpenGL"), std::string::npos) << error;
    EXPECT_EQ(window_gl_context_create(nullptr, 3, 3, &error), nullptr);
    HeadlessDisplayDriver headless;
    const HWND some_window = reinterpret_cast<HWND>(&headless);
    EXPECT_EQ(context_window_create(headless, some_window, &error), nullptr);  // a driver without windows
    OneWindowDriver driver(window);
    EXPECT_EQ(context_window_create(driver, nullptr, &error), nullptr);
    std::unique_ptr<WindowGlContext> context = context_window_create(driver, some_window, &error);
    ASSERT_NE(context, nullptr) << error;
    EXPECT_GE(epoxy_gl_version(), 33);
    EXPECT_NE(context->describe().find("window |"), std::string::npos);
    int w = 0, h = 0;
    context->drawable_size(&w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    context->swap(false);
    context.reset();
    SDL_DestroyWindow(plain);
    SDL_DestroyWindow(window);
}

TEST(GlPresent, PrimaryIsShownTheRightWayUpAndScaled)
{
    std::string error;
    std::unique_ptr<GlContext> pbuffer = context_egl_create("pbuffer", &error);
    ASSERT_NE(pbuffer, nullptr) << error;
    std::unique_ptr<WindowGlContext> window = std::make_unique<PbufferWindow>(std::move(pbuffer));
    auto* shown = static_cast<PbufferWindow*>(window.get());
    GlRenderer renderer(std::move(window));
    ASSERT_TRUE(renderer.has_window());

    // An 8×8 "primary": top half red, bottom half blue, shown on a 16×16 window.
    GlTestRig rig(IID_IDirect3DRGBDevice, 8, 8, false);
    IDirectDrawSurface7* primary =
        rig.texture(8, 8, PixelKind::X8R8G8B8, [](DWORD, DWORD y) { return y < 4 ? 0xFFFF0000u : 0xFF0000FFu; });
    ASSERT_NE(primary, nullptr);
    Surface* surface = surface_from_interface(primary);
    ASSERT_TRUE(renderer.present(*surface, RECT{0, 0, 8, 8}, false));
    EXPECT_EQ(shown->swaps_, 1);
    EXPECT_FALSE(shown->vsync_);
    EXPECT_EQ(shown->shown(3, 1), 0xFFFF0000u);
    EXPECT_EQ(shown->shown(12, 14), 0xFF0000FFu);
    // A flip waits for vertical sync; a CPU change to the primary is shown by the next present.
    lock_write(primary, 0, 0, 8, 8, 0xFF00FF00u);
    ASSERT_TRUE(renderer.present(*surface, RECT{0, 0, 8, 8}, true));
    EXPECT_TRUE(shown->vsync_);
    EXPECT_EQ(shown->shown(8, 8), 0xFF00FF00u);
    EXPECT_FALSE(renderer.present(*surface, RECT{4, 4, 4, 8}, false));  // empty rectangle: nothing to show
    primary->Release();
}
