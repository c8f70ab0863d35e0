#include "render/recording_device.h"

#include <bit>

std::vector<std::string> RecordingDevice::calls_starting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& call : calls) {
        if (call.starts_with(prefix)) out.push_back(call);
    }
    return out;
}

std::string RecordingDevice::name_of(const void* object, const std::string& kind) {
    if (object == nullptr) return "null";
    auto [it, added] = labels_.try_emplace(object);
    if (added) it->second = kind + std::to_string(label_counts_[kind]++);
    return it->second;
}

RecordingVertexBuffer::RecordingVertexBuffer(const D3DVERTEXBUFFERDESC& description) : desc(description) {
    const DWORD fvf = desc.dwFVF;
    const std::size_t stride = 12 + ((fvf & D3DFVF_NORMAL) != 0 ? 12 : 0) +
                               ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW ? 4 : 0) +
                               4 * std::popcount(fvf & (D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_RESERVED1)) +
                               8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    bytes.assign(stride * desc.dwNumVertices, 0);
}
