#include "scene_info/scene_info_json.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "scene3ds/scene.h"

namespace {

// Appends JSON text with commas placed between the members of the innermost object or array.
class JsonOut {
public:
    void begin_object(const char* key = nullptr) { open(key, '{'); }
    void end_object() { close('}'); }
    void begin_array(const char* key = nullptr) { open(key, '['); }
    void end_array() { close(']'); }

    void string(const char* key, const char* value, std::size_t max_length) {
        member(key);
        quoted(value, strnlen(value, max_length));
    }
    void number(const char* key, double value) {
        member(key);
        if (!std::isfinite(value)) {
            text_ += "null";
            return;
        }
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.9g", value);
        text_ += buffer;
    }
    void integer(const char* key, long long value) {
        member(key);
        text_ += std::to_string(value);
    }
    void boolean(const char* key, bool value) {
        member(key);
        text_ += value ? "true" : "false";
    }
    void null(const char* key) {
        member(key);
        text_ += "null";
    }
    void vector(const char* key, float x, float y, float z) {
        begin_array(key);
        number(nullptr, x);
        number(nullptr, y);
        number(nullptr, z);
        end_array();
    }

    std::string take() {
        text_ += '\n';
        return std::move(text_);
    }

private:
    void member(const char* key) {
        if (!first_) text_ += ',';
        first_ = false;
        if (key != nullptr) {
            quoted(key, std::strlen(key));
            text_ += ':';
        }
    }
    void open(const char* key, char bracket) {
        member(key);
        text_ += bracket;
        first_ = true;
    }
    void close(char bracket) {
        text_ += bracket;
        first_ = false;
    }
    void quoted(const char* s, std::size_t n) {
        text_ += '"';
        for (std::size_t i = 0; i < n; ++i) {
            const auto c = static_cast<unsigned char>(s[i]);
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += static_cast<char>(c);
            } else if (c < 0x20 || c >= 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                text_ += buffer;
            } else {
                text_ += static_cast<char>(c);
            }
        }
        text_ += '"';
    }

    std::string text_;
    bool first_ = true;
};

using NodeIndex = std::unordered_map<const SceneNode*, long long>;

void node_link(JsonOut& j, const char* key, const SceneNode* node, const NodeIndex& index) {
    const auto found = node != nullptr ? index.find(node) : index.end();
    if (found == index.end()) {
        j.null(key);
        return;
    }
    j.begin_object(key);
    j.integer("node", found->second);
    j.string("name", node->name, SCENE_NODE_NAME_SIZE);
    j.end_object();
}

void colour(JsonOut& j, const char* key, const ColorRgb& c) { j.vector(key, c.r, c.g, c.b); }

void write_meshes(JsonOut& j, const Scene3ds& scene) {
    j.begin_array("meshes");
    for (const MeshNode* mesh : scene.meshes) {
        j.begin_object();
        j.string("name", mesh->name, SCENE_NODE_NAME_SIZE);
        j.integer("vertices", mesh->vertex_count());
        j.integer("faces", mesh->index_count() / 3);
        j.integer("material_index", mesh->material_index);
        const Material* material = material_at(scene, mesh->material_index);
        if (material != nullptr)
            j.string("material", material->name, MATERIAL_NAME_SIZE);
        else
            j.null("material");
        j.begin_array("first_vertices");
        for (std::size_t i = 0; i < mesh->vertices.size() && i < 3; ++i) {
            const SceneVertex& v = mesh->vertices[i];
            j.vector(nullptr, v.x, v.y, v.z);
        }
        j.end_array();
        j.vector("pivot", mesh->pivot.x, mesh->pivot.y, mesh->pivot.z);
        j.vector("bounding_centre", mesh->bounding_centre.x, mesh->bounding_centre.y, mesh->bounding_centre.z);
        j.end_object();
    }
    j.end_array();
}

