// The scene object on the real software device: culling of meshes behind the camera and beside the
// view, and pixels that show draw order and transparency.
#include "render/offscreen_device.h"
#include "render/render.h"
#include "scene_object/scene_object_fixture.h"

namespace {

class SceneRender : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        ASSERT_EQ(offscreen.create(OffscreenDeviceKind::Software, 64, 48, &reason), S_OK) << reason;
        offscreen.make_current();
        recording = std::make_unique<RecordingDevice>(offscreen.device());
        current_device = recording.get();
    }
    void TearDown() override {
        object.release();
        current_device = offscreen.device();
        recording.reset();
        offscreen.release();
    }

    void load(SceneBuilder& builder) {
        ASSERT_TRUE(object.load_scene(builder.build()));
        for (std::size_t i = 0; i < object.scene->meshes.size(); ++i) {
            recording->label(object.vertex_buffer(i), "mesh" + std::to_string(i));
        }
    }
    void frame() {
        ASSERT_EQ(begin_scene(), S_OK);
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        object.set_default_states();
        recording->clear_calls();
        object.draw(0, true, viewport_aspect());
        end_scene();
    }
    std::vector<std::string> drawn() const {
        std::vector<std::string> out;
        for (const std::string& call : recording->calls_starting("DrawIndexedPrimitiveVB")) {
            const std::size_t at = call.find("mesh");
            out.push_back(call.substr(at, call.find(' ', at) - at));
        }
        return out;
    }
    std::uint32_t pixel(DWORD x, DWORD y) {
        DDSURFACEDESC2 locked{};
        locked.dwSize = sizeof locked;
        if (FAILED(offscreen.target()->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return 0;
        const auto* row = static_cast<const BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
        const std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x] & 0x00FFFFFFu;
        offscreen.target()->Unlock(nullptr);
        return value;
    }

    OffscreenDevice offscreen;
    std::unique_ptr<RecordingDevice> recording;
    SceneObject object;
};

TEST_F(SceneRender, MeshesBehindTheCameraOrBesideTheViewAreCulledWhileStraddlingOnesAreDrawn) {
    SceneBuilder b;
    b.material();
    b.quad(0, 0, 0, 0);      // in front of the camera
    b.quad(0, 0, 0, -10);    // wholly behind it
    b.quad(0, 40, 0, 0);     // far to the right
    b.quad(0, 5.2f, 0, 0);   // straddling the right edge of the view
    b.camera({0, 0, -5}, {0, 0, 0}, 90.0f);
    load(b);
    frame();
    EXPECT_EQ(drawn(), (std::vector<std::string>{"mesh0", "mesh3"}));
    EXPECT_EQ(object.scene->meshes[1]->visible, 0);
    EXPECT_EQ(object.scene->meshes[3]->visible, 1);
}

TEST_F(SceneRender, TransparentMeshesBlendOverTheOpaqueOnesBehindThem) {
    SceneBuilder b;
    const int glass = b.material(0.5f);
    const int wall = b.material();
    b.scene().materials[static_cast<std::size_t>(glass)]->diffuse = {0.0f, 0.0f, 1.0f};
    b.scene().materials[static_cast<std::size_t>(glass)]->ambient = {0.0f, 0.0f, 1.0f};
    b.scene().materials[static_cast<std::size_t>(wall)]->diffuse = {1.0f, 0.0f, 0.0f};
    b.scene().materials[static_cast<std::size_t>(wall)]->ambient = {1.0f, 0.0f, 0.0f};
    b.scene().materials[static_cast<std::size_t>(wall)]->specular = {};
    b.scene().materials[static_cast<std::size_t>(glass)]->specular = {};
    b.quad(glass, 0, 0, -1);  // nearer, first in the file, yet drawn last
    b.quad(wall, 0, 0, 0);
    b.camera({0, 0, -3}, {0, 0, 0}, 90.0f);
    load(b);
    frame();
    const std::uint32_t centre = pixel(32, 24);
    EXPECT_GT((centre >> 16) & 0xFF, 0x40u) << std::hex << centre;  // the wall shows through
    EXPECT_GT(centre & 0xFF, 0x40u) << std::hex << centre;          // tinted by the glass
    EXPECT_EQ(pixel(0, 0), 0u);
}

}  // namespace
