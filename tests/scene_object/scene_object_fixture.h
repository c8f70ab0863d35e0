// A scene object drawn on a recording device: without a real device behind it every call can be
// checked, vertex buffers are plain memory and sphere visibility answers as the test says; after
// use_software_device() the same recording sits in front of the software device.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "render/offscreen_device.h"
#include "render/recording_device.h"
#include "scene3ds/scene_object.h"
#include "scene_object/scene_builder.h"
#include "textures/texture_manager.h"

class SceneObjectTest : public ::testing::Test {
protected:
    using Strings = std::vector<std::string>;

    void SetUp() override { render_objects_set({nullptr, &direct3d, &device, nullptr}); }
    void TearDown() override {
        object.release();
        texture_delete_all();
        render_objects_set({});
    }
    void use_software_device() {
        std::string reason;
        ASSERT_EQ(offscreen.create(OffscreenDeviceKind::Software, 64, 48, &reason), S_OK) << reason;
        offscreen.make_current();
        device.inner = offscreen.device();
        current_device = &device;
    }
    // A scene of one material and one quad seen by a camera at z = -5, for the material or camera to vary.
    MeshNode* one_quad(std::uint32_t maps = 0, bool camera_target = true) {
        b.material(0.0f, maps);
        b.camera({0, 0, -5}, {0, 0, 0}, 90.0f, camera_target);
        return b.quad(0);
    }
    // Loads the scene built in `b` and labels mesh i's buffer "mesh<i>" in the recorded calls.
    void load() {
        ASSERT_TRUE(object.load_scene(b.build()));
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
    Strings drawn() const {
        Strings out;
        for (const std::string& call : device.calls_starting("DrawIndexedPrimitiveVB")) {
            const std::size_t at = call.find("mesh");
            out.push_back(call.substr(at, call.find(' ', at) - at));
        }
        return out;
    }
    // Position of the first recorded call equal to `text` at or after `from`; -1 if none.
    long find_call(const std::string& text, long from = 0) const {
        const auto it = std::find(device.calls.begin() + std::max(from, 0L), device.calls.end(), text);
        return from < 0 || it == device.calls.end() ? -1 : it - device.calls.begin();
    }

    SceneBuilder b;
    RecordingDirect3D direct3d;
    RecordingDevice device;
    OffscreenDevice offscreen;
    SceneObject object;
};
