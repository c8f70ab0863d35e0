// Malformed files made from valid ones: truncated at every byte, chunk lengths too short or too long,
// counts too high, face indices past the vertices, chunks outside their parents, too many target
// nodes, deep nesting, unterminated names, odd node ids and parent cycles. Every one loads without
// reading past its buffer (the sanitizer build checks that) into a scene whose invariants hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "sample_scenes.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds_test_util.h"
#include "scene3ds_writer/chunk_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ChunkAt {
    std::size_t offset;
    std::uint16_t id;
    std::uint32_t length;
};

std::uint16_t get_u16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }
std::uint32_t get_u32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
void put_u16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put_u32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Where a container's children start, or 0 for chunks without children.
std::size_t children_at(const Bytes& b, std::uint16_t id, std::size_t body, std::size_t end) {
    using namespace chunk3ds;
    switch (id) {
        case MAIN: case EDITOR: case TRIANGLE_MESH: case MATERIAL_ENTRY: case MATERIAL_AMBIENT:
        case MATERIAL_DIFFUSE: case MATERIAL_SPECULAR: case MATERIAL_SHININESS: case MATERIAL_SHININESS_STRENGTH:
        case MATERIAL_TRANSPARENCY: case TEXTURE_MAP: case OPACITY_MAP: case REFLECTION_MAP: case KEYFRAMER:
        case OBJECT_NODE: case CAMERA_NODE: case CAMERA_TARGET_NODE: case LIGHT_NODE: case LIGHT_TARGET_NODE:
        case SPOTLIGHT_NODE:
            return body;
        case NAMED_OBJECT: {
            std::size_t p = body;
            while (p < end && b[p] != 0) ++p;
            return p + 1;
        }
        case FACE_LIST: return body + 2 + 8 * static_cast<std::size_t>(get_u16(b, body));
        case LIGHT: return body + 12;
        default: return 0;
    }
}

void list_chunks(const Bytes& b, std::size_t begin, std::size_t end, std::vector<ChunkAt>* out) {
    for (std::size_t p = begin; p + 6 <= end;) {
        const ChunkAt c{p, get_u16(b, p), get_u32(b, p + 2)};
        out->push_back(c);
        const std::size_t children = children_at(b, c.id, p + 6, p + c.length);
        if (children != 0) list_chunks(b, children, p + c.length, out);
        p += c.length;
    }
}

std::vector<ChunkAt> chunks_of(const Bytes& b) {
    std::vector<ChunkAt> out;
    list_chunks(b, 0, b.size(), &out);
    return out;
}

// What every loaded scene must satisfy, however bad its file.
void expect_sound(Scene3ds& scene) {
    for (const MeshNode* mesh : scene.meshes) {
        ASSERT_EQ(mesh->index_count() % 3, 0u);
        for (std::uint16_t index : mesh->indices) ASSERT_LT(index, mesh->vertex_count());
        ASSERT_TRUE(mesh->material_index == 0 ||
                    static_cast<std::size_t>(mesh->material_index) < scene.materials.size());
    }
    const std::set<const SceneNode*> registry(scene.node_registry.begin(), scene.node_registry.end());
    ASSERT_EQ(scene.evaluation_order.size(), scene.node_registry.size());
    std::set<const SceneNode*> done;
    for (const SceneNode* node : scene.evaluation_order) {
        ASSERT_LT(strnlen(node->name, sizeof node->name), sizeof node->name);
        if (node->parent != nullptr) {
            ASSERT_TRUE(done.count(node->parent)) << "parent after child";
        }
        done.insert(node);
    }
    ASSERT_EQ(done, registry);
    for (const CameraNode* camera : scene.cameras) {
        if (camera->target != nullptr) {
            ASSERT_TRUE(registry.count(camera->target));
        }
    }
    for (const LightNode* light : scene.lights) {
        if (light->spot_node != nullptr) {
            ASSERT_TRUE(registry.count(light->spot_node));
        }
    }
    for (const auto& material : scene.materials) {
        ASSERT_LT(strnlen(material->name, sizeof material->name), sizeof material->name);
        ASSERT_LT(strnlen(material->texture_map.file_name, MATERIAL_MAP_NAME_SIZE), std::size_t{MATERIAL_MAP_NAME_SIZE});
    }
    for (float t : {-3.0f, 0.0f, 17.5f, 1e9f})
        for (SceneNode* node : scene.evaluation_order) evaluate_node(node, t);
}

