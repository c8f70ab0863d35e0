// Drawing a scene object: camera, culling by bounding sphere, the scene's lights, and the meshes in
// draw order (opaque by material, then transparent) with the reflection pass where a material has one.
#include <cmath>

#include "platform/debug_output.h"
#include "render/render_draw.h"
#include "render/render_lighting.h"
#include "render/render_transform.h"
#include "scene3ds/scene_object.h"

namespace {

// The culling tables, shared by every scene object and valid only during one draw. They grow with
// the largest scene drawn, so any number of meshes fits.
struct CullTables {
    std::vector<D3DVECTOR> centres;
    std::vector<float> radii;
    std::vector<DWORD> results;

    void fit(std::size_t count) {
        if (centres.size() >= count) return;
        centres.resize(count);
        radii.resize(count);
        results.resize(count);
    }
};
CullTables g_cull;

constexpr DWORD kOutsideAnyPlane = D3DSTATUS_CLIPINTERSECTIONLEFT | D3DSTATUS_CLIPINTERSECTIONRIGHT |
                                   D3DSTATUS_CLIPINTERSECTIONTOP | D3DSTATUS_CLIPINTERSECTIONBOTTOM |
                                   D3DSTATUS_CLIPINTERSECTIONFRONT | D3DSTATUS_CLIPINTERSECTIONBACK;

D3DCOLORVALUE colour(float r, float g, float b) {
    D3DCOLORVALUE value{};
    value.r = r;
    value.g = g;
    value.b = b;
    return value;
}

}  // namespace

void SceneObject::draw(int camera_index, bool use_materials, float aspect) {
    if (!scene) return;
    const CameraNode* camera = nullptr;
    if (camera_index >= 0 && static_cast<std::size_t>(camera_index) < scene->cameras.size()) {
        camera = scene->cameras[static_cast<std::size_t>(camera_index)];
    }
    if (camera == nullptr || camera->target == nullptr) {
        if (!camera_warned_) {
            debug_output_format(camera == nullptr ? "Scene camera %d does not exist; nothing is drawn\n"
                                                  : "Scene camera %d has no target; nothing is drawn\n",
                                camera_index);
            camera_warned_ = true;
        }
        return;
    }

    Matrix projection;
    matrix_perspective(&projection, scene_degrees_to_radians(camera->field_of_view), aspect, SCENE_NEAR_PLANE,
                       SCENE_FAR_PLANE);
    set_projection_matrix(projection);
    const Vector3 eye = node_position(*camera);
    const Vector3 at = node_position(*camera->target);
    const Vector3 up(0.0f, 1.0f, 0.0f);
    Matrix view;
    matrix_look_at(&view, &eye, &at, &up);
    set_view_matrix(view);

    cull();
    set_lights();

    std::int32_t last_material = -1;
    for (const std::vector<std::size_t>* list : {&opaque_meshes, &transparent_meshes}) {
        for (std::size_t mesh : *list) {
            const MeshNode& node = *scene->meshes[mesh];
            if (node.visible == 0) continue;
            const Material& material = material_of(mesh);
            const bool reflects = use_materials && material.has_map(MATERIAL_MAP_REFLECTION);
            if (use_materials) {
                if (node.material_index != last_material) {
                    scene_apply_material(material);
                    last_material = node.material_index;
                }
                if (reflects) scene_apply_material(material);
            }
            draw_mesh(mesh);
            if (reflects) {
                scene_set_reflection_states(material);
                reflection_pass(mesh);
            }
        }
    }
}

