// The texture manager: every texture of the program is known by a name (its picture's file name, or
// a plain word for render targets such as "blur"), compared without regard to case. It loads each
// picture once from the texture directory, keeps the decoded pixels, makes a texture surface in a
// format the current device supports (rounded and clamped to the device's size rules), uploads the
// picture by a stretching blit, and hands the surface out by name. A released surface is made again
// on the next request from the kept picture. All functions work on one program-wide list, newest
// entry first; the device is always current_device.
#pragma once

#include "platform/d3d/d3d.h"
#include "textures/texture_entry.h"

// Copies the directory prefixed to every file name (null: empty). Read only while a picture loads.
void texture_set_directory(const char* directory);
const char* texture_directory();

// S_OK (also when the name is already loaded: that entry stays as it is); E_INVALIDARG for no name or
// a name of 80 characters or more; E_OUTOFMEMORY; E_FAIL when the picture cannot be loaded (no entry
// is left). A surface that cannot be made is not an error here: the next request tries again.
HRESULT texture_load(const char* name, DWORD wanted_bits, DWORD wanted_alpha_bits);

// A render-target texture of the given size, created empty. E_FAIL if the name exists (that entry is
// left alone), E_INVALIDARG for no name, a name too long or a zero size, E_OUTOFMEMORY.
HRESULT texture_create_target(const char* name, DWORD width, DWORD height, DWORD wanted_bits,
                              DWORD wanted_alpha_bits, DWORD extra_desc_flags, DWORD extra_caps);
// Render targets created from now on are scale times the size asked for (1, the default, to 8): a
// capture at a large size can keep their pictures as sharp as the frame.
void texture_set_target_scale(DWORD scale);
DWORD texture_target_scale();

// The newest entry of that name, or null.
TextureEntry* texture_find(const char* name);

// The entry's surface, made first if it has none; null for an unknown name or when it cannot be made.
// The manager keeps the reference.
IDirectDrawSurface7* texture_get_surface(const char* name);

// Sets the stage's texture on current_device to texture_get_surface(name) (none for an unknown name).
// Always S_OK.
HRESULT texture_select(DWORD stage, const char* name);

// Releases the surface only; the entry and its picture stay. S_OK, or DDERR_NOTFOUND.
HRESULT texture_release_surface(const char* name);

// Removes the entry, if any, with everything it holds. Always S_OK.
HRESULT texture_delete(const char* name);

// Removes every entry (shutdown, tests).
void texture_delete_all();

// Makes the texture's alpha equal to its own blue channel. S_OK (also for a format without alpha,
// which is left unchanged); E_FAIL for an unknown name or when no surface can be had; the lock's error.
HRESULT texture_alpha_from_blue(const char* name);

// Makes (again) the entry's surface on the device and uploads its picture. Internal to the manager,
// open to tests.
HRESULT texture_create_surface(TextureEntry* entry, IDirect3DDevice7* device);

// The message written when no texture format with the wanted bits exists and 16 bits are tried.
inline constexpr const char* TEXTURE_FORMAT_WARNING = "Warning! Wanted textureformat not supported";
