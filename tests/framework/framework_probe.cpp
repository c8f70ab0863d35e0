// A minimal program on the render framework for the end-to-end tests: it starts the framework as the
// demo does (Settings dialog, window, device), clears each frame to a fixed picture (left half red,
// right half blue, a green square in the middle) and presents it until Escape or closing ends it, then
// releases everything and says whether the release was clean. Takes the framework's command line.
#include <cstdio>

#include "framework/application.h"
#include "framework/command_line.h"

namespace {

void draw_frame(IDirect3DDevice7* device, DWORD width, DWORD height)
{
    if (device == nullptr || FAILED(device->BeginScene())) return;
    const LONG w = static_cast<LONG>(width);
    const LONG h = static_cast<LONG>(height);
    D3DRECT left{0, 0, w / 2, h};
    D3DRECT right{w / 2, 0, w, h};
    D3DRECT middle{w / 2 - 40, h / 2 - 40, w / 2 + 40, h / 2 + 40};
    device->Clear(1, &left, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFF0000u, 1.0f, 0);
    device->Clear(1, &right, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FFu, 1.0f, 0);
    device->Clear(1, &middle, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0);
    device->EndScene();
}

}  // namespace

int main(int argc, char** argv)
{
    FrameworkOptions options;
    int status = 0;
    if (command_line_parse(argc, argv, "framework_probe", &options, &status, stdout, stderr) ==
        CommandLineAction::Exit) {
        return status;
    }
    framework_set_options(options);
    Application app;
    if (FAILED(app.create(GetModuleHandleA(nullptr), "Vireline", 640, 480, true))) return 1;
    std::printf("device: %s, %s, %ux%u\n", app.device_info()->description,
                app.device_info()->windowed ? "windowed" : "full screen", app.framework()->width(),
                app.framework()->height());
    std::fflush(stdout);
    unsigned frames = 0;
    do {
        draw_frame(app.device(), app.framework()->width(), app.framework()->height());
        if (FAILED(app.present_frame())) DestroyWindow(app.window());
        ++frames;
    } while (app.pump_messages());
    const HRESULT released = app.cleanup_3d();
    std::printf("frames: %u\nrelease: 0x%08X\n", frames, static_cast<unsigned>(released));
    return released == S_OK ? 0 : 1;
}
