#include "scene3ds_writer/write_3ds.h"

#include <bit>
#include <cmath>
#include <cstdio>

#include "scene3ds_writer/chunk_writer.h"
#include "scene3ds/chunk_ids.h"

namespace {

void write_point(ChunkWriter& w, const File3dsPoint& p) { w.point(p.x, p.y, p.z); }

std::uint8_t colour_byte(float c) {
    const float v = std::round(c * 255.0f);
    if (!(v > 0.0f)) return 0;  // also NaN
    return static_cast<std::uint8_t>(v > 255.0f ? 255.0f : v);
}

void write_colour(ChunkWriter& w, const File3dsColor& c) {
    w.chunk(static_cast<std::uint16_t>(c.format), [&] {
        if (c.format == File3dsColorFormat::Float || c.format == File3dsColorFormat::FloatGamma) {
            w.point(c.r, c.g, c.b);
        } else {
            w.u8(colour_byte(c.r));
            w.u8(colour_byte(c.g));
            w.u8(colour_byte(c.b));
        }
    });
}

void write_percentage(ChunkWriter& w, const File3dsPercentage& p) {
    if (p.as_float)
        w.chunk(chunk3ds::PERCENT_FLOAT, [&] { w.f32(p.value); });
    else
        w.chunk(chunk3ds::PERCENT_INT, [&] {
            const float v = std::round(p.value);
            w.i16(!(v > -32768.0f) ? std::int16_t{-32768} : v > 32767.0f ? std::int16_t{32767} : static_cast<std::int16_t>(v));
        });
}

void write_map(ChunkWriter& w, std::uint16_t id, const std::optional<std::string>& file_name) {
    if (!file_name) return;
    w.chunk(id, [&] {
        write_percentage(w, File3dsPercentage{100.0f, false});
        w.chunk(chunk3ds::MAP_FILE_NAME, [&] { w.name(*file_name); });
    });
}

void write_material(ChunkWriter& w, const File3dsMaterial& m) {
    w.chunk(chunk3ds::MATERIAL_ENTRY, [&] {
        w.chunk(chunk3ds::MATERIAL_NAME, [&] { w.name(m.name); });
        const std::pair<std::uint16_t, const std::optional<File3dsColor>*> colours[] = {
            {chunk3ds::MATERIAL_AMBIENT, &m.ambient},
            {chunk3ds::MATERIAL_DIFFUSE, &m.diffuse},
            {chunk3ds::MATERIAL_SPECULAR, &m.specular}};
        for (const auto& entry : colours) {
            const std::optional<File3dsColor>& colour = *entry.second;
            if (colour) w.chunk(entry.first, [&] { write_colour(w, *colour); });
        }
        const std::pair<std::uint16_t, const std::optional<File3dsPercentage>*> percentages[] = {
            {chunk3ds::MATERIAL_SHININESS, &m.shininess},
            {chunk3ds::MATERIAL_SHININESS_STRENGTH, &m.shininess_strength},
            {chunk3ds::MATERIAL_TRANSPARENCY, &m.transparency}};
        for (const auto& entry : percentages) {
            const std::optional<File3dsPercentage>& percentage = *entry.second;
            if (percentage) w.chunk(entry.first, [&] { write_percentage(w, *percentage); });
        }
        if (m.wire) w.chunk(chunk3ds::MATERIAL_WIRE, [] {});
        write_map(w, chunk3ds::TEXTURE_MAP, m.texture_map);
        write_map(w, chunk3ds::OPACITY_MAP, m.opacity_map);
        write_map(w, chunk3ds::REFLECTION_MAP, m.reflection_map);
    });
}

void write_mesh(ChunkWriter& w, const File3dsMesh& mesh) {
    w.chunk(chunk3ds::TRIANGLE_MESH, [&] {
        w.chunk(chunk3ds::VERTEX_LIST, [&] {
            w.u16(static_cast<std::uint16_t>(mesh.vertices.size()));
            for (const File3dsPoint& p : mesh.vertices) write_point(w, p);
        });
        if (!mesh.texture_coords.empty()) {
            w.chunk(chunk3ds::TEXTURE_COORDS, [&] {
                w.u16(static_cast<std::uint16_t>(mesh.texture_coords.size()));
                for (const auto& uv : mesh.texture_coords) {
                    w.f32(uv[0]);
                    w.f32(uv[1]);
                }
            });
        }
        if (mesh.local_axes) {
            w.chunk(chunk3ds::LOCAL_AXES, [&] {
                for (float v : *mesh.local_axes) w.f32(v);
            });
        }
        w.chunk(chunk3ds::FACE_LIST, [&] {
            w.u16(static_cast<std::uint16_t>(mesh.faces.size()));
            for (const File3dsFace& f : mesh.faces) {
                w.u16(f.a);
                w.u16(f.b);
                w.u16(f.c);
                w.u16(f.flags);
            }
            for (const File3dsFaceGroup& group : mesh.material_groups) {
                w.chunk(chunk3ds::FACE_MATERIAL, [&] {
                    w.name(group.material);
                    w.u16(static_cast<std::uint16_t>(group.faces.size()));
                    for (std::uint16_t face : group.faces) w.u16(face);
                });
            }
            w.chunk(chunk3ds::SMOOTH_GROUPS, [&] {
                for (std::size_t i = 0; i < mesh.faces.size(); ++i) w.u32(1);
            });
        });
    });
}

void write_light(ChunkWriter& w, const File3dsLight& light) {
    w.chunk(chunk3ds::LIGHT, [&] {
        write_point(w, light.position);
        if (light.colour) write_colour(w, *light.colour);
        if (light.spot) {
            w.chunk(chunk3ds::SPOTLIGHT, [&] {
                write_point(w, light.spot->target);
                w.f32(light.spot->hotspot);
                w.f32(light.spot->falloff);
            });
        }
    });
}

void write_camera(ChunkWriter& w, const File3dsCamera& camera) {
    w.chunk(chunk3ds::CAMERA, [&] {
        write_point(w, camera.position);
        write_point(w, camera.target);
        w.f32(camera.bank);
        w.f32(camera.lens);
    });
}

const std::string& object_name(const File3dsObject& object) {
    return std::visit([](const auto& o) -> const std::string& { return o.name; }, object);
}

void write_object(ChunkWriter& w, const File3dsObject& object) {
    w.chunk(chunk3ds::NAMED_OBJECT, [&] {
        w.name(object_name(object));
        if (const auto* mesh = std::get_if<File3dsMesh>(&object)) write_mesh(w, *mesh);
        if (const auto* light = std::get_if<File3dsLight>(&object)) write_light(w, *light);
        if (const auto* camera = std::get_if<File3dsCamera>(&object)) write_camera(w, *camera);
    });
}

void write_value(ChunkWriter& w, const File3dsPoint& p) { write_point(w, p); }
void write_value(ChunkWriter& w, float v) { w.f32(v); }
void write_value(ChunkWriter& w, const File3dsRotation& r) {
    w.f32(r.angle);
    write_point(w, r.axis);
}

template <typename Value>
void write_track(ChunkWriter& w, std::uint16_t id, const std::optional<File3dsTrack<Value>>& track) {
    if (!track) return;
    w.chunk(id, [&] {
        w.u16(track->flags);
        w.u32(0);
        w.u32(0);
        w.u32(static_cast<std::uint32_t>(track->keys.size()));
        for (const File3dsKey<Value>& key : track->keys) {
            w.u32(key.frame);
            w.u16(key.spline.flags);
            for (int bit = 0; bit < 5; ++bit)
                if (key.spline.flags & (1u << bit)) w.f32(key.spline.values[static_cast<std::size_t>(bit)]);
            write_value(w, key.value);
        }
    });
}

void write_node(ChunkWriter& w, const File3dsNode& node) {
    w.chunk(static_cast<std::uint16_t>(node.chunk), [&] {
        if (node.node_id) w.chunk(chunk3ds::NODE_ID, [&] { w.i16(*node.node_id); });
        w.chunk(chunk3ds::NODE_HEADER, [&] {
            w.name(node.name);
            w.u16(node.flags1);
            w.u16(node.flags2);
            w.i16(node.parent);
        });
        if (node.instance_name) w.chunk(chunk3ds::INSTANCE_NAME, [&] { w.name(*node.instance_name); });
        if (node.pivot) w.chunk(chunk3ds::PIVOT, [&] { write_point(w, *node.pivot); });
        write_track(w, chunk3ds::POSITION_TRACK, node.position);
        write_track(w, chunk3ds::ROTATION_TRACK, node.rotation);
        write_track(w, chunk3ds::SCALE_TRACK, node.scale);
        write_track(w, chunk3ds::FOV_TRACK, node.fov);
        write_track(w, chunk3ds::ROLL_TRACK, node.roll);
    });
}

void write_keyframer(ChunkWriter& w, const File3dsScene& scene) {
    w.chunk(chunk3ds::KEYFRAMER, [&] {
        const std::uint32_t length = scene.frame_segment ? (*scene.frame_segment)[1] : 100;
        w.chunk(chunk3ds::KEYFRAMER_HEADER, [&] {
            w.u16(5);
            w.name("MAXSCENE");
            w.u32(length);
        });
        if (scene.frame_segment) {
            w.chunk(chunk3ds::FRAME_SEGMENT, [&] {
                w.u32((*scene.frame_segment)[0]);
                w.u32((*scene.frame_segment)[1]);
            });
        }
        w.chunk(chunk3ds::CURRENT_FRAME, [&] { w.u32(0); });
        for (const File3dsNode& node : scene.nodes) write_node(w, node);
    });
}

}  // namespace

std::vector<std::uint8_t> write_3ds(const File3dsScene& scene) {
    ChunkWriter w;
    w.chunk(chunk3ds::MAIN, [&] {
        w.chunk(chunk3ds::VERSION, [&] { w.u32(3); });
        w.chunk(chunk3ds::EDITOR, [&] {
            w.chunk(chunk3ds::MESH_VERSION, [&] { w.u32(3); });
            for (const File3dsMaterial& m : scene.materials) write_material(w, m);
            w.chunk(chunk3ds::MASTER_SCALE, [&] { w.f32(1.0f); });
            for (const File3dsObject& object : scene.objects) write_object(w, object);
        });
        if (scene.keyframer) write_keyframer(w, scene);
    });
    return w.take();
}

bool write_3ds_file(const char* path, const File3dsScene& scene) {
    const std::vector<std::uint8_t> bytes = write_3ds(scene);
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
