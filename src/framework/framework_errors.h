// The framework's own result codes (enumeration 0x81000001-0x81000004, display set-up
// 0x82000000-0x8200000F) and the texts the application shows for every code it reports: the message of
// a code, and the whole message-box text and icon for the three kinds of report (fatal: the program
// exits; switching: the program goes on with the software rasterizer; plain).
#pragma once

#include <string>

#include "platform/win_types.h"

// Enumeration (device_enumeration.h).
constexpr HRESULT ENUMERR_NO_DIRECTDRAW = make_hresult(0x81000001u);
constexpr HRESULT ENUMERR_NOTHING_ENUMERATED = make_hresult(0x81000002u);
constexpr HRESULT ENUMERR_NO_COMPATIBLE_DEVICE = make_hresult(0x81000003u);
constexpr HRESULT ENUMERR_NO_DEVICE_TO_SELECT = make_hresult(0x81000004u);

// Display set-up (display_framework.h).
constexpr HRESULT FWERR_GENERIC = make_hresult(0x82000000u);
constexpr HRESULT FWERR_NO_DIRECTDRAW = make_hresult(0x82000001u);
constexpr HRESULT FWERR_COOPERATIVE_LEVEL = make_hresult(0x82000002u);
constexpr HRESULT FWERR_NO_DIRECT3D = make_hresult(0x82000003u);
constexpr HRESULT FWERR_NO_DEVICE = make_hresult(0x82000004u);
constexpr HRESULT FWERR_NO_ZBUFFER = make_hresult(0x82000005u);
constexpr HRESULT FWERR_BAD_ZBUFFER_DEPTH = make_hresult(0x82000006u);
constexpr HRESULT FWERR_NO_VIEWPORT = make_hresult(0x82000007u);
constexpr HRESULT FWERR_NO_PRIMARY = make_hresult(0x82000008u);
constexpr HRESULT FWERR_NO_CLIPPER = make_hresult(0x82000009u);
constexpr HRESULT FWERR_BAD_DISPLAY_MODE = make_hresult(0x8200000Au);
constexpr HRESULT FWERR_NO_BACK_BUFFER = make_hresult(0x8200000Bu);
constexpr HRESULT FWERR_STILL_REFERENCED = make_hresult(0x8200000Cu);
constexpr HRESULT FWERR_NO_RENDER_TARGET = make_hresult(0x8200000Du);
constexpr HRESULT FWERR_PALETTED_DESKTOP = make_hresult(0x8200000Eu);
constexpr HRESULT FWERR_NOT_STARTED = make_hresult(0x8200000Fu);

// How report_error presents a code.
enum class ErrorKind { Plain = 0, Fatal = 1, Switching = 2 };

// The message of a code ("Generic application error..." for codes without one of their own).
const char* framework_error_message(HRESULT code);
// The whole text of the box, as it fits the 512-byte buffer (at most 511 characters).
std::string framework_error_text(HRESULT code, ErrorKind kind);
// MB_ICONERROR for fatal reports, MB_ICONWARNING otherwise.
UINT framework_error_icon(ErrorKind kind);
