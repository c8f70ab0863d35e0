// The "Settings" dialog on screen: a small top-level window of its own, titled "Settings", drawn with
// Dear ImGui through its own OpenGL context (so it needs no device of ours), that shows the dialog's
// controls (settings_dialog.h) as two group boxes with a drop-down list each, the "windowed" and
// "stereo" check boxes and the OK and Cancel buttons, and runs its own loop until one of them (or
// Return / Escape, or closing the window) ends it. The main window waits meanwhile: SDL events meant
// for it are queued as its messages and handled after the dialog.
#pragma once

#include <functional>

#include "framework/device_info.h"
#include "platform/win_types.h"

// Test and capture hooks; all optional.
struct SettingsWindowHooks {
    // Called each frame after the backend has read the mouse and before the widgets are laid out:
    // a test may set ImGui's io.MousePos / io.MouseDown here (events pushed into SDL do not move
    // ImGui's mouse).
    std::function<void(int frame)> before_widgets;
    // Called each frame after drawing, before the buffers are swapped (the frame can be read back).
    std::function<void(int frame, int width, int height)> after_render;
    // Ends the dialog as Cancel after this many frames (0: no limit).
    int max_frames = 0;
};

// Runs the dialog over parent for the caller's selected record of the program's device table.
// S_OK when it ended with IDOK (something changed), E_FAIL otherwise (also when there is no display or
// the window cannot be made: the choice then stays as it was).
HRESULT run_settings_dialog(HWND parent, DeviceInfo** selected);
HRESULT run_settings_dialog_with(HWND parent, DeviceTable& table, DeviceInfo** selected,
                                 const SettingsWindowHooks& hooks);

// The dialog window's client size in pixels.
constexpr int kSettingsWindowWidth = 400;
constexpr int kSettingsWindowHeight = 178;
