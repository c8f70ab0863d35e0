#include "platform/d3d/gl/sampler_cache.h"

#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/gl/ff_constants.h"
#include "platform/d3d/gl/gl_enums.h"

SamplerCache::~SamplerCache()
{
    for (auto& [key, sampler] : samplers_) glDeleteSamplers(1, &sampler);
}

GLuint SamplerCache::sampler(const DWORD (&stage)[D3D_TEXTURESTAGESTATE_COUNT])
{
    // Textures have one level, so the mip filter changes nothing; MAGFILTER decides the filter.
    const GLenum min = gl_filter(state_filter(stage[D3DTSS_MAGFILTER]));
    const GLenum mag = min;
    const GLenum wrap_s = gl_address_mode(state_address(stage[D3DTSS_ADDRESSU]));
    const GLenum wrap_t = gl_address_mode(state_address(stage[D3DTSS_ADDRESSV]));
    const DWORD border = (wrap_s == GL_CLAMP_TO_BORDER || wrap_t == GL_CLAMP_TO_BORDER) ? stage[D3DTSS_BORDERCOLOR] : 0;
    const Key key{min, mag, wrap_s, wrap_t, border};
    auto it = samplers_.find(key);
    if (it != samplers_.end()) return it->second;
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(min));
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(mag));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap_s));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap_t));
    float colour[4];
    ff_color_unpack(border, colour);
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, colour);
    samplers_.emplace(key, sampler);
    return sampler;
}
