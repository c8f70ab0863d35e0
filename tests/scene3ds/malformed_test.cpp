// Malformed files, most made from a valid one: truncated at every byte, lengths and counts out of range,
// a wrong first chunk, face indices past the vertices, chunks outside their parents, too many target
// nodes, deep nesting, unterminated names, odd node ids and parent cycles. Every one loads without
// reading past its buffer (the sanitizer build checks that) into a scene whose invariants hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/debug_output.h"
#include "sample_scenes.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds_test_util.h"
#include "scene3ds_writer/chunk_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ChunkAt {
    std::size_t offset;
    std::uint16_t id;
    std::uint32_t length;
};

std::uint32_t get_le(const Bytes& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes; i-- > 0;) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}
void put_le(Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
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
        case FACE_LIST: return body + 2 + 8 * get_le(b, body, 2);
        case LIGHT: return body + 12;
        default: return 0;
    }
}

// Every chunk of a well-formed file, parents before their children.
std::vector<ChunkAt> chunks_of(const Bytes& b, std::size_t begin = 0, std::size_t end = SIZE_MAX) {
    std::vector<ChunkAt> out;
    for (std::size_t p = begin; p + 6 <= std::min(end, b.size());) {
        const ChunkAt c{p, static_cast<std::uint16_t>(get_le(b, p, 2)), get_le(b, p + 2, 4)};
        out.push_back(c);
        if (const std::size_t children = children_at(b, c.id, p + 6, p + c.length); children != 0)
            for (const ChunkAt& inner : chunks_of(b, children, p + c.length)) out.push_back(inner);
        p += c.length;
    }
    return out;
}

std::unique_ptr<Scene3ds> load_sound(const Bytes& bytes) {
    auto scene = load_bytes(bytes);
    EXPECT_NE(scene, nullptr);
    if (scene) expect_sound(*scene);
    return scene;
}

// The bytes with a field of the first chunk with the id changed (at: bytes from the chunk's start).
Bytes patched(Bytes bytes, std::uint16_t id, std::size_t at, std::uint32_t value, int width = 2) {
    for (const ChunkAt& c : chunks_of(bytes))
        if (c.id == id) {
            put_le(bytes, c.offset + at, value, width);
            return bytes;
        }
    ADD_FAILURE() << "no chunk " << std::hex << id;
    return bytes;
}

}  // namespace

TEST(MalformedFiles, TruncatedAtEveryByte) {
    DebugOutputCapture quiet;
    const Bytes full = write_3ds(sample_full_scene());
    const std::vector<ChunkAt> chunks = chunks_of(full);
    std::array<std::size_t, 3> seen{};  // meshes, materials, nodes
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
                put_le(part, c.offset + 2, static_cast<std::uint32_t>(cut - c.offset), 4);
        }
        const auto scene = load_sound(part);
        if (HasFatalFailure()) return;
        // A longer prefix never gives fewer records.
        const std::array now{scene->meshes.size(), scene->materials.size(), scene->node_registry.size()};
        for (int k = 0; k < 3; ++k) EXPECT_GE(now[k], seen[k]) << k;
        seen = now;
    }
    EXPECT_EQ(seen, (std::array<std::size_t, 3>{2, 2, 10}));
}

