#include "framework/application.h"

#include <new>

#include "framework/command_line.h"
#include "framework/device_selection.h"
#include "framework/program_icon.h"
#include "framework/settings_window.h"
#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/core/headless_display.h"
#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "platform/window/window_display_driver.h"
#include "platform/window/window_system.h"

namespace {

Application* g_application = nullptr;

}  // namespace

Application* app_instance() { return g_application; }

LRESULT application_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (g_application != nullptr) return g_application->handle_message(window, message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

Application::Application()
{
    g_application = this;
}

Application::~Application()
{
    if (framework_ != nullptr) cleanup_3d();
    if (g_application == this) g_application = nullptr;
}

LRESULT Application::on_query_suspend(LPARAM) { return 1; }

LRESULT Application::on_resume_suspend(LPARAM) { return 1; }

bool Application::windowed() const { return device_info_ == nullptr || device_info_->windowed != 0; }

HRESULT Application::select_device()
{
    const FrameworkOptions& options = framework_options();
    const bool software_only =
        options.device == DeviceChoice::Software || (headless_ && options.device != DeviceChoice::OpenGL);
    HRESULT hr = select_default_device(&device_info_, software_only ? SELECT_SOFTWARE_ONLY : 0);
    if (FAILED(hr)) return hr;
    if (options.device == DeviceChoice::OpenGL && !device_info_->hardware) {
        DWORD count = 0;
        DeviceInfo* devices = get_devices(&count);
        DeviceInfo* found = nullptr;
        for (DWORD i = 0; i < count; ++i) {
            DeviceInfo& d = devices[i];
            if (!d.hardware || !d.desktop_compatible) continue;
            if (found == nullptr || d.device_guid == IID_IDirect3DTnLHalDevice) found = &d;
        }
        if (found != nullptr) {
            found->windowed = 1;
            device_info_ = found;
        } else {
            OutputDebugStringA("No OpenGL device is available; using the software device.\n");
        }
    }
    if (options.screen == ScreenChoice::Fullscreen) {
        device_info_->windowed = 0;
        // Without a 640 × 480 × 16 mode the default stays empty; full screen from the command line then
        // takes the mode the dialog would have preselected.
        if (device_info_->fullscreen_mode.dwWidth == 0 && device_info_->current_mode < device_info_->modes.size()) {
            device_info_->fullscreen_mode = device_info_->modes[device_info_->current_mode];
        }
    }
    if (options.has_mode) {
        bool found = false;
        for (DWORD i = 0; i < device_info_->modes.size(); ++i) {
            const DDSURFACEDESC2& m = device_info_->modes[i];
            if (m.dwWidth == options.mode_width && m.dwHeight == options.mode_height &&
                m.ddpfPixelFormat.dwRGBBitCount == options.mode_bits) {
                device_info_->current_mode = i;
                device_info_->fullscreen_mode = m;
                found = true;
                break;
            }
        }
        if (!found) {
            debug_output_format("The display mode %ux%ux%u is not offered by \"%s\"; keeping its default mode.\n",
                                options.mode_width, options.mode_height, options.mode_bits,
                                device_info_->description);
        }
    }
    return S_OK;
}

HRESULT Application::create(HINSTANCE instance, const char* title, int width, int height, bool show_dialog)
{
    if (title != nullptr) title_ = title;
    const FrameworkOptions& options = framework_options();
    headless_ = !window_system_start(options.force_headless);
    window_set_vsync(options.vsync);
    if (!headless_) {
        auto drivers = window_display_drivers_create();
        if (!drivers.empty()) display_drivers_install(std::move(drivers));
    } else if (options.has_mode) {
        // Without a display any mode can be had: the headless display offers the one asked for too.
        HeadlessDisplayConfig config;
        config.modes.push_back({options.mode_width, options.mode_height, options.mode_bits, 60});
        display_drivers_install({std::make_shared<HeadlessDisplayDriver>(config)});
    }

    HRESULT hr = enumerate_devices(confirm_device_);
    if (FAILED(hr)) {
        report_error(hr, ErrorKind::Fatal);
        return hr;
    }
    hr = select_device();
    if (FAILED(hr)) {
        report_error(hr, ErrorKind::Fatal);
        return hr;
    }
    framework_ = new (std::nothrow) DisplayFramework();
    if (framework_ == nullptr) {
        report_error(E_OUTOFMEMORY, ErrorKind::Fatal);
        return E_OUTOFMEMORY;
    }

    program_icon_register();
    WNDCLASSA window_class{};
    window_class.style = 0;
    window_class.lpfnWndProc = application_window_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = nullptr;
    window_class.lpszClassName = kWindowClassName;
    RegisterClassA(&window_class);

    window_ = CreateWindowExA(0, kWindowClassName, title_, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                              width, height, nullptr, nullptr, instance, nullptr);
    UpdateWindow(window_);

    if (show_dialog && !options.no_dialog && !headless_) run_settings_dialog(window_, &device_info_);

    ShowWindow(window_, SW_SHOWNORMAL);

    hr = initialize_3d();
    if (FAILED(hr)) {
        report_error(hr, ErrorKind::Fatal);
        cleanup_3d();
        return E_FAIL;
    }
    ready_ = 1;
    active_ = 1;
    return S_OK;
}

HRESULT Application::initialize_3d()
{
    if (framework_ == nullptr || device_info_ == nullptr) return FWERR_NOT_STARTED;
    for (;;) {
        DWORD flags = 0;
        if (!device_info_->windowed) flags |= FRAMEWORK_FULLSCREEN;
        if (use_z_buffer_) flags |= FRAMEWORK_ZBUFFER;
        const HRESULT hr = framework_->start(window_, device_info_->driver_guid_ptr, device_info_->device_guid_ptr,
                                             &device_info_->fullscreen_mode, flags);
        if (SUCCEEDED(hr)) break;
        if (!device_info_->hardware) return hr;
        report_error(hr, ErrorKind::Switching);
        const HRESULT selected = select_default_device(&device_info_, SELECT_SOFTWARE_ONLY);
        if (FAILED(selected)) return selected;
    }
    direct_draw_ = framework_->direct_draw();
    direct3d_ = framework_->direct3d();
    device_ = framework_->device();
    back_buffer_ = framework_->back_buffer();
    back_buffer_desc_ = DDSURFACEDESC2{};
    back_buffer_desc_.dwSize = sizeof back_buffer_desc_;
    if (back_buffer_ != nullptr) back_buffer_->GetSurfaceDesc(&back_buffer_desc_);
    return S_OK;
}

HRESULT Application::cleanup_3d()
{
    active_ = 0;
    ready_ = 0;
    HRESULT hr = S_OK;
    if (framework_ != nullptr) {
        hr = framework_->release_all();
        delete framework_;
        framework_ = nullptr;
    }
    direct_draw_ = nullptr;
    direct3d_ = nullptr;
    device_ = nullptr;
    back_buffer_ = nullptr;
    free_devices();
    return hr;
}

void Application::report_error(HRESULT code, ErrorKind kind)
{
    const std::string text = framework_error_text(code, kind);
    MessageBoxA(nullptr, text.c_str(), title_, MB_OK | framework_error_icon(kind));
}

bool Application::pump_messages()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

HRESULT Application::present_frame()
{
    if (framework_ == nullptr) return FWERR_NOT_STARTED;
    return framework_->present_frame();
}

LRESULT Application::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const bool fullscreen = !windowed();
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) DestroyWindow(window);
            break;
        case WM_SIZE:
            active_ = (wparam == SIZE_MINIMIZED || wparam == SIZE_MAXHIDE) ? 0 : 1;
            break;
        case WM_MOVE:
            if (framework_ != nullptr && active_ && ready_ && windowed()) {
                framework_->window_moved(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
            }
            break;
        case WM_PAINT:
            if (framework_ != nullptr && !ready_) {
                if (windowed()) {
                    framework_->show_frame();
                } else {
                    framework_->flip_to_gdi(true);
                }
            }
            break;
        case WM_SETCURSOR:
            if (active_ && ready_ && fullscreen) {
                SetCursor(nullptr);
                return 1;
            }
            break;
        case WM_GETMINMAXINFO:
            if (lparam != 0) {
                auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
                info->ptMinTrackSize.x = 100;
                info->ptMinTrackSize.y = 100;
            }
            break;
        case WM_NCHITTEST:
            if (fullscreen) return 1;
            break;
        case WM_SYSCOMMAND: {
            const WPARAM command = wparam & 0xFFF0;
            if (command == SC_KEYMENU) return 1;
            if (fullscreen && (command == SC_MOVE || command == SC_SIZE || command == SC_MAXIMIZE ||
                               command == SC_MONITORPOWER)) {
                return 1;
            }
            break;
        }
        case WM_POWERBROADCAST:
            if (wparam == PBT_APMQUERYSUSPEND) return on_query_suspend(lparam);
            if (wparam == PBT_APMRESUMESUSPEND) return on_resume_suspend(lparam);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