void write_materials(JsonOut& j, const Scene3ds& scene) {
    j.begin_array("materials");
    for (const auto& m : scene.materials) {
        j.begin_object();
        j.string("name", m->name, MATERIAL_NAME_SIZE);
        colour(j, "ambient", m->ambient);
        colour(j, "diffuse", m->diffuse);
        colour(j, "specular", m->specular);
        j.number("shininess", m->shininess);
        j.number("shininess_strength", m->shininess_strength);
        j.number("transparency", m->transparency);
        j.boolean("wire", m->wire != 0);
        j.begin_object("maps");
        if (m->has_map(MATERIAL_MAP_TEXTURE)) j.string("texture", m->texture_map.file_name, MATERIAL_MAP_NAME_SIZE);
        if (m->has_map(MATERIAL_MAP_OPACITY)) j.string("opacity", m->opacity_map.file_name, MATERIAL_MAP_NAME_SIZE);
        if (m->has_map(MATERIAL_MAP_REFLECTION))
            j.string("reflection", m->reflection_map.file_name, MATERIAL_MAP_NAME_SIZE);
        j.end_object();
        j.end_object();
    }
    j.end_array();
}

void write_cameras(JsonOut& j, const Scene3ds& scene, const NodeIndex& index) {
    j.begin_array("cameras");
    for (const CameraNode* camera : scene.cameras) {
        j.begin_object();
        j.string("name", camera->name, SCENE_NODE_NAME_SIZE);
        j.number("field_of_view", camera->field_of_view);
        node_link(j, "target", camera->target, index);
        j.end_object();
    }
    j.end_array();
}

void write_lights(JsonOut& j, const Scene3ds& scene, const NodeIndex& index) {
    j.begin_array("lights");
    for (const LightNode* light : scene.lights) {
        j.begin_object();
        j.string("name", light->name, SCENE_NODE_NAME_SIZE);
        j.vector("colour", light->r, light->g, light->b);
        j.boolean("spot", light->spot != 0);
        j.number("hotspot", light->hotspot);
        j.number("falloff", light->falloff);
        node_link(j, "spot_node", light->spot_node, index);
        j.end_object();
    }
    j.end_array();
}

template <typename Key>
void track_info(JsonOut& j, const char* name, const Track<Key>& track) {
    j.begin_object(name);
    j.integer("keys", static_cast<long long>(track.count()));
    if (track.empty())
        j.null("first_frame");
    else
        j.integer("first_frame", track.keys.front().frame);
    j.end_object();
}

// Key counts and first frames of the tracks a node of its kind carries.
void write_tracks(JsonOut& j, const SceneNode& node) {
    j.begin_object("tracks");
    track_info(j, "position", node.position_track);
    switch (node.kind) {
        case NodeKind::Mesh: {
            const auto& mesh = static_cast<const MeshNode&>(node);
            track_info(j, "rotation", mesh.rotation_track);
            track_info(j, "scale", mesh.scale_track);
            break;
        }
        case NodeKind::Dummy: {
            const auto& dummy = static_cast<const DummyNode&>(node);
            track_info(j, "rotation", dummy.rotation_track);
            track_info(j, "scale", dummy.scale_track);
            break;
        }
        case NodeKind::Camera: {
            const auto& camera = static_cast<const CameraNode&>(node);
            track_info(j, "fov", camera.fov_track);
            track_info(j, "roll", camera.roll_track);
            break;
        }
        case NodeKind::Light:
        case NodeKind::Target:
            break;
    }
    j.end_object();
}

}  // namespace

std::string scene_info_json(const Scene3ds& scene) {
    NodeIndex index;
    for (std::size_t i = 0; i < scene.node_registry.size(); ++i)
        index.emplace(scene.node_registry[i], static_cast<long long>(i));

    JsonOut j;
    j.begin_object();
    j.begin_object("frames");
    j.integer("start", scene.start_frame);
    j.integer("end", scene.end_frame);
    j.end_object();
    write_meshes(j, scene);
    write_materials(j, scene);
    write_cameras(j, scene, index);
    write_lights(j, scene, index);

    j.begin_array("nodes");
    for (const SceneNode* node : scene.node_registry) {
        j.begin_object();
        j.string("kind", node_kind_name(node->kind), 16);
        j.string("name", node->name, SCENE_NODE_NAME_SIZE);
        j.integer("node_id", node->node_id);
        j.integer("parent_id", node->parent_id);
        node_link(j, "parent", node->parent, index);
        write_tracks(j, *node);
        j.end_object();
    }
    j.end_array();

    j.begin_array("evaluation_order");
    for (const SceneNode* node : scene.evaluation_order) {
        const auto found = index.find(node);
        j.integer(nullptr, found != index.end() ? found->second : -1);
    }
    j.end_array();
    j.end_object();
    return j.take();
}