TEST(MalformedFiles, EveryLengthAndCountOutOfRange) {
    DebugOutputCapture capture;
    const Bytes full = write_3ds(sample_full_scene());
    const std::vector<ChunkAt> chunks = chunks_of(full);
    ASSERT_GT(chunks.size(), 100u);
    std::size_t counts = 0;
    for (const ChunkAt& c : chunks) {
        // The chunk's length, and its count field if it has one: 16 bits at the start of a list (after
        // the name of a face material group), 32 bits after a track's 10-byte header.
        std::vector<std::tuple<std::size_t, int, std::uint32_t>> patches;  // offset, width, value
        for (std::uint32_t length : {0u, 1u, 5u, 6u, c.length - 1, c.length + 1, c.length + 1000, 0xFFFFFFFFu})
            patches.emplace_back(c.offset + 2, 4, length);
        const bool track = c.id >= chunk3ds::POSITION_TRACK && c.id <= chunk3ds::ROLL_TRACK;
        if (track || c.id == chunk3ds::VERTEX_LIST || c.id == chunk3ds::FACE_LIST || c.id == chunk3ds::TEXTURE_COORDS ||
            c.id == chunk3ds::FACE_MATERIAL) {
            std::size_t field = c.offset + 6 + (track ? 10 : 0);
            if (c.id == chunk3ds::FACE_MATERIAL) field += std::strlen(reinterpret_cast<const char*>(&full[field])) + 1;
            for (std::uint32_t count : {0u, 0x7FFFu, 0x8000u, 0xFFFFu, 0xFFFFFFFFu})
                if (track || count <= 0xFFFF) patches.emplace_back(field, track ? 4 : 2, count);
            ++counts;
        }
        for (const auto& [at, width, value] : patches) {
            SCOPED_TRACE(testing::Message() << "chunk " << std::hex << c.id << " at " << std::dec << c.offset << ": "
                                            << value << " at " << at);
            Bytes bad = full;
            put_le(bad, at, value, width);
            const auto scene = load_sound(bad);
            if (HasFatalFailure()) return;
            // A vertex list keeps the vertices that are there.
            if (c.id == chunk3ds::VERTEX_LIST && width == 2 && value > 100) {
                EXPECT_EQ(scene->meshes.size(), 2u);
            }
        }
    }
    EXPECT_GT(counts, 20u);
    EXPECT_NE(capture.text().find("vertex list holds"), std::string::npos);
    EXPECT_NE(capture.text().find("face list holds"), std::string::npos);
}

TEST(MalformedFiles, FirstChunkOtherThanMainGivesAnEmptyScene) {
    const auto scene = load_sound(patched(write_3ds(sample_full_scene()), chunk3ds::MAIN, 0, chunk3ds::EDITOR));
    EXPECT_TRUE(scene->node_registry.empty() && scene->materials.empty());
}

TEST(MalformedFiles, FaceIndicesPastTheVerticesDropTheFaces) {
    const Bytes full = write_3ds(sample_full_scene());
    // Body's first face index one past its vertices, and Body's smoothing groups turned into a vertex
    // list of one vertex after its faces.
    const std::pair<Bytes, const char*> cases[] = {
        {patched(full, chunk3ds::FACE_LIST, 8, 12), "mesh Body: face index 12 beyond its 12 vertices, faces dropped"},
        {patched(full, chunk3ds::SMOOTH_GROUPS, 0, chunk3ds::VERTEX_LIST),
         "mesh Body: face index 4 beyond its 1 vertices"}};
    for (const auto& [bytes, complaint] : cases) {
        DebugOutputCapture capture;
        const auto scene = load_sound(bytes);
        ASSERT_EQ(scene->meshes.size(), 2u);
        EXPECT_EQ(scene->meshes[0]->index_count(), 0u);
        EXPECT_EQ(scene->meshes[1]->index_count(), 12u);
        EXPECT_NE(capture.text().find(complaint), std::string::npos) << capture.text();
        // Faces dropped before the normals were made leave none.
        if (scene->meshes[0]->vertex_count() == 12) {
            expect_vector_near(vertex_normal(scene->meshes[0]->vertices[5]), {0, 0, 0}, 0.0f);
        }
    }
}

