#include "scene_view/viewer_camera.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "scene3ds/scene_object.h"

namespace {

constexpr float kFieldOfView = 45.0f;
constexpr float kMaxFieldOfView = 150.0f;

CameraNode* viewer_camera(Scene* scene) {
    for (CameraNode* camera : scene->cameras) {
        if (std::strncmp(camera->name, VIEWER_CAMERA_NAME, sizeof camera->name) == 0) return camera;
    }
    return nullptr;
}

}  // namespace

bool viewer_camera_add(Scene3ds* scene) {
    if (scene == nullptr || !scene->cameras.empty()) return false;
    CameraNode* camera = scene->add_camera();
    std::strncpy(camera->name, VIEWER_CAMERA_NAME, sizeof camera->name - 1);
    camera->field_of_view = kFieldOfView;
    camera->target = scene->add_target();
    return true;
}

void viewer_camera_frame(Scene* scene) {
    CameraNode* camera = viewer_camera(scene);
    if (camera == nullptr || camera->target == nullptr) return;

    // The box around every mesh's transformed bounding sphere.
    Vector3 low(1e30f, 1e30f, 1e30f);
    Vector3 high(-1e30f, -1e30f, -1e30f);
    bool any = false;
    for (const MeshNode* mesh : scene->meshes) {
        if (mesh->vertices.empty()) continue;
        Vector3 centre = mesh->bounding_centre;
        Vector3 far = mesh->farthest_vertex;
        vector3_transform_point(&centre, &mesh->matrix);
        vector3_transform_point(&far, &mesh->matrix);
        const float radius = vector3_length(far - centre);
        low = Vector3(std::min(low.x, centre.x - radius), std::min(low.y, centre.y - radius),
                      std::min(low.z, centre.z - radius));
        high = Vector3(std::max(high.x, centre.x + radius), std::max(high.y, centre.y + radius),
                       std::max(high.z, centre.z + radius));
        any = true;
    }
    if (!any) low = high = Vector3();
    const Vector3 centre = (low + high) * 0.5f;
    const float radius = std::max(vector3_length(high - low) * 0.5f, 0.01f);
    // Scenes are drawn with a far plane at 100: a large scene is framed from nearer with a wider view.
    constexpr float kDegrees = 180.0f / 3.1415927f;
    float fov = kFieldOfView;
    float distance = radius * 1.05f / std::sin(fov * 0.5f / kDegrees);
    const float limit = SCENE_FAR_PLANE * 0.95f;
    if (distance + radius > limit) {
        const float sine = std::min(1.0f, radius * 1.05f / std::max(limit - radius, 0.001f));
        fov = std::min(kMaxFieldOfView, 2.0f * std::asin(sine) * kDegrees);
        distance = radius * 1.05f / std::sin(fov * 0.5f / kDegrees);
    }
    Vector3 direction(0.45f, 0.55f, -1.0f);
    vector3_normalize(&direction, &direction);
    const Vector3 eye = centre + direction * distance;
    matrix_translation(&camera->matrix, eye.x, eye.y, eye.z);
    matrix_translation(&camera->target->matrix, centre.x, centre.y, centre.z);
    camera->field_of_view = fov;
}
