#include "scene3ds/mesh_bounds.h"

#include <algorithm>
#include <cmath>

#include "scene3ds/scene.h"

void compute_mesh_bounds(Scene* scene) {
    for (MeshNode* mesh : scene->meshes) {
        Vector3 lo(65536.0f, 65536.0f, 65536.0f);
        Vector3 hi(-65536.0f, -65536.0f, -65536.0f);
        for (const SceneVertex& v : mesh->vertices) {
            lo.x = std::min(lo.x, v.x);
            lo.y = std::min(lo.y, v.y);
            lo.z = std::min(lo.z, v.z);
            hi.x = std::max(hi.x, v.x);
            hi.y = std::max(hi.y, v.y);
            hi.z = std::max(hi.z, v.z);
        }
        mesh->bounding_centre = Vector3((lo.x + hi.x) / 2.0f, (lo.y + hi.y) / 2.0f, (lo.z + hi.z) / 2.0f);

        float farthest = 0.0f;
        for (const SceneVertex& v : mesh->vertices) {
            const Vector3 d = Vector3(v.x, v.y, v.z) - mesh->bounding_centre;
            const float distance = std::sqrt(vector3_dot(d, d));
            if (distance > farthest) {
                farthest = distance;
                mesh->farthest_vertex = Vector3(v.x, v.y, v.z);
            }
        }
    }
}
