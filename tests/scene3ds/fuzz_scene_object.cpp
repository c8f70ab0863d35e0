// libFuzzer: whatever the 3DS reader makes of the bytes is loaded into a scene object, animated at a
// few times and drawn through each camera (and one that does not exist) on a recording device, with
// and without materials. Textures are looked up in a folder that does not exist.
#include <cstddef>
#include <cstdint>

#include "platform/debug_output.h"
#include "support/recording_device.h"
#include "render/render_context.h"
#include "scene3ds/scene_object.h"
#include "textures/texture_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        debug_output_set_sink([](const std::string&) {});
        texture_set_directory("/nonexistent-vireline-fuzz/");
        return true;
    }();
    (void)quiet;

    RecordingDirect3D direct3d;
    RecordingDevice device;
    RenderObjects objects;
    objects.direct3d = &direct3d;
    objects.device = &device;
    render_objects_set(objects);
    {
        SceneObject object;
        if (object.load_scene(load_3ds_scene_memory(data, size))) {
            const int cameras = static_cast<int>(object.scene->cameras.size());
            for (float time : {0.0f, 17.5f, 100000.0f}) {
                object.time = time;
                object.animate();
                object.set_default_states();
                for (int camera = 0; camera <= cameras && camera < 4; ++camera) {
                    object.draw(camera, (camera & 1) == 0, 0.75f);
                    device.clear_calls();
                }
            }
        }
        object.release();
    }
    texture_delete_all();
    render_objects_set({});
    return 0;
}
