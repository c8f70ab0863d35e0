#include "framework/framework_errors.h"

#include "platform/d3d/d3d_results.h"
#include "platform/message_box.h"

namespace {

constexpr std::size_t kTextBuffer = 512;

}  // namespace

const char* framework_error_message(HRESULT code)
{
    switch (static_cast<std::uint32_t>(code)) {
        case 0x8007000Eu: return "Not enough memory!";
        case 0x81000001u: return "Could not create DirectDraw!";
        case 0x81000002u:
            return "Enumeration failed. Your system may be in an\nunstable state and need to be rebooted";
        case 0x81000003u:
            return "Could not find any compatible devices.\n\nTry enabling the reference rasterizer using\n"
                   "EnableRefRast.reg.";
        case 0x81000004u: return "Could not find any compatible Direct3D\ndevices.";
        case 0x82000000u: return "Generic initialization error.\n\nEnable debug output for detailed information.";
        case 0x82000001u: return "No DirectDraw";
        case 0x82000002u: return "Could not set Cooperative Level";
        case 0x82000003u: return "No Direct3D";
        case 0x82000004u: return "Could not create the Direct3DDevice object.";
        case 0x82000005u: return "No ZBuffer";
        case 0x82000006u: return "Invalid Z-buffer depth. Try switching modes\nfrom 16- to 32-bit (or vice versa)";
        case 0x82000007u: return "No Viewport";
        case 0x82000008u: return "No primary";
        case 0x82000009u: return "No Clipper";
        case 0x8200000Au: return "Bad display mode";
        case 0x8200000Bu: return "No backbuffer";
        case 0x8200000Cu:
            return "A DDraw object has a non-zero reference\ncount (meaning it was not properly cleaned up).";
        case 0x8200000Du: return "No RenderFunc target";
        case 0x8200000Eu:
            return "This program requires a 16-bit (or higher) display mode\nto run in a window.\n\nPlease switch your "
                   "desktop settings accordingly.";
        case 0x8876017Cu: return "There was insufficient video memory to use the\nhardware device.";
        case 0x8876080Du: return "Vbuffer creation failed!";
        default: return "Generic application error.\n\nEnable debug output for detailed information.";
    }
}

std::string framework_error_text(HRESULT code, ErrorKind kind)
{
    std::string text = framework_error_message(code);
    if (code == FWERR_NO_DEVICE && kind == ErrorKind::Switching) {
        text += "\nThe 3D hardware chipset may not support\nRenderFuncing in the current display mode.";
    }
    switch (kind) {
        case ErrorKind::Fatal: text += "\n\nExiting..."; break;
        case ErrorKind::Switching: text += "\n\nSwitching to software rasterizer."; break;
        case ErrorKind::Plain: break;
    }
    if (text.size() > kTextBuffer - 1) text.resize(kTextBuffer - 1);
    return text;
}

UINT framework_error_icon(ErrorKind kind)
{
    return kind == ErrorKind::Fatal ? MB_ICONERROR : MB_ICONWARNING;
}
