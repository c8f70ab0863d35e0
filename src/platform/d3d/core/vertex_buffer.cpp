#include "platform/d3d/core/vertex_buffer.h"

VertexBuffer* vertex_buffer_from_interface(IDirect3DVertexBuffer7* buffer)
{
    return buffer == nullptr ? nullptr : dynamic_cast<VertexBuffer*>(buffer);
}

VertexBuffer::VertexBuffer(const D3DVERTEXBUFFERDESC& desc, const VertexLayout& layout, std::unique_ptr<BYTE[]> data)
    : desc_(desc), layout_(layout), data_(std::move(data))
{
}

HRESULT VertexBuffer::Lock(DWORD, void** data, DWORD* size)
{
    if (data == nullptr) return DDERR_INVALIDPARAMS;
    *data = data_.get();
    if (size != nullptr) *size = desc_.dwNumVertices * layout_.stride;
    ++lock_count_;
    return D3D_OK;
}

HRESULT VertexBuffer::Unlock()
{
    if (lock_count_ == 0) return D3DERR_VERTEXBUFFERUNLOCKFAILED;
    --lock_count_;
    return D3D_OK;
}

HRESULT VertexBuffer::GetVertexBufferDesc(D3DVERTEXBUFFERDESC* desc)
{
    if (desc == nullptr || desc->dwSize != sizeof(D3DVERTEXBUFFERDESC)) return DDERR_INVALIDPARAMS;
    *desc = desc_;
    return D3D_OK;
}
