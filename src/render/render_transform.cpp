#include "render/render_transform.h"

#include "render/render_context.h"

namespace {

HRESULT set_transform(D3DTRANSFORMSTATETYPE state, const Matrix& matrix) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    Matrix copy = matrix;
    return current_device->SetTransform(state, &copy);
}

Matrix* get_transform(D3DTRANSFORMSTATETYPE state, Matrix* out) {
    Matrix local;
    matrix_identity(&local);
    if (current_device == nullptr || FAILED(current_device->GetTransform(state, &local))) matrix_identity(&local);
    *out = local;
    return out;
}

}  // namespace

HRESULT set_world_matrix(const Matrix& matrix) { return set_transform(D3DTRANSFORMSTATE_WORLD, matrix); }
HRESULT set_view_matrix(const Matrix& matrix) { return set_transform(D3DTRANSFORMSTATE_VIEW, matrix); }
HRESULT set_projection_matrix(const Matrix& matrix) { return set_transform(D3DTRANSFORMSTATE_PROJECTION, matrix); }
Matrix* get_world_matrix(Matrix* out) { return get_transform(D3DTRANSFORMSTATE_WORLD, out); }
Matrix* get_view_matrix(Matrix* out) { return get_transform(D3DTRANSFORMSTATE_VIEW, out); }