std::unique_ptr<Scene3ds> load_sound(const Bytes& bytes) {
    auto scene = load_bytes(bytes);
    EXPECT_NE(scene, nullptr);
    if (scene) expect_sound(*scene);
    return scene;
}

// Writes a main chunk around whatever body() writes.
template <typename Body>
Bytes main_chunk(Body body) {
    ChunkWriter w;
    w.chunk(chunk3ds::MAIN, [&] { body(w); });
    return w.take();
}

void empty_track(ChunkWriter& w, std::uint16_t id, std::uint32_t claimed_keys) {
    w.chunk(id, [&] {
        w.u16(0);
        w.u32(0);
        w.u32(0);
        w.u32(claimed_keys);
    });
}

}  // namespace

TEST(MalformedFiles, TruncatedAtEveryByte) {
    DebugOutputCapture quiet;
    const Bytes full = write_3ds(sample_full_scene());
    const std::vector<ChunkAt> chunks = chunks_of(full);
    std::size_t meshes = 0, materials = 0, nodes = 0;
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        SCOPED_TRACE(cut);
        Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        // As cut, the main chunk no longer fits the file: nothing is read.
        if (cut < full.size()) {
            EXPECT_TRUE(load_sound(part)->node_registry.empty());
        }
        // With the enclosing lengths mended, everything complete before the cut is read.
        // Every chunk that starts before the cut and runs past it ends at the cut instead, except the
        // innermost one that is cut in the middle of its fixed fields: the walk stops there.
        for (const ChunkAt& c : chunks) {
            const std::size_t children = children_at(full, c.id, c.offset + 6, c.offset + c.length);
            if (c.offset + 6 <= cut && c.offset + c.length > cut && children != 0 && children <= cut)
                put_u32(part, c.offset + 2, static_cast<std::uint32_t>(cut - c.offset));
        }
        const auto scene = load_sound(part);
        if (HasFatalFailure()) return;
        // A longer prefix never gives fewer records.
        EXPECT_GE(scene->meshes.size(), meshes);
        EXPECT_GE(scene->materials.size(), materials);
        EXPECT_GE(scene->node_registry.size(), nodes);
        meshes = scene->meshes.size();
        materials = scene->materials.size();
        nodes = scene->node_registry.size();
    }
    EXPECT_EQ(meshes, 2u);
    EXPECT_EQ(nodes, 10u);
}