void SceneObject::cull() {
    Matrix identity;
    set_world_matrix(*matrix_identity(&identity));
    const std::size_t count = scene->meshes.size();
    if (count == 0) return;
    g_cull.fit(count);
    for (std::size_t i = 0; i < count; ++i) {
        const MeshNode& node = *scene->meshes[i];
        Vector3 centre = node.bounding_centre;
        Vector3 farthest = node.farthest_vertex;
        vector3_transform_point(&centre, &node.matrix);
        vector3_transform_point(&farthest, &node.matrix);
        g_cull.centres[i] = centre;
        g_cull.radii[i] = vector3_length(farthest - centre);
        g_cull.results[i] = 0;
    }
    sphere_visibility(g_cull.centres.data(), g_cull.radii.data(), static_cast<DWORD>(count), 0, g_cull.results.data());
    for (std::size_t i = 0; i < count; ++i) {
        scene->meshes[i]->visible = (g_cull.results[i] & kOutsideAnyPlane) != 0 ? 0 : 1;
    }
}

void SceneObject::set_lights() {
    DWORD index = 0;
    for (const LightNode* node : scene->lights) {
        if (index >= SCENE_MAX_LIGHTS) break;
        D3DLIGHT7 light{};
        light.dltType = D3DLIGHT_POINT;
        light.dcvDiffuse = colour(node->r, node->g, node->b);
        light.dcvSpecular = colour(1.0f, 1.0f, 1.0f);
        light.dvRange = D3DLIGHT_RANGE_MAX;
        light.dvAttenuation0 = 1.0f;
        light.dvPosition = node_position(*node);
        // A spot light aims from its spot node (the light's own positions) at the light node (the
        // target's positions). One without a spot node stays a point light.
        if (node->spot != 0 && node->spot_node != nullptr) {
            const Vector3 source = node_position(*node->spot_node);
            light.dltType = D3DLIGHT_SPOT;
            light.dvFalloff = 1.0f;
            light.dvTheta = scene_degrees_to_radians(node->hotspot);
            light.dvPhi = scene_degrees_to_radians(node->falloff);
            light.dvPosition = source;
            light.dvDirection = node_position(*node) - source;
        }
        set_light(index, light);
        enable_light(index, true);
        ++index;
    }
}

void SceneObject::draw_mesh(std::size_t mesh) {
    MeshNode& node = *scene->meshes[mesh];
    IDirect3DVertexBuffer7* buffer = vertex_buffer(mesh);
    if (buffer == nullptr) return;
    set_world_matrix(node.matrix);
    draw_indexed_vb(D3DPT_TRIANGLELIST, buffer, 0, node.vertex_count(), node.indices.data(), node.index_count(), 0);
}

void SceneObject::reflection_pass(std::size_t mesh) {
    MeshNode& node = *scene->meshes[mesh];
    IDirect3DVertexBuffer7* buffer = vertex_buffer(mesh);
    if (buffer == nullptr) return;
    void* data = nullptr;
    if (FAILED(buffer->Lock(SCENE_VERTEX_LOCK_FLAGS, &data, nullptr)) || data == nullptr) return;

    Matrix world;
    Matrix view;
    Matrix c;
    matrix_multiply(&c, get_world_matrix(&world), get_view_matrix(&view));
    // The buffer is locked write-only: the normals come from the mesh's own copy of the vertices.
    auto* vertices = static_cast<SceneVertex*>(data);
    for (std::size_t i = 0; i < node.vertices.size(); ++i) {
        const SceneVertex& source = node.vertices[i];
        const float nx = source.nx * c.m[0][0] + source.ny * c.m[1][0] + source.nz * c.m[2][0];
        const float ny = source.nx * c.m[0][1] + source.ny * c.m[1][1] + source.nz * c.m[2][1];
        const float nz = source.nx * c.m[0][2] + source.ny * c.m[1][2] + source.nz * c.m[2][2];
        if (nz <= 0.0f) {
            vertices[i].tu2 = (nx + 1.0f) * 0.5f;
            vertices[i].tv2 = (1.0f - ny) * 0.5f;
        }
    }
    buffer->Unlock();
    draw_indexed_vb(D3DPT_TRIANGLELIST, buffer, 0, node.vertex_count(), node.indices.data(), node.index_count(), 0);
}
