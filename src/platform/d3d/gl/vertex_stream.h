// Hands a draw's vertices and indices to GL: one streaming vertex buffer and one index buffer,
// re-specified on every draw (so GL never waits for earlier draws to finish with them), and one vertex
// array object per vertex format that points the shader attributes at the format's byte offsets
// (colours as BGRA bytes, normalised).
#pragma once

#include <epoxy/gl.h>

#include <unordered_map>

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/gl/shadow_state.h"

class VertexStream {
public:
    explicit VertexStream(GlShadowState& gl) : gl_(gl) {}
    ~VertexStream();  // the context must be current
    VertexStream(const VertexStream&) = delete;
    VertexStream& operator=(const VertexStream&) = delete;

    // Uploads vertices of layout (and, when given, index_bytes of indices) and binds the vertex array
    // of the layout's format.
    void bind(const VertexLayout& layout, const BYTE* vertices, DWORD vertex_count, const void* indices,
              std::size_t index_bytes);
    // Replaces the indices only (a second draw from the same vertices).
    void replace_indices(const void* indices, std::size_t index_bytes);

private:
    GLuint vertex_array(const VertexLayout& layout);

    GlShadowState& gl_;
    GLuint vertices_ = 0;
    GLuint indices_ = 0;
    std::unordered_map<DWORD, GLuint> arrays_;  // by vertex format code
};
