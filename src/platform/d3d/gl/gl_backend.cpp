#include "platform/d3d/gl/gl_backend.h"

#include <map>
#include <mutex>

#include "platform/d3d/core/direct_draw.h"
#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/gl/context_egl.h"
#include "platform/d3d/gl/context_window.h"
#include "platform/d3d/gl/pixel_shift.h"
#include "platform/debug_output.h"

namespace {

D3DPRIMCAPS primitive_caps()
{
    D3DPRIMCAPS c{};
    c.dwSize = sizeof(D3DPRIMCAPS);
    c.dwMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
    c.dwRasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_SUBPIXEL | D3DPRASTERCAPS_WBUFFER;
    c.dwZCmpCaps = D3DPCMPCAPS_NEVER | D3DPCMPCAPS_LESS | D3DPCMPCAPS_EQUAL | D3DPCMPCAPS_LESSEQUAL |
                   D3DPCMPCAPS_GREATER | D3DPCMPCAPS_NOTEQUAL | D3DPCMPCAPS_GREATEREQUAL | D3DPCMPCAPS_ALWAYS;
    c.dwAlphaCmpCaps = c.dwZCmpCaps;
    c.dwSrcBlendCaps = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR | D3DPBLENDCAPS_INVSRCCOLOR |
                       D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA | D3DPBLENDCAPS_DESTALPHA |
                       D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR | D3DPBLENDCAPS_INVDESTCOLOR |
                       D3DPBLENDCAPS_SRCALPHASAT | D3DPBLENDCAPS_BOTHSRCALPHA | D3DPBLENDCAPS_BOTHINVSRCALPHA;
    c.dwDestBlendCaps = c.dwSrcBlendCaps & ~(D3DPBLENDCAPS_SRCALPHASAT | D3DPBLENDCAPS_BOTHSRCALPHA |
                                             D3DPBLENDCAPS_BOTHINVSRCALPHA);
    c.dwShadeCaps = D3DPSHADECAPS_COLORFLATRGB | D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARFLATRGB |
                    D3DPSHADECAPS_SPECULARGOURAUDRGB | D3DPSHADECAPS_ALPHAFLATBLEND | D3DPSHADECAPS_ALPHAGOURAUDBLEND;
    c.dwTextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_BORDER;
    c.dwTextureFilterCaps = D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR | D3DPTFILTERCAPS_MINFPOINT |
                            D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MAGFPOINT |
                            D3DPTFILTERCAPS_MAGFLINEAR;
    c.dwTextureBlendCaps = 0;
    c.dwTextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                             D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV;
    return c;
}

D3DDEVICEDESC7 device_caps()
{
    D3DDEVICEDESC7 d{};
    d.dwDevCaps = D3DDEVCAPS_FLOATTLVERTEX | D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
                  D3DDEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_TEXTUREVIDEOMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX |
                  D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 | D3DDEVCAPS_DRAWPRIMITIVES2EX |
                  D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION;
    d.dpcLineCaps = primitive_caps();
    d.dpcTriCaps = primitive_caps();
    d.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    d.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_32;
    d.dwMinTextureWidth = 1;
    d.dwMinTextureHeight = 1;
    d.dwMaxTextureWidth = 4096;
    d.dwMaxTextureHeight = 4096;
    d.dwMaxTextureRepeat = 32768;
    d.dwMaxTextureAspectRatio = 4096;
    d.dwMaxAnisotropy = 1;
    d.dvGuardBandLeft = -16384.0f;
    d.dvGuardBandTop = -16384.0f;
    d.dvGuardBandRight = 16384.0f;
    d.dvGuardBandBottom = 16384.0f;
    d.dwFVFCaps = D3DDP_MAXTEXCOORD | D3DFVFCAPS_DONOTSTRIPELEMENTS;
    d.dwTextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                        D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD |
                        D3DTEXOPCAPS_ADDSIGNED | D3DTEXOPCAPS_ADDSIGNED2X | D3DTEXOPCAPS_SUBTRACT |
                        D3DTEXOPCAPS_ADDSMOOTH | D3DTEXOPCAPS_BLENDDIFFUSEALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHA |
                        D3DTEXOPCAPS_BLENDFACTORALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHAPM |
                        D3DTEXOPCAPS_BLENDCURRENTALPHA;
    d.wMaxTextureBlendStages = D3D_MAX_TEXTURE_STAGES;
    d.wMaxSimultaneousTextures = D3D_MAX_TEXTURE_STAGES;
    d.dwMaxActiveLights = D3D_MAX_ACTIVE_LIGHTS;
    d.dvMaxVertexW = 1.0e10f;
    d.wMaxUserClipPlanes = D3D_MAX_CLIP_PLANES;
    d.wMaxVertexBlendMatrices = 0;
    d.dwVertexProcessingCaps = D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                               D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    return d;
}

// The window a device's surfaces are shown on: the one the primary surface's clipper names (windowed),
// or, in exclusive full-screen operation, where a flip chain has no clipper, the program's window.
HWND presentation_window(Surface& target)
{
    DirectDraw* owner = target.owner();
    Surface* primary = owner->primary();
    if (primary == nullptr) return nullptr;
    IDirectDrawClipper* clipper = nullptr;
    if (SUCCEEDED(primary->GetClipper(&clipper)) && clipper != nullptr) {
        HWND window = nullptr;
        clipper->GetHWnd(&window);
        clipper->Release();
        return window;
    }
    return owner->exclusive() ? owner->driver().exclusive_window() : nullptr;
}

struct HeadlessRenderers {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<GlRenderer>> by_platform;
};

HeadlessRenderers& headless_renderers()
{
    // Kept for the life of the process: contexts are expensive to make, and tearing one down while
    // Mesa's own exit handlers run is not worth the risk.
    static auto* renderers = new HeadlessRenderers;
    return *renderers;
}

std::unique_ptr<DeviceBackend> create_backend(const BackendCreateContext& context)
{
    if (context.target == nullptr) return nullptr;
    std::string error;
    const HWND hwnd = presentation_window(*context.target);
    DirectDraw* owner = context.target->owner();
    const std::shared_ptr<DisplayDriver>& driver = owner->driver_handle();
    if (hwnd != nullptr && driver->shows_window(hwnd)) {
        std::unique_ptr<WindowGlContext> gl = context_window_create(*driver, hwnd, &error);
        if (!gl) {
            debug_output_format("OpenGL device: no context on the window: %s\n", error.c_str());
            return nullptr;
        }
        auto renderer = std::make_shared<GlRenderer>(std::move(gl));
        std::weak_ptr<GlRenderer> weak = renderer;
        driver->set_gpu_presenter(hwnd, [weak, owner](const RECT& dirty, bool is_flip) {
            std::shared_ptr<GlRenderer> r = weak.lock();
            Surface* primary = owner->primary();
            return r != nullptr && primary != nullptr && r->present(*primary, dirty, is_flip);
        });
        return std::make_unique<GlBackend>(std::move(renderer), driver, hwnd);
    }
    std::shared_ptr<GlRenderer> renderer = gl_backend_headless_renderer(&error);
    if (!renderer) {
        debug_output_format("OpenGL device: no headless context: %s\n", error.c_str());
        return nullptr;
    }
    return std::make_unique<GlBackend>(std::move(renderer), nullptr, nullptr);
}

}  // namespace

