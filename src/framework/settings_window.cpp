#include "framework/settings_window.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <epoxy/gl.h>
#include <imgui.h>

#include "framework/settings_dialog.h"
#include "platform/message_box.h"
#include "platform/window/window_system.h"

namespace {

// Dialog colours: the grey of a desktop dialog, black text, white list fields.
void apply_dialog_style()
{
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0.0f;
    style.ChildRounding = 0.0f;
    style.FrameRounding = 0.0f;
    style.FrameBorderSize = 1.0f;
    style.ChildBorderSize = 1.0f;
    style.WindowPadding = ImVec2(10, 10);
    style.ItemSpacing = ImVec2(8, 6);
    ImVec4* c = style.Colors;
    c[ImGuiCol_WindowBg] = ImVec4(0.83f, 0.82f, 0.78f, 1.0f);
    c[ImGuiCol_ChildBg] = ImVec4(0.83f, 0.82f, 0.78f, 1.0f);
    c[ImGuiCol_PopupBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    c[ImGuiCol_Border] = ImVec4(0.50f, 0.50f, 0.50f, 1.0f);
    c[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    c[ImGuiCol_FrameBgHovered] = ImVec4(0.95f, 0.95f, 1.0f, 1.0f);
    c[ImGuiCol_Button] = ImVec4(0.83f, 0.82f, 0.78f, 1.0f);
    c[ImGuiCol_ButtonHovered] = ImVec4(0.90f, 0.89f, 0.86f, 1.0f);
    c[ImGuiCol_ButtonActive] = ImVec4(0.70f, 0.70f, 0.68f, 1.0f);
    c[ImGuiCol_Header] = ImVec4(0.04f, 0.14f, 0.42f, 1.0f);
    c[ImGuiCol_HeaderHovered] = ImVec4(0.04f, 0.14f, 0.42f, 0.8f);
    c[ImGuiCol_CheckMark] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
    c[ImGuiCol_Text] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
}

// A group box: a framed area with its caption on the frame's top line.
bool group_begin(const char* caption, float width, float height, bool enabled)
{
    const ImVec2 start = ImGui::GetCursorScreenPos();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const float text_h = ImGui::GetTextLineHeight();
    const ImU32 line = ImGui::GetColorU32(ImGuiCol_Border);
    const float top = start.y + text_h * 0.5f;
    draw->AddRect(ImVec2(start.x, top), ImVec2(start.x + width, start.y + height), line);
    const ImVec2 text_size = ImGui::CalcTextSize(caption);
    draw->AddRectFilled(ImVec2(start.x + 6, start.y), ImVec2(start.x + 10 + text_size.x, start.y + text_h),
                        ImGui::GetColorU32(ImGuiCol_WindowBg));
    draw->AddText(ImVec2(start.x + 8, start.y),
                  ImGui::GetColorU32(enabled ? ImGuiCol_Text : ImGuiCol_TextDisabled), caption);
    ImGui::SetCursorScreenPos(ImVec2(start.x + 10, start.y + text_h + 6));
    ImGui::PushItemWidth(width - 20);
    return true;
}

void group_end(const ImVec2& start, float height)
{
    ImGui::PopItemWidth();
    ImGui::SetCursorScreenPos(ImVec2(start.x, start.y + height + 6));
}

struct Frame {
    SettingsDialog* dialog;
    std::optional<int> ended;
    bool popup_open = false;
};

void lay_out(Frame& f)
{
    SettingsDialog& dialog = *f.dialog;
    ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin("Settings", nullptr,
                 ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoScrollbar);
    const float left_width = io.DisplaySize.x - 20 - 96;
    const float group_height = 52.0f;
    const ImVec2 origin = ImGui::GetCursorScreenPos();

    // Device selection.
    const SettingsControls c = dialog.controls();
    ImVec2 start = ImGui::GetCursorScreenPos();
    group_begin("device selection", left_width, group_height, true);
    const char* device_preview = c.device_selection >= 0 ? c.devices[c.device_selection].c_str() : "";
    if (ImGui::BeginCombo("##device", device_preview)) {
        for (int i = 0; i < static_cast<int>(c.devices.size()); ++i) {
            ImGui::PushID(i);
            if (ImGui::Selectable(c.devices[i].c_str(), i == c.device_selection)) f.ended = dialog.choose_device(i);
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
    group_end(start, group_height);

    // Mode selection.
    start = ImGui::GetCursorScreenPos();
    group_begin("mode selection", left_width, group_height, c.mode_enabled);
    ImGui::BeginDisabled(!c.mode_enabled);
    const char* mode_preview = c.mode_selection >= 0 ? c.modes[c.mode_selection].text.c_str() : "";
    if (ImGui::BeginCombo("##mode", mode_preview)) {
        for (int i = 0; i < static_cast<int>(c.modes.size()); ++i) {
            ImGui::PushID(i);
            if (ImGui::Selectable(c.modes[i].text.c_str(), i == c.mode_selection)) f.ended = dialog.choose_mode(i);
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
    ImGui::EndDisabled();
    group_end(start, group_height);

    // The two check boxes.
    ImGui::SetCursorScreenPos(ImVec2(origin.x + 10, ImGui::GetCursorScreenPos().y));
    bool windowed = c.windowed_checked;
    ImGui::BeginDisabled(!c.windowed_enabled);
    if (ImGui::Checkbox("windowed", &windowed)) f.ended = dialog.click_windowed();
    ImGui::EndDisabled();
    ImGui::SameLine(0.0f, 24.0f);
    bool stereo = c.stereo_checked;
    ImGui::BeginDisabled(!c.stereo_enabled);
    if (ImGui::Checkbox("stereo", &stereo)) f.ended = dialog.click_stereo();
    ImGui::EndDisabled();

    // OK (the default button, framed darker) and Cancel on the right.
    const ImVec2 button(84, 24);
    ImGui::SetCursorScreenPos(ImVec2(origin.x + left_width + 12, origin.y + 6));
    ImGui::PushStyleColor(ImGuiCol_Border, ImVec4(0, 0, 0, 1));
    ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
    if (ImGui::Button("OK", button)) f.ended = dialog.press_ok();
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    ImGui::SetCursorScreenPos(ImVec2(origin.x + left_width + 12, origin.y + 6 + button.y + 8));
    if (ImGui::Button("Cancel", button)) f.ended = dialog.press_cancel();

    f.popup_open = ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId);
    ImGui::End();
}

}  // namespace

HRESULT run_settings_dialog(HWND parent, DeviceInfo** selected)
{
    return run_settings_dialog_in(parent, device_table(), selected);
}

HRESULT run_settings_dialog_in(HWND, DeviceTable& table, DeviceInfo** selected)
{
    SettingsDialog dialog;
    if (!dialog.init(table, selected)) return E_FAIL;
    if (!window_system_started() || window_system_headless()) return E_FAIL;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("Settings", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          kSettingsWindowWidth, kSettingsWindowHeight,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (window == nullptr) {
        SDL_Log("Settings dialog: no window: %s", SDL_GetError());
        SDL_GL_ResetAttributes();
        return E_FAIL;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        SDL_Log("Settings dialog: no OpenGL context: %s", SDL_GetError());
        SDL_DestroyWindow(window);
        SDL_GL_ResetAttributes();
        return E_FAIL;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);
    const Uint32 window_id = SDL_GetWindowID(window);

    ImGuiContext* imgui = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    apply_dialog_style();
    ImGui_ImplSDL2_InitForOpenGL(window, context);
    ImGui_ImplOpenGL3_Init("#version 130");

    Frame f{&dialog, std::nullopt};
    while (!f.ended) {
        SDL_Event event;
        while (!f.ended && SDL_PollEvent(&event) == 1) {
            std::uint32_t id = 0;
            switch (event.type) {
                case SDL_WINDOWEVENT: id = event.window.windowID; break;
                case SDL_KEYDOWN:
                case SDL_KEYUP: id = event.key.windowID; break;
                case SDL_TEXTINPUT: id = event.text.windowID; break;
                case SDL_MOUSEMOTION: id = event.motion.windowID; break;
                case SDL_MOUSEBUTTONDOWN:
                case SDL_MOUSEBUTTONUP: id = event.button.windowID; break;
                case SDL_MOUSEWHEEL: id = event.wheel.windowID; break;
                default: break;
            }
            if (event.type == SDL_QUIT) {
                // A quit request (SIGTERM) ends the dialog and then the program.
                window_system_queue_event(event);
                f.ended = dialog.press_cancel();
                break;
            }
            if (id != window_id) {
                window_system_queue_event(event);
                continue;
            }
            if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) {
                f.ended = dialog.press_cancel();
                break;
            }
            if (event.type == SDL_KEYDOWN && !f.popup_open) {
                const SDL_Keycode key = event.key.keysym.sym;
                if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
                    f.ended = dialog.press_ok();
                    break;
                }
                if (key == SDLK_ESCAPE) {
                    f.ended = dialog.press_cancel();
                    break;
                }
            }
            ImGui_ImplSDL2_ProcessEvent(&event);
        }
        if (f.ended) break;
        ImGui_ImplOpenGL3_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        lay_out(f);
        ImGui::Render();
        int width = 0;
        int height = 0;
        SDL_GL_GetDrawableSize(window, &width, &height);
        glViewport(0, 0, width, height);
        glClearColor(0.83f, 0.82f, 0.78f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
        SDL_GL_SwapWindow(window);
        SDL_Delay(10);
    }

    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(imgui);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    // The context version asked for here must not stay in force: an SDL renderer made later on the main
    // window would otherwise re-create that window to get the version it wants.
    SDL_GL_ResetAttributes();
    return f.ended == IDOK ? S_OK : E_FAIL;
}
