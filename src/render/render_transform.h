// Transform helpers: the world, view and projection matrices of current_device. Matrices are the
// math library's Matrix, the device's own layout, so they pass through unchanged.
#pragma once

#include "platform/d3d/d3d.h"

HRESULT set_world_matrix(const Matrix& matrix);
HRESULT set_view_matrix(const Matrix& matrix);
HRESULT set_projection_matrix(const Matrix& matrix);
// Read the device's matrix into a local record, then copy all 16 floats to out; returns out. Without
// a device (or when the device refuses) out becomes the identity.
Matrix* get_world_matrix(Matrix* out);
Matrix* get_view_matrix(Matrix* out);