std::shared_ptr<GlRenderer> gl_backend_headless_renderer(std::string* error)
{
    const std::string platform = context_egl_requested_platform();
    // One renderer per platform and pixel-shift choice (tests switch both through the environment).
    const std::string key = platform + "|" + pixel_shift_override();
    HeadlessRenderers& all = headless_renderers();
    std::lock_guard<std::mutex> lock(all.mutex);
    auto it = all.by_platform.find(key);
    if (it != all.by_platform.end()) return it->second;
    std::unique_ptr<GlContext> context = context_egl_create(platform, error);
    if (!context) return nullptr;
    auto renderer = std::make_shared<GlRenderer>(std::move(context));
    all.by_platform.emplace(key, renderer);
    return renderer;
}

GlBackend::GlBackend(std::shared_ptr<GlRenderer> renderer, std::shared_ptr<DisplayDriver> driver, HWND window)
    : renderer_(std::move(renderer)), driver_(std::move(driver)), window_(window)
{
}

GlBackend::~GlBackend()
{
    if (driver_ != nullptr && window_ != nullptr) driver_->set_gpu_presenter(window_, {});
}

HRESULT GlBackend::clear(const DeviceState&, const DrawBindings& bindings, const ClearRequest& request)
{
    return renderer_->clear(bindings, request);
}

HRESULT GlBackend::draw(const DeviceState& state, std::uint32_t dirty, const DrawBindings& bindings,
                        const DrawBatch& batch)
{
    return renderer_->draw(state, dirty, bindings, batch, this);
}

void GlBackend::scene_end()
{
    renderer_->flush();
}

void GlBackend::finish()
{
    renderer_->flush();
}

DeviceBackendInfo gl_backend_info()
{
    DeviceBackendInfo info;
    info.guid = IID_IDirect3DTnLHalDevice;
    info.description = "Direct3D T&L HAL (OpenGL)";
    info.name = "OpenGL T&L HAL";
    info.caps = device_caps();
    info.texture_formats = {pixel_format_of(PixelKind::A8R8G8B8), pixel_format_of(PixelKind::X8R8G8B8),
                            pixel_format_of(PixelKind::R5G6B5),   pixel_format_of(PixelKind::X1R5G5B5),
                            pixel_format_of(PixelKind::A1R5G5B5), pixel_format_of(PixelKind::A4R4G4B4)};
    info.zbuffer_formats = {pixel_format_of(PixelKind::Z16), pixel_format_of(PixelKind::Z32)};
    info.create = create_backend;
    return info;
}

void gl_backend_register()
{
    d3d_backend_register(gl_backend_info());
}
