// Loading and releasing a scene object: vertex buffers filled once with write-only locks, the
// materials' textures loaded (and their failures reported), failures of buffer creation, release.
#include <filesystem>

#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "scene_object/scene_object_fixture.h"

namespace {

using SceneLoad = SceneObjectTest;

TEST_F(SceneLoad, VerticesGoIntoBuffersOfTheSceneVertexFormat) {
    SceneBuilder b;
    b.material();
    MeshNode* mesh = b.quad(0);
    mesh->vertices[2].tu = 0.125f;
    load(b);
    ASSERT_EQ(direct3d.buffers.size(), 1u);
    EXPECT_EQ(direct3d.descriptions[0].dwFVF, 0x212u);
    EXPECT_EQ(direct3d.descriptions[0].dwNumVertices, 4u);
    EXPECT_EQ(direct3d.buffers[0]->lock_flags, (std::vector<DWORD>{0x21}));
    const auto* stored = reinterpret_cast<const SceneVertex*>(direct3d.buffers[0]->bytes.data());
    EXPECT_EQ(stored[2].tu, 0.125f);
    EXPECT_EQ(stored[3].nz, -1.0f);
    EXPECT_EQ(object.time, 0.0f);
}

TEST_F(SceneLoad, ABufferThatCannotBeMadeFailsTheLoad) {
    SceneBuilder b;
    b.material();
    b.quad(0);
    b.quad(0);
    direct3d.fail_after = 1;
    EXPECT_FALSE(object.load_scene(b.build()));
    EXPECT_NE(object.scene, nullptr);  // still attached; release frees it
    object.release();
    EXPECT_EQ(object.scene, nullptr);
}

TEST_F(SceneLoad, MissingFilesFailWithTheReadersMessage) {
    MessageBoxCapture boxes;
    EXPECT_FALSE(object.load("/nonexistent/scene.3ds"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error");
}

TEST_F(SceneLoad, TexturesOfEveryMapAreLoadedAndReleasedWithTheScene) {
    const std::string folder = std::string(VIRELINE_BINARY_DIR) + "/test-scratch/scene_object/textures/";
    std::filesystem::create_directories(folder);
    // A 1 × 1 24-bit TGA.
    const unsigned char tga[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0x20, 10, 20, 30};
    std::FILE* file = std::fopen((folder + "map.tga").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(tga, 1, sizeof tga, file);
    std::fclose(file);
    texture_set_directory(folder.c_str());

    DDPIXELFORMAT argb{};
    argb.dwSize = sizeof argb;
    argb.dwFlags = DDPF_RGB | DDPF_ALPHAPIXELS;
    argb.dwRGBBitCount = 32;
    argb.dwRGBAlphaBitMask = 0xFF000000u;
    device.texture_formats = std::vector<DDPIXELFORMAT>{argb};
    SceneBuilder b;
    b.material(0.0f, MATERIAL_MAP_TEXTURE | MATERIAL_MAP_REFLECTION | MATERIAL_MAP_OPACITY, "MAP.TGA");
    b.quad(0);
    DebugOutputCapture output;
    load(b);
    // The picture loads (found beside its capitalised name); without a real device its surface
    // cannot be made, so only the alpha step reports.
    EXPECT_NE(texture_find("map.tga"), nullptr);
    EXPECT_EQ(output.text(), "Failed to set alpha for MAP.TGA!\n");
    object.release();
    EXPECT_NE(texture_find("map.tga"), nullptr);  // the entry stays; only surfaces are released
    EXPECT_EQ(direct3d.buffers.size(), 1u);
    texture_set_directory(nullptr);
}

TEST_F(SceneLoad, ReleaseGivesBackEveryVertexBuffer) {
    SceneBuilder b;
    b.material();
    b.quad(0);
    b.quad(0);
    load(b);
    RecordingVertexBuffer* first = direct3d.buffers[0];
    first->AddRef();  // hold one reference to see what release leaves
    object.release();
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(object.vertex_buffer(0), nullptr);
    EXPECT_TRUE(object.opaque_meshes.empty());
}

}  // namespace
