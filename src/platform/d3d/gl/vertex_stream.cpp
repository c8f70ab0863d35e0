#include "platform/d3d/gl/vertex_stream.h"

#include <cstdint>

#include "platform/d3d/gl/shader_gen.h"

namespace {

const void* offset(DWORD bytes)
{
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(bytes));
}

}  // namespace

VertexStream::~VertexStream()
{
    for (auto& [fvf, array] : arrays_) glDeleteVertexArrays(1, &array);
    if (vertices_ != 0) glDeleteBuffers(1, &vertices_);
    if (indices_ != 0) glDeleteBuffers(1, &indices_);
}

GLuint VertexStream::vertex_array(const VertexLayout& layout)
{
    auto it = arrays_.find(layout.fvf);
    if (it != arrays_.end()) return it->second;
    GLuint array = 0;
    glGenVertexArrays(1, &array);
    gl_.bind_vertex_array(array);
    gl_.bind_array_buffer(vertices_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_);  // part of the vertex array's own state
    const auto stride = static_cast<GLsizei>(layout.stride);
    glEnableVertexAttribArray(SHADER_ATTRIB_POSITION);
    glVertexAttribPointer(SHADER_ATTRIB_POSITION, layout.pretransformed ? 4 : 3, GL_FLOAT, GL_FALSE, stride, offset(0));
    if (layout.has_normal) {
        glEnableVertexAttribArray(SHADER_ATTRIB_NORMAL);
        glVertexAttribPointer(SHADER_ATTRIB_NORMAL, 3, GL_FLOAT, GL_FALSE, stride, offset(layout.offset_normal));
    }
    if (layout.has_diffuse) {
        glEnableVertexAttribArray(SHADER_ATTRIB_DIFFUSE);
        glVertexAttribPointer(SHADER_ATTRIB_DIFFUSE, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              offset(layout.offset_diffuse));
    }
    if (layout.has_specular) {
        glEnableVertexAttribArray(SHADER_ATTRIB_SPECULAR);
        glVertexAttribPointer(SHADER_ATTRIB_SPECULAR, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              offset(layout.offset_specular));
    }
    for (DWORD i = 0; i < layout.texcoord_count && i < D3DDP_MAXTEXCOORD; ++i) {
        glEnableVertexAttribArray(SHADER_ATTRIB_TEXCOORD0 + i);
        glVertexAttribPointer(SHADER_ATTRIB_TEXCOORD0 + i, 2, GL_FLOAT, GL_FALSE, stride, offset(layout.offset_texcoord[i]));
    }
    arrays_.emplace(layout.fvf, array);
    return array;
}

void VertexStream::bind(const VertexLayout& layout, const BYTE* vertices, DWORD vertex_count, const void* indices,
                        std::size_t index_bytes)
{
    if (vertices_ == 0) {
        glGenBuffers(1, &vertices_);
        glGenBuffers(1, &indices_);
    }
    const GLuint array = vertex_array(layout);
    gl_.bind_vertex_array(array);
    gl_.bind_array_buffer(vertices_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertex_count) * layout.stride, vertices, GL_STREAM_DRAW);
    if (indices != nullptr) replace_indices(indices, index_bytes);
}

void VertexStream::replace_indices(const void* indices, std::size_t index_bytes)
{
    // The element buffer is the bound vertex array's own binding.
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(index_bytes), indices, GL_STREAM_DRAW);
}
