// IDirect3DVertexBuffer7: a block of vertices of one format in system memory, locked for writing and
// read by DrawPrimitiveVB / DrawIndexedPrimitiveVB. A buffer that is locked cannot be drawn.
#pragma once

#include <atomic>
#include <memory>

#include "platform/d3d/core/ref_counted.h"
#include "platform/d3d/core/vertex_format.h"
#include "platform/d3d/d3d.h"

class VertexBuffer final : public RefCounted<IDirect3DVertexBuffer7, IID_IDirect3DVertexBuffer7> {
public:
    VertexBuffer(const D3DVERTEXBUFFERDESC& desc, const VertexLayout& layout, std::unique_ptr<BYTE[]> data);
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;

    HRESULT Lock(DWORD flags, void** data, DWORD* size) override;
    HRESULT Unlock() override;
    HRESULT GetVertexBufferDesc(D3DVERTEXBUFFERDESC* desc) override;

    const VertexLayout& layout() const { return layout_; }
    const BYTE* data() const { return data_.get(); }
    DWORD vertex_count() const { return desc_.dwNumVertices; }
    bool locked() const { return lock_count_ > 0; }

private:
    ~VertexBuffer() = default;
    D3DVERTEXBUFFERDESC desc_;
    VertexLayout layout_;
    std::unique_ptr<BYTE[]> data_;
    int lock_count_ = 0;
};

// Our implementation behind an interface pointer, or null.
VertexBuffer* vertex_buffer_from_interface(IDirect3DVertexBuffer7* buffer);

// Largest vertex count a buffer may hold.
constexpr DWORD D3D_MAX_VERTEX_BUFFER_VERTICES = 1u << 20;
