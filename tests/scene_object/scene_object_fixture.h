// A scene object drawn on a recording device without a real device behind it: every call can be
// checked, vertex buffers are plain memory, and sphere visibility answers as the test says.
#pragma once

#include <gtest/gtest.h>

#include "render/recording_device.h"
#include "render/render_context.h"
#include "scene3ds/scene_object.h"
#include "scene_object/scene_builder.h"
#include "textures/texture_manager.h"

class SceneObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        RenderObjects objects;
        objects.direct3d = &direct3d;
        objects.device = &device;
        render_objects_set(objects);
    }
    void TearDown() override {
        object.release();
        texture_delete_all();
        render_objects_set({});
    }

    // Loads the built scene and labels mesh i's buffer "mesh<i>" in the recorded calls.
    void load(SceneBuilder& builder) {
        ASSERT_TRUE(object.load_scene(builder.build()));
        for (std::size_t i = 0; i < object.scene->meshes.size(); ++i) {
            if (object.vertex_buffer(i) != nullptr) device.label(object.vertex_buffer(i), "mesh" + std::to_string(i));
        }
    }
    // The default states, then a draw through the camera; only the draw's calls stay recorded. (The
    // built scenes have no tracks, so they are not animated: their node matrices are set directly.)
    void draw_frame(int camera = 0, bool use_materials = true) {
        object.set_default_states();
        device.clear_calls();
        object.draw(camera, use_materials, 0.75f);
    }
    // The recorded draws, e.g. "mesh2".
    std::vector<std::string> drawn() const {
        std::vector<std::string> out;
        for (const std::string& call : device.calls_starting("DrawIndexedPrimitiveVB")) {
            out.push_back(call.substr(call.find("mesh"), call.find(' ', call.find("mesh")) - call.find("mesh")));
        }
        return out;
    }
    // Position of the first recorded call equal to `text` at or after `from`; -1 if none.
    long find_call(const std::string& text, long from = 0) const {
        for (std::size_t i = static_cast<std::size_t>(from); i < device.calls.size(); ++i) {
            if (device.calls[i] == text) return static_cast<long>(i);
        }
        return -1;
    }

    RecordingDirect3D direct3d;
    RecordingDevice device;
    SceneObject object;
};