TEST(MalformedFiles, ChunksOutsideTheirParentsAreSkipped) {
    DebugOutputCapture quiet;
    using namespace chunk3ds;
    const Bytes filler(64, 1);  // a track in it holds one key
    ChunkWriter w;
    w.chunk(MAIN, [&] {
        w.chunk(EDITOR, [&] {
            // Mesh, light and material chunks with no mesh, light, material or map to go to.
            for (std::uint16_t id : {VERTEX_LIST, FACE_LIST, TEXTURE_COORDS, LOCAL_AXES, FACE_MATERIAL, SPOTLIGHT,
                                     MAP_FILE_NAME, MATERIAL_WIRE, MATERIAL_DIFFUSE})
                w.chunk(id, [&] { w.bytes(filler); });
            w.chunk(TEXTURE_MAP, [&] { w.chunk(MAP_FILE_NAME, [&] { w.name("stray.jpg"); }); });
            w.chunk(MATERIAL_DIFFUSE, [&] { w.chunk(COLOR_BYTES, [&] { w.bytes({1, 2, 3}); }); });
            w.chunk(MAIN, [&] { w.chunk(EDITOR, [] {}); });
        });
        w.chunk(KEYFRAMER, [&] {
            // Node data before any node chunk, and a track before the header, belong to no node.
            for (std::uint16_t id : {POSITION_TRACK, ROTATION_TRACK, PIVOT, INSTANCE_NAME})
                w.chunk(id, [&] { w.bytes(filler); });
            w.chunk(OBJECT_NODE, [&] { w.chunk(NODE_HEADER, [] {}); });  // a header without its fields
            w.chunk(OBJECT_NODE, [&] {
                w.chunk(POSITION_TRACK, [&] { w.bytes(filler); });
                w.chunk(NODE_HEADER, [&] {
                    w.name("Ghost");
                    w.u32(0);
                    w.i16(-1);
                });
            });
        });
    });
    const auto scene = load_sound(w.data());
    EXPECT_TRUE(scene->meshes.empty() && scene->materials.empty() && scene->lights.empty());
    ASSERT_EQ(scene->dummies.size(), 1u);
    EXPECT_STREQ(scene->dummies[0]->name, "Ghost");
    EXPECT_TRUE(scene->dummies[0]->position_track.empty());
}

TEST(MalformedFiles, MoreThanSixtyFourTargetAndSpotNodes) {
    DebugOutputCapture capture;
    File3dsScene file;
    for (int i = 0; i < 70; ++i) {
        const std::string n = std::to_string(i);
        file.objects.push_back(make_camera("C" + n));
        file.objects.push_back(make_light("L" + n, File3dsSpot{}));
        file.nodes.push_back(file_node(File3dsNodeChunk::CameraTarget, "C" + n, static_cast<std::int16_t>(2 * i)));
        file.nodes.push_back(file_node(File3dsNodeChunk::Spotlight, "L" + n, static_cast<std::int16_t>(2 * i + 1)));
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
    File3dsScene file = file_scene({make_camera(long_name)}, {file_node(File3dsNodeChunk::Camera, long_name, 4)});
    file.materials.resize(1);
    file.materials[0].name = std::string(40, 'm');
    // The material name's terminating zero becomes an 'm': the name runs to the chunk's end.
    const auto scene = load_sound(patched(write_3ds(file), chunk3ds::MATERIAL_NAME, 6 + 40, 'm', 1));
    EXPECT_TRUE(scene->materials.empty());
    ASSERT_EQ(scene->cameras.size(), 1u);
    EXPECT_EQ(std::string(scene->cameras[0]->name), long_name.substr(0, 31));
    // The header's name was cut to 31 characters, found the camera, and its fields still read in place.
    EXPECT_EQ(scene->cameras[0]->node_id, 4);
    EXPECT_EQ(scene->cameras[0]->parent_id, -1);
    EXPECT_TRUE(scene->dummies.empty());
}

TEST(MalformedFiles, OddNodeIdsAndParentCyclesInAFile) {
    DebugOutputCapture capture;
    using N = File3dsNodeChunk;
    const auto scene = load_sound(write_3ds(file_scene(
        {make_mesh("A"), make_mesh("B"), make_mesh("C"), make_mesh("D")},
        {file_node(N::Object, "A", 600, 700), file_node(N::Object, "B", 700, 600), file_node(N::Object, "C", -7, 600),
         file_node(N::Object, "D", 32767, 12345)})));
    EXPECT_EQ(scene->meshes[0]->node_id, 600);
    EXPECT_EQ(scene->meshes[2]->parent, scene->meshes[0]);
    EXPECT_EQ(scene->meshes[3]->parent, nullptr);
    EXPECT_NE(capture.text().find("parent cycle"), std::string::npos);
}

TEST(MalformedFiles, TracksWithoutKeysOrWithFewerKeysThanClaimed) {
    DebugOutputCapture quiet;
    File3dsNode empty = file_node(File3dsNodeChunk::Object, "Empty", 0);
    empty.position->keys.clear();
    empty.rotation.emplace();
    empty.scale = track<File3dsPoint>({{0, {2, 3, 4}}});
    // The scale track claims 1000 keys and holds one.
    const auto scene = load_sound(patched(write_3ds(file_scene({}, {empty})), chunk3ds::SCALE_TRACK, 6 + 10, 1000, 4));
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
