#include "sample_scenes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

template <typename Value>
File3dsTrack<Value> keys_every(int count, int step, Value (*value)(int)) {
    File3dsTrack<Value> t;
    for (int i = 0; i < count; ++i) t.keys.push_back({static_cast<std::uint32_t>(i * step), value(i), {}});
    return t;
}

File3dsPoint orbit(int i) {
    const float f = static_cast<float>(i);
    return {100.0f * std::cos(0.3f * f), 100.0f * std::sin(0.3f * f), 10.0f * f};
}
File3dsRotation turn(int i) { return {i == 0 ? 0.0f : 0.1f, i == 0 ? File3dsPoint{} : File3dsPoint{0, 0, 1}}; }
File3dsPoint grow(int i) { return {1.0f + 0.01f * static_cast<float>(i), 1.0f, 1.0f}; }
float widen(int i) { return 40.0f + static_cast<float>(i); }

File3dsNode node(File3dsNodeChunk chunk, const std::string& name, std::int16_t id, std::int16_t parent,
                 int keys = 3, int step = 15) {
    File3dsNode n;
    n.chunk = chunk;
    n.node_id = id;
    n.name = name;
    n.parent = parent;
    n.position = keys_every(keys, step, orbit);
    return n;
}

// A grid of quads in the file's XY plane, two triangles each.
File3dsMesh grid_mesh(const std::string& name, int columns, int rows, const std::string& material) {
    File3dsMesh mesh;
    mesh.name = name;
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x) {
            mesh.vertices.push_back({static_cast<float>(x) * 10.0f, static_cast<float>(y) * 10.0f,
                                     std::sin(static_cast<float>(x + y)) * 5.0f});
            mesh.texture_coords.push_back({static_cast<float>(x) / static_cast<float>(columns),
                                           static_cast<float>(y) / static_cast<float>(rows)});
        }
    File3dsFaceGroup group{material, {}};
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            const auto v = static_cast<std::uint16_t>(y * (columns + 1) + x);
            const auto up = static_cast<std::uint16_t>(v + columns + 1);
            const auto right = static_cast<std::uint16_t>(v + 1), up_right = static_cast<std::uint16_t>(up + 1);
            for (const File3dsFace& face : {File3dsFace{v, right, up, 7}, File3dsFace{right, up_right, up, 7}}) {
                group.faces.push_back(static_cast<std::uint16_t>(mesh.faces.size()));
                mesh.faces.push_back(face);
            }
        }
    mesh.material_groups.push_back(group);
    return mesh;
}

}  // namespace

