// Message boxes in the platform's shape (MessageBoxA: owner, text, caption, style). With a display
// they are real modal boxes shown through SDL2; without one (no X11/Wayland display, SDL's offscreen
// or dummy video driver, or headless mode switched on by the framework) the caption and text are
// written to standard error and the call returns at once, so nothing ever blocks a headless run.
// Tests capture what would be shown instead.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_ICONERROR = 0x00000010u;
constexpr UINT MB_ICONWARNING = 0x00000030u;
constexpr UINT MB_ICONINFORMATION = 0x00000040u;
constexpr UINT MB_ICONMASK = 0x000000F0u;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Shows the box and returns the button pressed (always IDOK: every box of the program has one button).
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Forces (or lifts) the standard-error path even where a display exists.
void message_box_set_headless(bool headless);

// True when MessageBoxA would try a real box rather than standard error.
bool message_box_display_available();

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    UINT type = MB_OK;
};

// RAII capture for tests: boxes raised while it lives are recorded here and shown nowhere.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;
    const std::vector<MessageBoxRecord>& boxes() const { return boxes_; }

private:
    friend int MessageBoxA(HWND, LPCSTR, LPCSTR, UINT);
    std::vector<MessageBoxRecord> boxes_;
};
