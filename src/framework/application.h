// The render framework's application: it owns the program's one window, runs the start-up sequence
// (enumerate devices, create the window, offer the Settings dialog, bring up the display surfaces and
// the device, falling back to the software rasterizer when a hardware device cannot be created), pumps
// one window message per call for the frame loop, answers the window's messages (closing or Escape
// destroy the window, which posts the quit message), presents frames and turns every framework error
// code into a message box. The program derives its application from this class. Without a display the
// same sequence runs on the headless display driver with the software device and no dialog, and message
// boxes go to standard error.
#pragma once

#include "framework/device_enumeration.h"
#include "framework/display_framework.h"
#include "framework/framework_errors.h"
#include "platform/window/window.h"

class Application {
public:
    // Publishes the object as the program-wide application for the window procedure and the accessors.
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Slot order as the program has it.
    virtual LRESULT on_query_suspend(LPARAM data);
    virtual LRESULT on_resume_suspend(LPARAM data);
    virtual HRESULT create(HINSTANCE instance, const char* title, int width, int height, bool show_dialog);
    virtual bool pump_messages();
    virtual LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    virtual HRESULT present_frame();

    // Starts the framework on the selected device; a hardware device that fails is reported and
    // replaced by the default software device.
    HRESULT initialize_3d();
    // Releases the framework and the enumeration's mode lists; returns what the framework's release said
    // (nothing reports it at shutdown).
    HRESULT cleanup_3d();
    void report_error(HRESULT code, ErrorKind kind);

    DisplayFramework* framework() const { return framework_; }
    bool active() const { return active_ != 0; }
    bool ready() const { return ready_ != 0; }
    HWND window() const { return window_; }
    DeviceInfo* device_info() const { return device_info_; }
    const DDSURFACEDESC2& back_buffer_desc() const { return back_buffer_desc_; }
    IDirectDraw7* direct_draw() const { return direct_draw_; }
    IDirect3D7* direct3d() const { return direct3d_; }
    IDirect3DDevice7* device() const { return device_; }
    IDirectDrawSurface7* back_buffer() const { return back_buffer_; }
    const char* title() const { return title_; }
    bool headless() const { return headless_; }
    void set_use_z_buffer(bool use) { use_z_buffer_ = use ? 1 : 0; }
    void set_confirm_device(ConfirmDeviceFn confirm) { confirm_device_ = confirm; }

protected:
    DisplayFramework* framework_ = nullptr;
    DWORD active_ = 0;
    DWORD ready_ = 0;
    HWND window_ = nullptr;
    DeviceInfo* device_info_ = nullptr;
    DDSURFACEDESC2 back_buffer_desc_{};
    IDirectDraw7* direct_draw_ = nullptr;
    IDirect3D7* direct3d_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
    IDirectDrawSurface7* back_buffer_ = nullptr;
    const char* title_ = "Kestra Rendering Window";
    DWORD use_z_buffer_ = 1;
    ConfirmDeviceFn confirm_device_ = nullptr;

private:
    HRESULT select_device();
    bool windowed() const;

    bool headless_ = false;
};

// The program-wide application (published by its constructor, withdrawn by its destructor), or null.
Application* app_instance();

// The window procedure of the class "D3D Window": every message goes to the program-wide application's
// handle_message, or to DefWindowProcA while there is none.
LRESULT application_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The window class name and the icon resource of the program.
constexpr const char* kWindowClassName = "D3D Window";
constexpr int kProgramIconId = 102;
