#include <cmath>
#include <filesystem>

#include "render/render_draw.h"
#include "render/render_viewport.h"
#include "scene3ds/scene_object.h"
#include "scene_view/scene_view.h"
#include "scene_view/viewer_camera.h"
#include "textures/texture_manager.h"

bool scene_view_load(SceneObject* object, const SceneViewOptions& options) {
    // Textures are looked up beside the scene file.
    std::string folder = std::filesystem::path(options.scene_path).parent_path().string();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    texture_set_directory(folder.c_str());
    std::unique_ptr<Scene3ds> scene = load_3ds_scene(options.scene_path.c_str());
    if (!scene) return false;
    viewer_camera_add(scene.get());
    return object->load_scene(std::move(scene));
}

float scene_view_wrap_time(const Scene& scene, float time) {
    const float start = static_cast<float>(scene.start_frame);
    const float end = static_cast<float>(scene.end_frame);
    if (end <= start || time <= end) return time;
    return start + std::fmod(time - start, end - start);
}

HRESULT scene_view_draw_frame(SceneObject* object, const SceneViewOptions& options, float time) {
    if (!object->scene) return E_FAIL;
    object->time = scene_view_wrap_time(*object->scene, time);
    object->animate();
    viewer_camera_frame(object->scene.get());
    const HRESULT began = begin_scene();
    if (FAILED(began)) return began;
    clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    object->set_default_states();
    object->draw(options.camera, true, viewport_aspect());
    end_scene();
    return S_OK;
}
