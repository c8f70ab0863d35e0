// The demo's application: the render framework's application with the frame timer and the motion-blur
// effect it owns. create_application makes the one instance (the settings dialog, the window, the
// device, then the "motionblur" target); destroy_application gives it all back. The forwarders below
// are how the demo parts and the entry reach the timer and the motion blur. F12 in the window asks for
// a picture of the next frame (demo_take_screenshot_request).
#pragma once

#include "driver/frame_timer.h"
#include "effects/motion_blur.h"
#include "framework/application.h"

class DemoApplication final : public Application {
public:
    explicit DemoApplication(TimerClock* clock) : timer(clock) {}
    ~DemoApplication() override;

    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    FrameTimer timer;
    MotionBlur motion_blur;
    bool screenshot_requested = false;
};

// Creates the instance and its framework (with the dialog when show_dialog), publishes the device to
// the render helpers and creates the motion-blur target. False when the framework could not be made
// (it has told the user); nothing is left behind then. clock: the timer's clock, null for the
// machine's.
bool create_application(const char* title, int width, int height, bool show_dialog, TimerClock* clock = nullptr);
// Releases the motion-blur target, shuts the framework down and deletes the instance.
void destroy_application();
// The instance, or null.
DemoApplication* demo_application();

void motion_blur_begin();
void motion_blur_end();
void motion_blur_draw(float alpha);
void start_frame_timer();
float frame_delta();
// True once after F12 was pressed in the window.
bool demo_take_screenshot_request();
