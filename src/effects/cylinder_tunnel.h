// A flight through translucent tubes: three separate loads of the cylinder mesh, textured with a star
// texture whose coordinates scroll every frame (never wrapped), drawn additively one over another, each
// through its own camera. The cameras sit on the z axis and swing with a shared angle; each looks at a
// point circling the z axis, so the three tubes sway against each other. Drawing replaces the view and
// world transforms.
#pragma once

#include <string>

#include "effects/mesh_record.h"
#include "math/vector3.h"

constexpr const char* CYLINDER_TUNNEL_SCENE = "scenes/cylinder.3ds";
constexpr D3DCOLOR CYLINDER_TUNNEL_COLOUR = 0x55FFFFFF;

struct CylinderTunnel {
    MeshRecord meshes[3];
    float phases[3] = {};
    Vector3 anchors[3];
    Vector3 eyes[3];
    D3DCOLOR colours[3] = {};
    std::string texture_name;
    float swing = 0.0f;  // the shared swing angle G
};

// The program-wide instance the three operations below work on.
CylinderTunnel& cylinder_tunnel();

// Loads the three meshes from `scene_file` (the demo's CYLINDER_TUNNEL_SCENE) and the texture, and sets
// phases (π, 1.5π, π), anchors and colours. A missing scene leaves empty meshes that draw nothing.
void cylinder_tunnel_create(const char* texture_name, const char* scene_file = CYLINDER_TUNNEL_SCENE);
// Advances by the rate s (the demo passes frame seconds × 0.1) and draws the three tubes.
void cylinder_tunnel_draw(float s);
// Deletes the texture (program end).
void cylinder_tunnel_release();

void cylinder_tunnel_create(CylinderTunnel* tunnel, const char* texture_name, const char* scene_file);
void cylinder_tunnel_draw(CylinderTunnel* tunnel, float s);
void cylinder_tunnel_release(CylinderTunnel* tunnel);
