// What a 3D Studio (.3ds) file holds, described in the file's own terms (file units, the file's axes,
// the file's winding, rotation keys relative to the key before), for writing with write_3ds: editor
// objects (meshes, lights, cameras) in file order, materials, the frame segment and the keyframer's
// nodes with their tracks. The content generator and the tests describe scenes with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct File3dsPoint {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

enum class File3dsColorFormat : std::uint16_t {
    Float = 0x0010,       // three floats
    Bytes = 0x0011,       // three bytes, value × 255 rounded, clamped to 0..255
    BytesGamma = 0x0012,
    FloatGamma = 0x0013,
};

struct File3dsColor {
    float r = 0.0f, g = 0.0f, b = 0.0f;
    File3dsColorFormat format = File3dsColorFormat::Bytes;
};

// A percentage chunk: an integer (0x0030, value rounded and clamped to 16 bits) or a float (0x0031).
struct File3dsPercentage {
    float value = 0.0f;
    bool as_float = false;
};

struct File3dsFace {
    std::uint16_t a = 0, b = 0, c = 0;
    std::uint16_t flags = 7;  // edge visibility bits
};

struct File3dsFaceGroup {
    std::string material;
    std::vector<std::uint16_t> faces;
};

struct File3dsMesh {
    std::string name;
    std::vector<File3dsPoint> vertices;
    std::vector<std::array<float, 2>> texture_coords;  // (u, v) per vertex
    std::optional<std::array<float, 12>> local_axes;   // X, Y, Z axes and origin, three floats each
    std::vector<File3dsFace> faces;
    std::vector<File3dsFaceGroup> material_groups;     // written inside the face list
};

struct File3dsSpot {
    File3dsPoint target;
    float hotspot = 0.0f;  // degrees
    float falloff = 0.0f;
};

struct File3dsLight {
    std::string name;
    File3dsPoint position;
    std::optional<File3dsColor> colour;
    std::optional<File3dsSpot> spot;
};

struct File3dsCamera {
    std::string name;
    File3dsPoint position;
    File3dsPoint target;
    float bank = 0.0f;
    float lens = 50.0f;
};

using File3dsObject = std::variant<File3dsMesh, File3dsLight, File3dsCamera>;

struct File3dsMaterial {
    std::string name;
    std::optional<File3dsColor> ambient, diffuse, specular;
    std::optional<File3dsPercentage> shininess, shininess_strength, transparency;
    bool wire = false;
    std::optional<std::string> texture_map, opacity_map, reflection_map;  // map file names
};

// Spline flag bits of a key; each set bit is followed by its float, in this order.
constexpr std::uint16_t FILE3DS_SPLINE_TENSION = 0x01;
constexpr std::uint16_t FILE3DS_SPLINE_CONTINUITY = 0x02;
constexpr std::uint16_t FILE3DS_SPLINE_BIAS = 0x04;
constexpr std::uint16_t FILE3DS_SPLINE_EASE_TO = 0x08;
constexpr std::uint16_t FILE3DS_SPLINE_EASE_FROM = 0x10;

struct File3dsSpline {
    std::uint16_t flags = 0;
    std::array<float, 5> values{};  // tension, continuity, bias, ease to, ease from
};

struct File3dsRotation {
    float angle = 0.0f;  // radians, relative to the key before
    File3dsPoint axis;
};

template <typename Value>
struct File3dsKey {
    std::uint32_t frame = 0;
    Value value{};
    File3dsSpline spline;
};

template <typename Value>
struct File3dsTrack {
    std::uint16_t flags = 0;
    std::vector<File3dsKey<Value>> keys;
};

enum class File3dsNodeChunk : std::uint16_t {
    Ambient = 0xB001,
    Object = 0xB002,
    Camera = 0xB003,
    CameraTarget = 0xB004,
    Light = 0xB005,
    LightTarget = 0xB006,
    Spotlight = 0xB007,
};

struct File3dsNode {
    File3dsNodeChunk chunk = File3dsNodeChunk::Object;
    std::optional<std::int16_t> node_id;
    std::string name;
    std::uint16_t flags1 = 0;
    std::uint16_t flags2 = 0;
    std::int16_t parent = -1;
    std::optional<std::string> instance_name;
    std::optional<File3dsPoint> pivot;
    std::optional<File3dsTrack<File3dsPoint>> position;
    std::optional<File3dsTrack<File3dsRotation>> rotation;
    std::optional<File3dsTrack<File3dsPoint>> scale;
    std::optional<File3dsTrack<float>> fov;
    std::optional<File3dsTrack<float>> roll;
};

struct File3dsScene {
    std::vector<File3dsMaterial> materials;
    std::vector<File3dsObject> objects;
    bool keyframer = true;
    std::optional<std::array<std::uint32_t, 2>> frame_segment;  // start, end
    std::vector<File3dsNode> nodes;
};
