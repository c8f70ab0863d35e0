#include "platform/d3d/gl/context_window.h"

namespace {

class DriverGlContext final : public WindowGlContext {
public:
    explicit DriverGlContext(std::unique_ptr<NativeGlContext> native) : native_(std::move(native)) {}

    bool make_current() override { return native_->make_current(); }
    std::string describe() const override { return "window | " + identity_; }
    void drawable_size(int* width, int* height) const override { native_->drawable_size(width, height); }
    void swap(bool vsync) override { native_->swap(vsync); }
    void set_identity(std::string identity) { identity_ = std::move(identity); }

private:
    std::unique_ptr<NativeGlContext> native_;
    std::string identity_;
};

}  // namespace

std::unique_ptr<WindowGlContext> context_window_create(DisplayDriver& driver, HWND window, std::string* error)
{
    if (window == nullptr) {
        *error = "no window";
        return nullptr;
    }
    std::unique_ptr<NativeGlContext> native =
        driver.create_gl_context(window, GL_BACKEND_MIN_MAJOR, GL_BACKEND_MIN_MINOR, error);
    if (!native) return nullptr;
    auto result = std::make_unique<DriverGlContext>(std::move(native));
    if (!result->make_current()) {
        *error = "the window's context cannot be made current";
        return nullptr;
    }
    if (!gl_context_check_current(error)) return nullptr;
    result->set_identity(gl_context_identity());
    return result;
}
