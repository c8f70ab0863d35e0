// Colour packing, and the screen quads, fades and sprite quad as the software device draws them.
#include "effects/overlay_quads.h"

#include <cstring>

#include "effects/effect_rigs.h"
#include "effects_fixture.h"
#include "math/matrix.h"
#include "render/render.h"

namespace {

TEST(PackColour, TruncatesEachComponentAndDoesNotClamp) {
    struct Case {
        float a, r, g, b;
        DWORD packed;
    };
    const Case cases[] = {
        {1.0f, 1.0f, 1.0f, 1.0f, 0xFFFFFFFF}, {0.999f, 0.999f, 0.999f, 0.999f, 0xFEFEFEFE},
        {1.0f, 0.5f, 0.25f, 0.0f, 0xFF7F3F00}, {0.0f, 0.0f, 0.0f, 1.0f, 0x000000FF},
        // 1.5 × 255 = 382 = 0x17E: red spills into the lowest alpha bit.
        {0.0f, 1.5f, 0.0f, 0.0f, 0x017E0000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pack_colour(c.a, c.r, c.g, c.b), c.packed) << c.a << " " << c.r << " " << c.g << " " << c.b;
    }
}

TEST(SpriteQuad, CornersAreTransformedAndOnlyTheColourChangesAfterwards) {
    Matrix m;
    matrix_translation(&m, 1.0f, 2.0f, 3.0f);
    SpriteQuad quad{};
    build_sprite_quad(&quad, 5.0f, 4.0f, &m, 0x80FFFFFF);
    const float expected[4][5] = {{-4, 6, 3, 0, 0}, {6, 6, 3, 1, 0}, {-4, -2, 3, 0, 1}, {6, -2, 3, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        const D3DLVERTEX& v = quad.vertices[i];
        EXPECT_EQ((std::vector<float>{v.x, v.y, v.z, v.tu, v.tv}),
                  (std::vector<float>(expected[i], expected[i] + 5))) << "corner " << i;
        EXPECT_EQ(v.color, 0x80FFFFFFu);
        EXPECT_EQ(v.dwReserved, 0u);
        EXPECT_EQ(v.specular, 0u);
    }
    SpriteQuad recoloured = quad;
    set_sprite_colour(&recoloured, 0.5f, 1.0f, 0.0f, 0.999f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(recoloured.vertices[i].color, 0x7FFF00FEu);
        recoloured.vertices[i].color = quad.vertices[i].color;
    }
    EXPECT_EQ(std::memcmp(&recoloured, &quad, sizeof quad), 0);
}

TEST_F(RecordingEffectTest, ScreenQuadsDrawOneStripAndSetNoState) {
    draw_screen_quad(1, 1, 1, 1);
    draw_screen_rect(0.1f, 0.1f, 0.5f, 0.5f, 1, 1, 1, 1);
    fade_to_colour(1, 2, 0, 0, 0);
    fade_from_colour(1, 2, 0, 0, 0);
    SpriteQuad quad{};
    draw_sprite_quad(&quad);
    const std::vector<std::string> strip = {"GetViewport", "DrawPrimitive 5 452 4 0"};
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i) expected.insert(expected.end(), strip.begin(), strip.end());
    expected.push_back("DrawPrimitive 5 482 4 0");
    EXPECT_EQ(device.calls, expected);
}

// White overlays blended by their own alpha over black: a pixel's red level is the packed alpha.
class OverlayPixels : public SoftwareEffectTest {
protected:
    void SetUp() override {
        SoftwareEffectTest::SetUp();
        make_device(100, 50);
    }
    RigFrame frame_of(void (*draw)()) {
        begin_scene();
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        set_render_state(D3DRENDERSTATE_LIGHTING, FALSE);
        set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        set_color_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        draw();
        end_scene();
        RigFrame frame;
        EXPECT_TRUE(rig_read_surface(offscreen.target(), &frame));
        return frame;
    }
    static int red(const RigFrame& f, int x, int y) { return static_cast<int>((f.argb[y * f.width + x] >> 16) & 0xFF); }
};

TEST_F(OverlayPixels, FadesGiveTheirAlphaAtTheStartTheMiddleAndTheEnd) {
    struct Case {
        const char* name;
        void (*draw)();
        int level;
    };
    const Case cases[] = {
        {"to, time 0", [] { fade_to_colour(0, 100, 1, 1, 1); }, 0},
        {"to, time = duration", [] { fade_to_colour(100, 100, 1, 1, 1); }, 255},
        {"to, half way", [] { fade_to_colour(50, 100, 1, 1, 1); }, 127},
        {"from, time 0", [] { fade_from_colour(0, 100, 1, 1, 1); }, 255},
        {"from, time = duration", [] { fade_from_colour(100, 100, 1, 1, 1); }, 0},
        {"a quad's alpha comes first", [] { draw_screen_quad(0.5f, 1, 0, 0); }, 127},
    };
    for (const Case& c : cases) {
        const RigFrame f = frame_of(c.draw);
        for (auto [x, y] : {std::pair{0, 0}, {99, 49}, {50, 25}}) EXPECT_NEAR(red(f, x, y), c.level, 1) << c.name;
    }
}

TEST_F(OverlayPixels, ScreenRectCoversTheBottomLeftThirtyByTwentyPercent) {
    const RigFrame f = frame_of([] { draw_screen_rect(0.0f, 0.8f, 0.3f, 1.0f, 1, 1, 1, 1); });
    long lit = 0;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const bool inside = x < 30 && y >= 40;
            EXPECT_EQ(red(f, x, y) > 128, inside) << x << ", " << y;
            lit += inside ? 1 : 0;
        }
    EXPECT_EQ(lit, 30 * 10);
}

TEST_F(OverlayPixels, AViewportOffTheOriginStillGetsAQuadFromPixelZero) {
    D3DVIEWPORT7 viewport{20, 10, 40, 20, 0.0f, 1.0f};
    current_device->SetViewport(&viewport);
    const RigFrame f = frame_of([] { draw_screen_quad(1, 1, 1, 1); });
    EXPECT_GT(red(f, 25, 15), 128);  // inside the viewport and the quad (0, 0)–(40, 20)
    EXPECT_LT(red(f, 50, 25), 128);  // inside the viewport, beyond the quad's width and height
}

}  // namespace
