#include "platform/d3d/builtin_backends.h"

#include <mutex>

#include "platform/d3d/gl/gl_backend.h"
#include "platform/d3d/soft/soft_backend.h"

void d3d_builtin_backends_register()
{
    static std::once_flag once;
    std::call_once(once, [] {
        soft_backend_register();
        gl_backend_register();
        // Further backends register here, in the order EnumDevices should list them.
    });
}
