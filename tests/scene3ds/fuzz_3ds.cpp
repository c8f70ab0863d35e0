// libFuzzer target for the 3DS reader: any bytes load into a scene (or an empty one) without reading
// outside the input, and every node of the result evaluates at a few times.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/debug_output.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        debug_output_set_sink([](const std::string&) {});
        return true;
    }();
    (void)quiet;
    const auto scene = load_3ds_scene_memory(data, size);
    for (float t : {-1.0f, 0.0f, 7.5f, 100000.0f})
        for (SceneNode* node : scene->evaluation_order) evaluate_node(node, t);
    return 0;
}
