// Pieces several scenes share: the sky dome (a sphere seen from inside, lit evenly by a light at its
// centre, so that its picture shows as painted), tori and columns made by revolving profiles, and
// smooth closed camera paths.
#pragma once

#include "content/mesh_draft.h"

// Inward sphere about `centre`; u once around, v from the zenith down.
MeshDraft make_sky_dome(V3 centre, float radius, int slices = 48, int stacks = 24);
// Torus of ring radius R and tube radius r about the y axis through the origin.
MeshDraft make_torus(float ring_radius, float tube_radius, int segments, int sides, float u_repeat = 4.0f);
// Turns a draft about the x axis by `angle` radians (y towards z).
void tilt_about_x(MeshDraft& draft, float angle);
void tilt_about_z(MeshDraft& draft, float angle);
void move_by(MeshDraft& draft, V3 offset);
