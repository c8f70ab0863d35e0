// The program's frame loop, shared by the demo and the scene viewer, and the one place where the
// framework's objects reach the render helpers. After every frame keep_running copies the program-wide
// application's device (and its DirectDraw object, Direct3D object and back buffer) into
// current_device and the render objects, so a device the framework re-created is followed before the
// next frame, then pumps at most one window message. end_frame presents a finished frame and, when
// presenting fails beyond recovery, destroys the window, which ends the loop through the quit message.
#pragma once

#include <functional>

// Copies the application's objects into current_device and the render objects (all null without an
// application). The frame loop does it after every frame; call it once after the framework is made.
void publish_render_objects();
// publish_render_objects, then one message; false only when that message is the quit message.
bool keep_running();
// Presents the back buffer; on an unrecoverable failure destroys the window.
void end_frame();
// Runs frame, then keep_running, until keep_running says stop (the test comes after the frame, so
// frame runs at least once). Returns how many frames ran.
unsigned long run_frame_loop(const std::function<void()>& frame);
