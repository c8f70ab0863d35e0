// Drawing through the device interface on the OpenGL backend: the device's pixel centres, culling,
// depth and the GL copies of surfaces staying in step with memory.
#include <gtest/gtest.h>

#include "gl_test_rig.h"

TEST(GlRender, ClearAndQuadLandOnTheDevicesPixels)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8);
    ASSERT_TRUE(rig.ok());
    rig.clear(0xFF0000FF);
    // A quad from (2, 2) to (5, 5): pixel centres at integer coordinates, top-left rule: pixels 2..4.
    rig.draw_tl(D3DPT_TRIANGLESTRIP, {tl_vertex(2, 5, 0.5f, 0xFFFF0000), tl_vertex(2, 2, 0.5f, 0xFFFF0000),
                                      tl_vertex(5, 5, 0.5f, 0xFFFF0000), tl_vertex(5, 2, 0.5f, 0xFFFF0000)});
    for (DWORD y = 0; y < 8; ++y) {
        for (DWORD x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            EXPECT_EQ(rig.pixel(x, y), inside ? 0xFFFF0000u : 0xFF0000FFu) << x << "," << y;
        }
    }
}
