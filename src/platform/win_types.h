// Basic Windows-style scalar types and result codes shared by every layer that stands in for the
// platform (device layer, image loaders, window and message boxes). Only plain types and constants
// live here; nothing in this header pulls in SDL, OpenGL or any system header.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using HRESULT = std::int32_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;

// Opaque window handle: the framework hands out its own window object behind it.
struct WindowHandle;
using HWND = WindowHandle*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT make_hresult(std::uint32_t bits) { return static_cast<HRESULT>(bits); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = make_hresult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = make_hresult(0x80004002u);
constexpr HRESULT E_POINTER = make_hresult(0x80004003u);
constexpr HRESULT E_FAIL = make_hresult(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = make_hresult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = make_hresult(0x80070057u);

// DirectDraw's facility: MAKE_DDHRESULT(code) = 0x88760000 | code.
constexpr HRESULT make_ddhresult(std::uint32_t code) { return make_hresult(0x88760000u | code); }
constexpr HRESULT DDERR_NOTFOUND = make_ddhresult(255);
