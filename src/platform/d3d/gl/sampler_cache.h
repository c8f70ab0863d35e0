// Sampler objects for the texture stages, one per combination of filters, addressing and border
// colour, made once and reused. The stage states are converted through gl_enums.h.
#pragma once

#include <epoxy/gl.h>

#include <map>
#include <tuple>

#include "platform/d3d/d3d_states.h"

class SamplerCache {
public:
    SamplerCache() = default;
    ~SamplerCache();  // the context must be current
    SamplerCache(const SamplerCache&) = delete;
    SamplerCache& operator=(const SamplerCache&) = delete;

    // The sampler for one stage's states (indexed by D3DTEXTURESTAGESTATETYPE).
    GLuint sampler(const DWORD (&stage)[D3D_TEXTURESTAGESTATE_COUNT]);
    std::size_t size() const { return samplers_.size(); }

private:
    using Key = std::tuple<GLenum, GLenum, GLenum, GLenum, DWORD>;  // min, mag, wrap s, wrap t, border
    std::map<Key, GLuint> samplers_;
};