TEST(MalformedFiles, EveryChunkLengthTooShortOrTooLong) {
    DebugOutputCapture quiet;
    const Bytes full = write_3ds(sample_full_scene());
    const std::vector<ChunkAt> chunks = chunks_of(full);
    ASSERT_GT(chunks.size(), 100u);
    for (const ChunkAt& c : chunks) {
        for (std::uint32_t length : {0u, 1u, 5u, 6u, c.length - 1, c.length + 1, c.length + 1000, 0xFFFFFFFFu}) {
            SCOPED_TRACE(testing::Message() << "chunk " << std::hex << c.id << " at " << std::dec << c.offset
                                            << " length " << length);
            Bytes bad = full;
            put_u32(bad, c.offset + 2, length);
            load_sound(bad);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(MalformedFiles, CountsTooHigh) {
    DebugOutputCapture capture;
    const Bytes full = write_3ds(sample_full_scene());
    std::size_t patched = 0;
    for (const ChunkAt& c : chunks_of(full)) {
        std::size_t field = 0;
        bool wide = false;
        if (c.id == chunk3ds::VERTEX_LIST || c.id == chunk3ds::FACE_LIST || c.id == chunk3ds::TEXTURE_COORDS ||
            c.id == chunk3ds::FACE_MATERIAL) {
            field = c.offset + 6;
            if (c.id == chunk3ds::FACE_MATERIAL) field += std::strlen(reinterpret_cast<const char*>(&full[field])) + 1;
        } else if (c.id >= chunk3ds::POSITION_TRACK && c.id <= chunk3ds::ROLL_TRACK) {
            field = c.offset + 6 + 10;
            wide = true;
        } else {
            continue;
        }
        for (std::uint32_t count : {0u, 0x7FFFu, 0x8000u, 0xFFFFu, 0xFFFFFFFFu}) {
            if (!wide && count > 0xFFFF) continue;
            SCOPED_TRACE(testing::Message() << "chunk " << std::hex << c.id << " count " << count);
            Bytes bad = full;
            if (wide)
                put_u32(bad, field, count);
            else
                put_u16(bad, field, static_cast<std::uint16_t>(count));
            const auto scene = load_sound(bad);
            if (HasFatalFailure()) return;
            if (c.id == chunk3ds::VERTEX_LIST && count > 100) {
                // The list keeps the vertices that are there.
                EXPECT_EQ(scene->meshes.size(), 2u);
            }
        }
        ++patched;
    }
    EXPECT_GT(patched, 20u);
    EXPECT_NE(capture.text().find("vertex list holds"), std::string::npos);
}

TEST(MalformedFiles, FaceIndexPastTheVerticesDropsTheFaces) {
    DebugOutputCapture capture;
    File3dsScene file;
    file.keyframer = false;
    file.objects = {make_mesh("bad", {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}}, {{0, 1, 2}, {0, 2, 3}}),
                    triangle_mesh("good")};
    const auto scene = load_sound(write_3ds(file));
    ASSERT_EQ(scene->meshes.size(), 2u);
    EXPECT_EQ(scene->meshes[0]->index_count(), 0u);
    EXPECT_EQ(scene->meshes[0]->vertex_count(), 3u);
    EXPECT_EQ(scene->meshes[0]->vertices[0].ny, 0.0f);
    EXPECT_EQ(scene->meshes[1]->index_count(), 3u);
    EXPECT_NE(capture.text().find("mesh bad: face index 3 beyond its 3 vertices, faces dropped"), std::string::npos);
}

TEST(MalformedFiles, VertexListAfterTheFacesMustStillHoldThem) {
    DebugOutputCapture capture;
    const Bytes bytes = main_chunk([](ChunkWriter& w) {
        w.chunk(chunk3ds::EDITOR, [&] {
            w.chunk(chunk3ds::NAMED_OBJECT, [&] {
                w.name("late");
                w.chunk(chunk3ds::TRIANGLE_MESH, [&] {
                    w.chunk(chunk3ds::VERTEX_LIST, [&] {
                        w.u16(3);
                        for (int i = 0; i < 3; ++i) w.point(static_cast<float>(i), 1, 0);
                    });
                    w.chunk(chunk3ds::FACE_LIST, [&] {
                        w.u16(1);
                        w.u16(0);
                        w.u16(1);
                        w.u16(2);
                        w.u16(0);
                    });
                    w.chunk(chunk3ds::VERTEX_LIST, [&] {
                        w.u16(2);
                        w.point(0, 0, 0);
                        w.point(1, 0, 0);
                    });
                });
            });
        });
    });
    const auto scene = load_sound(bytes);
    ASSERT_EQ(scene->meshes.size(), 1u);
    EXPECT_EQ(scene->meshes[0]->vertex_count(), 2u);
    EXPECT_EQ(scene->meshes[0]->index_count(), 0u);
}

TEST(MalformedFiles, ChunksOutsideTheirParentsAreSkipped) {
    DebugOutputCapture quiet;
    const Bytes bytes = main_chunk([](ChunkWriter& w) {
        w.chunk(chunk3ds::EDITOR, [&] {
            w.chunk(chunk3ds::VERTEX_LIST, [&] {
                w.u16(1);
                w.point(1, 2, 3);
            });
            w.chunk(chunk3ds::FACE_LIST, [&] { w.u16(0); });
            w.chunk(chunk3ds::TEXTURE_COORDS, [&] { w.u16(0); });
            w.chunk(chunk3ds::LOCAL_AXES, [&] {
                for (int i = 0; i < 12; ++i) w.f32(1);
            });
            w.chunk(chunk3ds::FACE_MATERIAL, [&] {
                w.name("x");
                w.u16(0);
            });
            w.chunk(chunk3ds::SPOTLIGHT, [&] {
                for (int i = 0; i < 5; ++i) w.f32(1);
            });
            w.chunk(chunk3ds::MAP_FILE_NAME, [&] { w.name("stray.jpg"); });
            w.chunk(chunk3ds::TEXTURE_MAP, [&] { w.chunk(chunk3ds::MAP_FILE_NAME, [&] { w.name("stray.jpg"); }); });
            w.chunk(chunk3ds::MATERIAL_WIRE, [] {});
            w.chunk(chunk3ds::MATERIAL_DIFFUSE, [&] { w.chunk(chunk3ds::COLOR_BYTES, [&] { w.u8(1); w.u8(2); w.u8(3); }); });
            w.chunk(chunk3ds::MAIN, [&] { w.chunk(chunk3ds::EDITOR, [] {}); });
        });
        w.chunk(chunk3ds::KEYFRAMER, [&] {
            empty_track(w, chunk3ds::POSITION_TRACK, 1);
            empty_track(w, chunk3ds::ROTATION_TRACK, 1);
            w.chunk(chunk3ds::PIVOT, [&] { w.point(1, 1, 1); });
            w.chunk(chunk3ds::INSTANCE_NAME, [&] { w.name("nobody"); });
            w.chunk(chunk3ds::OBJECT_NODE, [&] {
                // Tracks before the header belong to no node.
                empty_track(w, chunk3ds::SCALE_TRACK, 0);
                w.chunk(chunk3ds::NODE_HEADER, [&] {
                    w.name("Ghost");
                    w.u16(0);
                    w.u16(0);
                    w.i16(-1);
                });
            });
        });
    });
    const auto scene = load_sound(bytes);
    EXPECT_TRUE(scene->meshes.empty());
    EXPECT_TRUE(scene->materials.empty());
    EXPECT_TRUE(scene->lights.empty());
    ASSERT_EQ(scene->dummies.size(), 1u);
    EXPECT_STREQ(scene->dummies[0]->name, "Ghost");
    EXPECT_TRUE(scene->dummies[0]->position_track.empty());
}

TEST(MalformedFiles, MoreThanSixtyFourTargetAndSpotNodes) {
    DebugOutputCapture capture;
    File3dsScene file;
    for (int i = 0; i < 70; ++i) {
        File3dsCamera camera;
        camera.name = "C" + std::to_string(i);
        File3dsLight light;
        light.name = "L" + std::to_string(i);
        light.spot = File3dsSpot{};
        file.objects.push_back(camera);
        file.objects.push_back(light);
    }
    for (int i = 0; i < 70; ++i) {
        File3dsNode target;
        target.chunk = File3dsNodeChunk::CameraTarget;
        target.name = "C" + std::to_string(i);
        target.node_id = static_cast<std::int16_t>(2 * i);
        File3dsNode spot = target;
        spot.chunk = File3dsNodeChunk::Spotlight;
        spot.name = "L" + std::to_string(i);
        spot.node_id = static_cast<std::int16_t>(2 * i + 1);
        file.nodes.push_back(target);
        file.nodes.push_back(spot);
    }
    const auto scene = load_sound(write_3ds(file));
    EXPECT_EQ(scene->camera_target_count, 64);
    EXPECT_EQ(scene->spot_node_count, 64);
    EXPECT_EQ(scene->node_registry.size(), 280u);
    ASSERT_EQ(scene->cameras.size(), 70u);
    EXPECT_EQ(scene->cameras[63]->target, scene->camera_targets[63]);
    EXPECT_EQ(scene->cameras[64]->target, nullptr);
    EXPECT_EQ(scene->lights[63]->spot_node, scene->spot_nodes[63]);
    EXPECT_EQ(scene->lights[69]->spot_node, nullptr);
    EXPECT_NE(capture.text().find("more than 64 camera target nodes"), std::string::npos);
}

TEST(MalformedFiles, DeepNestingIsCutOff) {
    DebugOutputCapture capture;
    ChunkWriter w;
    w.begin(chunk3ds::MAIN);
    for (int i = 0; i < 100000; ++i) w.begin(chunk3ds::EDITOR);
    while (w.open_chunks() > 0) w.end();
    load_sound(w.data());
    EXPECT_NE(capture.text().find("nested too deeply"), std::string::npos);
}

TEST(MalformedFiles, UnterminatedAndOverlongNames) {
    DebugOutputCapture quiet;
    const std::string long_name(50, 'n');
    const Bytes bytes = main_chunk([&](ChunkWriter& w) {
        w.chunk(chunk3ds::EDITOR, [&] {
            w.chunk(chunk3ds::MATERIAL_ENTRY, [&] {
                w.chunk(chunk3ds::MATERIAL_NAME, [&] {
                    for (int i = 0; i < 40; ++i) w.u8('m');  // runs to the chunk's end without a zero
                });
            });
            w.chunk(chunk3ds::NAMED_OBJECT, [&] {
                w.name(long_name);
                w.chunk(chunk3ds::CAMERA, [] {});
            });
        });
        w.chunk(chunk3ds::KEYFRAMER, [&] {
            w.chunk(chunk3ds::CAMERA_NODE, [&] {
                w.chunk(chunk3ds::NODE_ID, [&] { w.i16(4); });
                w.chunk(chunk3ds::NODE_HEADER, [&] {
                    w.name(long_name);
                    w.u16(0);
                    w.u16(0);
                    w.i16(-1);
                });
            });
        });
    });
    const auto scene = load_sound(bytes);
    EXPECT_TRUE(scene->materials.empty());
    ASSERT_EQ(scene->cameras.size(), 1u);
    EXPECT_EQ(std::string(scene->cameras[0]->name), long_name.substr(0, 31));
    // The header's name was cut to 31 characters and its fields still read in place.
    EXPECT_EQ(scene->cameras[0]->node_id, 4);
    EXPECT_EQ(scene->cameras[0]->parent_id, -1);
    EXPECT_TRUE(scene->dummies.empty());
}

TEST(MalformedFiles, OddNodeIdsAndParentCyclesInAFile) {
    DebugOutputCapture capture;
    File3dsScene file;
    file.objects = {triangle_mesh("A"), triangle_mesh("B"), triangle_mesh("C"), triangle_mesh("D")};
    file.nodes = {object_node("A", 600, 700), object_node("B", 700, 600), object_node("C", -7, 600),
                  object_node("D", 32767, 12345)};
    const auto scene = load_sound(write_3ds(file));
    EXPECT_EQ(scene->meshes[0]->node_id, 600);
    EXPECT_EQ(scene->meshes[2]->parent, scene->meshes[0]);
    EXPECT_EQ(scene->meshes[3]->parent, nullptr);
    EXPECT_NE(capture.text().find("parent cycle"), std::string::npos);
}

TEST(MalformedFiles, TracksWithoutKeysOrWithFewerKeysThanClaimed) {
    DebugOutputCapture quiet;
    const Bytes bytes = main_chunk([](ChunkWriter& w) {
        w.chunk(chunk3ds::KEYFRAMER, [&] {
            w.chunk(chunk3ds::OBJECT_NODE, [&] {
                w.chunk(chunk3ds::NODE_HEADER, [&] {
                    w.name("Empty");
                    w.u16(0);
                    w.u16(0);
                    w.i16(-1);
                });
                empty_track(w, chunk3ds::POSITION_TRACK, 0);
                empty_track(w, chunk3ds::ROTATION_TRACK, 0);
                w.chunk(chunk3ds::SCALE_TRACK, [&] {
                    w.u16(0);
                    w.u32(0);
                    w.u32(0);
                    w.u32(1000);  // one whole key and half of another follow
                    w.u32(0);
                    w.u16(0);
                    w.point(2, 3, 4);
                    w.u32(5);
                    w.u16(0);
                    w.f32(1);
                });
            });
        });
    });
    const auto scene = load_sound(bytes);
    ASSERT_EQ(scene->dummies.size(), 1u);
    DummyNode* dummy = scene->dummies[0];
    EXPECT_TRUE(dummy->position_track.empty());
    EXPECT_TRUE(dummy->rotation_track.empty());
    ASSERT_EQ(dummy->scale_track.count(), 1u);
    evaluate_node(dummy, 3.0f);
    Matrix expected;
    matrix_scaling(&expected, 2, 4, 3);
    expect_matrix_near(dummy->matrix, expected);
}
