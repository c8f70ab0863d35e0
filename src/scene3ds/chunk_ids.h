// Chunk ids of the 3D Studio file format that the reader understands and the writer produces, with
// a few that the writer emits for 3D Studio's own layout and the reader skips. Shared by the reader,
// the writer and the tests so that both sides name chunks alike.
#pragma once

#include <cstdint>

namespace chunk3ds {

constexpr std::uint16_t MAIN = 0x4D4D;
constexpr std::uint16_t VERSION = 0x0002;
constexpr std::uint16_t EDITOR = 0x3D3D;
constexpr std::uint16_t MESH_VERSION = 0x3D3E;
constexpr std::uint16_t MASTER_SCALE = 0x0100;
constexpr std::uint16_t NAMED_OBJECT = 0x4000;
constexpr std::uint16_t TRIANGLE_MESH = 0x4100;
constexpr std::uint16_t VERTEX_LIST = 0x4110;
constexpr std::uint16_t FACE_LIST = 0x4120;
constexpr std::uint16_t FACE_MATERIAL = 0x4130;
constexpr std::uint16_t TEXTURE_COORDS = 0x4140;
constexpr std::uint16_t SMOOTH_GROUPS = 0x4150;
constexpr std::uint16_t LOCAL_AXES = 0x4160;
constexpr std::uint16_t LIGHT = 0x4600;
constexpr std::uint16_t SPOTLIGHT = 0x4610;
constexpr std::uint16_t CAMERA = 0x4700;

constexpr std::uint16_t MATERIAL_ENTRY = 0xAFFF;
constexpr std::uint16_t MATERIAL_NAME = 0xA000;
constexpr std::uint16_t MATERIAL_AMBIENT = 0xA010;
constexpr std::uint16_t MATERIAL_DIFFUSE = 0xA020;
constexpr std::uint16_t MATERIAL_SPECULAR = 0xA030;
constexpr std::uint16_t MATERIAL_SHININESS = 0xA040;
constexpr std::uint16_t MATERIAL_SHININESS_STRENGTH = 0xA041;
constexpr std::uint16_t MATERIAL_TRANSPARENCY = 0xA050;
constexpr std::uint16_t MATERIAL_WIRE = 0xA085;
constexpr std::uint16_t TEXTURE_MAP = 0xA200;
constexpr std::uint16_t OPACITY_MAP = 0xA210;
constexpr std::uint16_t REFLECTION_MAP = 0xA220;
constexpr std::uint16_t MAP_FILE_NAME = 0xA300;

constexpr std::uint16_t COLOR_FLOAT = 0x0010;
constexpr std::uint16_t COLOR_BYTES = 0x0011;
constexpr std::uint16_t COLOR_BYTES_GAMMA = 0x0012;
constexpr std::uint16_t COLOR_FLOAT_GAMMA = 0x0013;
constexpr std::uint16_t PERCENT_INT = 0x0030;
constexpr std::uint16_t PERCENT_FLOAT = 0x0031;

constexpr std::uint16_t KEYFRAMER = 0xB000;
constexpr std::uint16_t AMBIENT_NODE = 0xB001;
constexpr std::uint16_t OBJECT_NODE = 0xB002;
constexpr std::uint16_t CAMERA_NODE = 0xB003;
constexpr std::uint16_t CAMERA_TARGET_NODE = 0xB004;
constexpr std::uint16_t LIGHT_NODE = 0xB005;
constexpr std::uint16_t LIGHT_TARGET_NODE = 0xB006;
constexpr std::uint16_t SPOTLIGHT_NODE = 0xB007;
constexpr std::uint16_t FRAME_SEGMENT = 0xB008;
constexpr std::uint16_t CURRENT_FRAME = 0xB009;
constexpr std::uint16_t KEYFRAMER_HEADER = 0xB00A;
constexpr std::uint16_t NODE_HEADER = 0xB010;
constexpr std::uint16_t INSTANCE_NAME = 0xB011;
constexpr std::uint16_t PIVOT = 0xB013;
constexpr std::uint16_t BOUNDING_BOX = 0xB014;
constexpr std::uint16_t POSITION_TRACK = 0xB020;
constexpr std::uint16_t ROTATION_TRACK = 0xB021;
constexpr std::uint16_t SCALE_TRACK = 0xB022;
constexpr std::uint16_t FOV_TRACK = 0xB023;
constexpr std::uint16_t ROLL_TRACK = 0xB024;
constexpr std::uint16_t NODE_ID = 0xB030;

constexpr std::uint32_t HEADER_SIZE = 6;

}  // namespace chunk3ds
