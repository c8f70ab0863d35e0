#include "platform/d3d/soft/soft_caps.h"

#include "platform/d3d/core/device_state.h"
#include "platform/d3d/ddraw_types.h"
#include "platform/d3d/soft/clip_vertex.h"
#include "platform/d3d/soft/fixed_point.h"

D3DDEVICEDESC7 soft_device_caps()
{
    D3DDEVICEDESC7 c{};
    c.dwDevCaps = D3DDEVCAPS_FLOATTLVERTEX | D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
                  D3DDEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_CANRENDERAFTERFLIP;
    D3DPRIMCAPS tri{};
    tri.dwSize = sizeof(D3DPRIMCAPS);
    tri.dwMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
    tri.dwRasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_SUBPIXEL | D3DPRASTERCAPS_WBUFFER;
    tri.dwZCmpCaps = 0xFF;  // every D3DPCMPCAPS_* bit
    tri.dwAlphaCmpCaps = 0xFF;
    tri.dwSrcBlendCaps = 0x1FFF;  // every D3DPBLENDCAPS_* bit
    tri.dwDestBlendCaps = 0x1FFF;
    tri.dwShadeCaps = D3DPSHADECAPS_COLORFLATRGB | D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARFLATRGB |
                      D3DPSHADECAPS_SPECULARGOURAUDRGB | D3DPSHADECAPS_ALPHAFLATBLEND | D3DPSHADECAPS_ALPHAGOURAUDBLEND;
    tri.dwTextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_BORDER;
    tri.dwTextureFilterCaps = D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR | D3DPTFILTERCAPS_MINFPOINT |
                              D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MAGFPOINT |
                              D3DPTFILTERCAPS_MAGFLINEAR;
    tri.dwTextureBlendCaps = D3DPTBLENDCAPS_DECAL | D3DPTBLENDCAPS_MODULATE | D3DPTBLENDCAPS_COPY;
    tri.dwTextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                               D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV;
    c.dpcTriCaps = tri;
    c.dpcLineCaps = tri;
    c.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    c.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_32;
    c.dwMinTextureWidth = 1;
    c.dwMinTextureHeight = 1;
    c.dwMaxTextureWidth = 4096;
    c.dwMaxTextureHeight = 4096;
    c.dwMaxTextureRepeat = 0;
    c.dwMaxTextureAspectRatio = 0;
    c.dwMaxAnisotropy = 1;
    c.dvGuardBandLeft = -soft::kGuardBand;
    c.dvGuardBandTop = -soft::kGuardBand;
    c.dvGuardBandRight = soft::kGuardBand;
    c.dvGuardBandBottom = soft::kGuardBand;
    c.dwFVFCaps = soft::kStages;
    c.dwTextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                        D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD |
                        D3DTEXOPCAPS_ADDSIGNED | D3DTEXOPCAPS_ADDSIGNED2X | D3DTEXOPCAPS_SUBTRACT |
                        D3DTEXOPCAPS_ADDSMOOTH | D3DTEXOPCAPS_BLENDDIFFUSEALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHA |
                        D3DTEXOPCAPS_BLENDFACTORALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHAPM |
                        D3DTEXOPCAPS_BLENDCURRENTALPHA;
    c.wMaxTextureBlendStages = soft::kStages;
    c.wMaxSimultaneousTextures = soft::kStages;
    c.dwMaxActiveLights = D3D_MAX_ACTIVE_LIGHTS;
    c.dvMaxVertexW = 1e10f;
    c.wMaxUserClipPlanes = 0;
    c.wMaxVertexBlendMatrices = 0;
    c.dwVertexProcessingCaps = D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                               D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    return c;
}
