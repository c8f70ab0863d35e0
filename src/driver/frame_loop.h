// The program's frame loop, shared by the demo and the scene viewer, and the one place where the
// framework's objects reach the render helpers. After every frame keep_running copies the program-wide
// application's device (and its DirectDraw object, Direct3D object and back buffer) into
// current_device and the render objects, so a device the framework re-created is followed before the
// next frame, then pumps at most one window message. end_frame presents a finished frame and, when
// presenting fails beyond recovery, destroys the window, which ends the loop through the quit message.
#pragma once

#include <functional>

// Watches every end_frame: before_present may read the finished back buffer and says whether the
// frame is to be shown (false: it is counted but not presented, as when fast-forwarding);
// frame_ended follows every end_frame, shown or not. One observer at a time; null removes it.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    virtual bool before_present() { return true; }
    virtual void frame_ended() {}
};
void frame_loop_set_observer(FrameObserver* observer);

// Copies the application's objects into current_device and the render objects (all null without an
// application). The frame loop does it after every frame; call it once after the framework is made.
void publish_render_objects();
// publish_render_objects, then one message; false only when that message is the quit message.
bool keep_running();
// Presents the back buffer (unless the observer holds it back); on an unrecoverable failure destroys
// the window.
void end_frame();
// Runs frame, then keep_running, until keep_running says stop (the test comes after the frame, so
// frame runs at least once). Returns how many frames ran.
unsigned long run_frame_loop(const std::function<void()>& frame);
