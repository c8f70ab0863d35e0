// The "Settings" dialog on screen: a small top-level window of its own, titled "Settings", drawn with
// Dear ImGui through its own OpenGL context (so it needs no device of ours), that shows the dialog's
// controls (settings_dialog.h) as two group boxes with a drop-down list each, the "windowed" and
// "stereo" check boxes and the OK and Cancel buttons, and runs its own loop until one of them (or
// Return / Escape, or closing the window) ends it. The main window waits meanwhile: SDL events meant
// for it are queued as its messages and handled after the dialog.
#pragma once

#include "framework/device_info.h"
#include "platform/win_types.h"

// Runs the dialog over parent for the caller's selected record of the program's device table.
// S_OK when it ended with IDOK (something changed), E_FAIL otherwise (also when there is no display or
// the window cannot be made: the choice then stays as it was).
HRESULT run_settings_dialog(HWND parent, DeviceInfo** selected);
HRESULT run_settings_dialog_in(HWND parent, DeviceTable& table, DeviceInfo** selected);

// The dialog window's client size in pixels.
constexpr int kSettingsWindowWidth = 400;
constexpr int kSettingsWindowHeight = 178;