File3dsScene sample_full_scene() {
    using F = File3dsColorFormat;
    using N = File3dsNodeChunk;
    File3dsScene s;
    // Name; ambient, diffuse, specular; shininess, its strength, transparency; wire; the three maps.
    s.materials = {{"Metal", File3dsColor{0.1f, 0.1f, 0.1f, F::Bytes}, File3dsColor{0.8f, 0.7f, 0.6f, F::Float},
                    File3dsColor{1.0f, 1.0f, 1.0f, F::BytesGamma}, File3dsPercentage{60.0f, false},
                    File3dsPercentage{0.5f, true}, {}, false, "metal.jpg", {}, "env.jpg"},
                   {"Glass", {}, File3dsColor{0.2f, 0.4f, 0.9f, F::FloatGamma}, {}, {}, {},
                    File3dsPercentage{50.0f, false}, true, {}, "mask.tga", {}}};

    File3dsMesh body = grid_mesh("Body", 3, 2, "Glass");
    body.material_groups.push_back({"Metal", {0, 1}});
    body.local_axes = std::array<float, 12>{0, 1, 0, -1, 0, 0, 0, 0, 1, 50, 60, 70};
    const File3dsMesh wheel{"Wheel", {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {0, 0, 100}}, {}, {},
                            {{0, 1, 2, 7}, {0, 2, 3, 7}, {0, 3, 1, 7}, {1, 3, 2, 7}}, {}};
    s.objects = {body, File3dsLight{"Omni", {0, 0, 500}, File3dsColor{1.0f, 0.9f, 0.8f, F::Float}, {}}, wheel,
                 File3dsCamera{"Front", {0, -500, 100}, {}, 0.0f, 35.0f},
                 File3dsLight{"Spot", {300, 300, 300}, File3dsColor{0.5f, 0.5f, 1.0f, F::Bytes},
                              File3dsSpot{{0, 0, 0}, 30.0f, 45.0f}},
                 File3dsCamera{"Top", {0, 0, 800}, {}, 0.0f, 50.0f}};

    s.frame_segment = std::array<std::uint32_t, 2>{0, 60};
    s.nodes = {node(N::Object, "$$$DUMMY", 0, -1), node(N::Object, "Body", 1, 0), node(N::Object, "Wheel", 2, 1),
               node(N::Camera, "Front", 3, 0), node(N::CameraTarget, "Front", 4, 1), node(N::Camera, "Top", 5, -1),
               node(N::CameraTarget, "Top", 6, -1), node(N::Light, "Omni", 7, -1), node(N::Spotlight, "Spot", 8, -1),
               node(N::LightTarget, "Spot", 9, -1)};
    File3dsNode& group = s.nodes[0];
    group.instance_name = "Car";
    group.pivot = File3dsPoint{10, 20, 30};
    group.rotation = keys_every(4, 20, turn);
    group.scale = keys_every(2, 60, grow);
    File3dsNode& body_node = s.nodes[1];
    body_node.pivot = File3dsPoint{5, 5, 5};
    body_node.rotation = keys_every(3, 30, turn);
    body_node.scale = keys_every(1, 1, grow);
    body_node.position->keys[1].spline = {FILE3DS_SPLINE_TENSION | FILE3DS_SPLINE_EASE_TO, {0.5f, 0, 0, 1.0f, 0}};
    File3dsNode& wheel_node = s.nodes[2];
    wheel_node.rotation = keys_every(5, 12, turn);
    wheel_node.rotation->keys[2].spline = {0x1F, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f}};
    wheel_node.scale = keys_every(1, 1, grow);
    s.nodes[3].fov = keys_every(2, 60, widen);
    s.nodes[3].roll = keys_every(2, 60, widen);
    s.nodes[5].fov = keys_every(1, 1, widen);
    return s;
}

File3dsScene sample_large_scene(int triangles, int keys) {
    File3dsScene s;
    s.materials.resize(1);
    s.materials[0].name = "Surface";
    s.materials[0].diffuse = File3dsColor{0.7f, 0.7f, 0.7f, File3dsColorFormat::Bytes};
    s.materials[0].texture_map = "surface.jpg";
    s.frame_segment = std::array<std::uint32_t, 2>{0, static_cast<std::uint32_t>(keys * 5)};
    s.nodes.push_back(node(File3dsNodeChunk::Object, "$$$DUMMY", 0, -1));
    s.nodes.back().instance_name = "Root";
    for (int index = 0, made = 0; made < triangles; ++index) {
        const int part = std::min(10000, triangles - made);
        const int columns = 50;
        const int rows = std::max(1, part / (2 * columns));
        const std::string name = "Part" + std::to_string(index);
        File3dsMesh mesh = grid_mesh(name, columns, rows, "Surface");
        mesh.local_axes = std::array<float, 12>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, static_cast<float>(index)};
        made += 2 * columns * rows;
        s.objects.push_back(mesh);
        File3dsNode n = node(File3dsNodeChunk::Object, name, static_cast<std::int16_t>(index + 1), 0, keys, 5);
        n.pivot = File3dsPoint{1, 2, 3};
        n.rotation = keys_every(keys, 5, turn);
        n.scale = keys_every(keys, 5, grow);
        s.nodes.push_back(n);
    }
    return s;
}
