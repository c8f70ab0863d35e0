// Loading and releasing a scene object: vertex buffers filled once with write-only locks, the
// materials' textures loaded (and their failures reported), failed loads, release.
#include <filesystem>
#include <fstream>
#include <tuple>

#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "scene3ds/scene_object_fixture.h"

namespace {

using SceneLoad = SceneObjectTest;

TEST_F(SceneLoad, EachMeshWithGeometryGetsABufferOfTheSceneVertexFormatFilledOnce) {
    b.material();
    MeshNode* mesh = b.quad(0);
    mesh->vertices[2].tu = 0.125f;
    b.scene().add_mesh();  // an empty triangle-mesh chunk, as some files have
    b.camera({0, 0, -5}, {0, 0, 0});
    object.time = 5.0f;
    load();
    EXPECT_EQ(object.time, 0.0f);
    ASSERT_EQ(direct3d.buffers.size(), 1u);
    EXPECT_EQ(object.vertex_buffer(1), nullptr);
    const RecordingVertexBuffer& buffer = *direct3d.buffers[0];
    EXPECT_EQ(std::tuple(buffer.desc.dwFVF, buffer.desc.dwNumVertices, buffer.lock_flags),
              std::tuple(0x212u, 4u, std::vector<DWORD>{0x21}));
    const auto* stored = reinterpret_cast<const SceneVertex*>(buffer.bytes.data());
    EXPECT_EQ(std::pair(stored[2].tu, stored[3].nz), std::pair(0.125f, -1.0f));
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));
}

TEST_F(SceneLoad, ReleaseGivesBackEveryBufferAlsoAfterAFailedLoad) {
    for (int fail_after : {1, -1}) {
        b = SceneBuilder();
        b.material();
        b.quad(0);
        b.quad(0);
        direct3d.fail_after = fail_after;
        const std::size_t first = direct3d.buffers.size();
        EXPECT_EQ(object.load_scene(b.build()), fail_after < 0);
        EXPECT_NE(object.scene, nullptr);  // attached even when the load failed
        object.release();
        EXPECT_EQ(object.scene, nullptr);
        EXPECT_EQ(object.vertex_buffer(0), nullptr);
        EXPECT_TRUE(object.opaque_meshes.empty());
        for (std::size_t i = first; i < direct3d.buffers.size(); ++i) EXPECT_EQ(direct3d.buffers[i]->references, 0u);
    }
    EXPECT_EQ(direct3d.buffers.size(), 3u);
    MessageBoxCapture boxes;
    EXPECT_FALSE(object.load("/nonexistent/scene.3ds"));  // the reader says why in a box
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(SceneLoad, TexturesOfEveryMapAreLoadedAndOnlyTheirSurfacesReleasedWithTheScene) {
    const std::string folder = std::string(VIRELINE_BINARY_DIR) + "/test-scratch/scene_object/textures/";
    std::filesystem::create_directories(folder);
    const char tga[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0x20, 10, 20, 30};  // 1 × 1, 24-bit
    std::ofstream(folder + "map.tga", std::ios::binary).write(tga, sizeof tga);
    texture_set_directory(folder.c_str());
    device.texture_formats = std::vector<DDPIXELFORMAT>{
        {sizeof(DDPIXELFORMAT), DDPF_RGB | DDPF_ALPHAPIXELS, 0, {32}, {0xFF0000}, {0xFF00}, {0xFF}, {0xFF000000}}};
    b.material(0.0f, MATERIAL_MAP_TEXTURE | MATERIAL_MAP_REFLECTION | MATERIAL_MAP_OPACITY, "MAP.TGA");
    b.quad(0);
    DebugOutputCapture output;
    load();
    // The picture loads (found beside its capitalised name); without a real device its surface
    // cannot be made, so only the alpha step reports.
    EXPECT_NE(texture_find("map.tga"), nullptr);
    EXPECT_EQ(output.text(), "Failed to set alpha for MAP.TGA!\n");
    object.release();
    EXPECT_NE(texture_find("map.tga"), nullptr);
    texture_set_directory(nullptr);
}

}  // namespace
