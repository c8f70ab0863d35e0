// The window layer's messages: SDL events and their meanings, the queue (one message per pump, the quit
// message never dispatched), and the application's answers to the window's messages.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "framework/application.h"
#include "framework_test_util.h"
#include "platform/window/sdl_message_translate.h"
#include "platform/window/window.h"

namespace {

SDL_Event window_event(Uint8 which, int data1 = 0, int data2 = 0)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

SDL_Event key_event(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE)
{
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    return e;
}

HWND fake_window() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000)); }

std::vector<MSG> meanings(const SDL_Event& e, POINT origin = {0, 0})
{
    MSG out[kMaxMessagesPerEvent];
    const std::size_t n = sdl_event_to_messages(e, fake_window(), origin, out);
    return std::vector<MSG>(out, out + n);
}

// Records what reaches a window procedure.
std::vector<UINT> g_seen;
LRESULT recording_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    g_seen.push_back(message);
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

TEST(SdlMessages, WindowEventsAndKeys)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    const struct {
        SDL_Event event;
        std::vector<std::pair<UINT, WPARAM>> expected;  // message and wParam
    } cases[] = {
        {window_event(SDL_WINDOWEVENT_CLOSE), {{WM_CLOSE, 0}}},
        {quit, {{WM_CLOSE, 0}}},
        {window_event(SDL_WINDOWEVENT_MINIMIZED), {{WM_SIZE, SIZE_MINIMIZED}}},
        {window_event(SDL_WINDOWEVENT_RESTORED), {{WM_SIZE, SIZE_RESTORED}}},
        {window_event(SDL_WINDOWEVENT_MAXIMIZED), {{WM_SIZE, SIZE_MAXIMIZED}}},
        {window_event(SDL_WINDOWEVENT_HIDDEN), {{WM_SIZE, SIZE_MAXHIDE}}},
        {window_event(SDL_WINDOWEVENT_EXPOSED), {{WM_PAINT, 0}}},
        {window_event(SDL_WINDOWEVENT_ENTER), {}},
        {key_event(SDL_KEYDOWN, SDLK_ESCAPE), {{WM_KEYDOWN, VK_ESCAPE}}},
        {key_event(SDL_KEYUP, SDLK_ESCAPE), {{WM_KEYUP, VK_ESCAPE}}},
        {key_event(SDL_KEYDOWN, SDLK_q), {{WM_KEYDOWN, 'Q'}}},
        {key_event(SDL_KEYDOWN, SDLK_F4), {{WM_KEYDOWN, VK_F1 + 3}}},
        {key_event(SDL_KEYDOWN, SDLK_F4, KMOD_LALT), {{WM_SYSKEYDOWN, VK_F1 + 3}}},
        {key_event(SDL_KEYDOWN, SDLK_CAPSLOCK), {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto m = meanings(cases[i].event);
        ASSERT_EQ(m.size(), cases[i].expected.size());
        for (std::size_t k = 0; k < m.size(); ++k) {
            EXPECT_EQ(m[k].hwnd, fake_window());
            EXPECT_EQ(m[k].message, cases[i].expected[k].first);
            EXPECT_EQ(m[k].wParam, cases[i].expected[k].second);
        }
    }
    // Positions are relative to the primary display and may be negative.
    const auto m = meanings(window_event(SDL_WINDOWEVENT_MOVED, 90, 40), POINT{100, 0});
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].message, WM_MOVE);
    EXPECT_EQ(GET_X_LPARAM(m[0].lParam), -10);
    EXPECT_EQ(GET_Y_LPARAM(m[0].lParam), 40);
    MSG out[kMaxMessagesPerEvent];
    EXPECT_EQ(sdl_event_to_messages(quit, nullptr, POINT{0, 0}, out), 0u);  // no window: dropped
}

TEST(SdlMessages, PointerMotionAsksForTheCursorFirst)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 12;
    e.motion.y = 34;
    const auto m = meanings(e);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].message, WM_SETCURSOR);
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(m[0].lParam)), HTCLIENT);
    EXPECT_EQ(m[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(GET_X_LPARAM(m[1].lParam), 12);
    EXPECT_EQ(GET_Y_LPARAM(m[1].lParam), 34);
}

TEST(MessageQueue, PostedMessagesFirstTheQuitMessageLastAndCloseDestroys)
{
    HeadlessScope scope;
    window_system_start(true);
    WNDCLASSA cls{};
    cls.lpfnWndProc = recording_procedure;
    cls.lpszClassName = "recording";
    ASSERT_NE(RegisterClassA(&cls), 0);
    EXPECT_EQ(RegisterClassA(&cls), 0);  // the name is taken
    HWND window = CreateWindowExA(0, "recording", "t", WS_CAPTION, 5, 7, 64, 48, nullptr, nullptr, nullptr, nullptr);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 64);
    EXPECT_EQ(client.bottom, 48);
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    EXPECT_EQ(corner.x, 5);
    EXPECT_EQ(corner.y, 7);

    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // nothing pending: at once
    PostQuitMessage(3);
    PostMessageA(window, WM_PAINT, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    // The default handling of close destroys the window at once; afterwards the handle is dead and
    // dispatching to it is a no-op.
    g_seen.clear();
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(g_seen, (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    MSG late{window, WM_PAINT};
    EXPECT_EQ(DispatchMessageA(&late), 0);
    EXPECT_EQ(g_seen.size(), 3u);
}

namespace {

// A headless application up and running (software device, no dialog).
class ApplicationMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(app.create(nullptr, "Vireline", 640, 480, true), S_OK);
        window = app.window();
        ASSERT_NE(window, nullptr);
    }
    HeadlessScope scope;
    Application app;
    HWND window = nullptr;
};

}  // namespace

TEST_F(ApplicationMessages, EscapeDestroysTheWindowAndTheNextPumpSeesTheQuitMessage)
{
    EXPECT_TRUE(app.pump_messages());  // nothing pending
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(app.pump_messages());  // space: handled, its WM_CHAR queued behind Escape
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(message_queue_quit_posted());
    EXPECT_TRUE(app.pump_messages());  // Escape: the window goes, the quit message is posted
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(message_queue_quit_posted());
    // The characters both keys produced are queued before the quit message and go nowhere.
    EXPECT_TRUE(app.pump_messages());
    EXPECT_TRUE(app.pump_messages());
    EXPECT_FALSE(app.pump_messages());  // the quit message: not dispatched
    EXPECT_TRUE(app.pump_messages());
}

TEST_F(ApplicationMessages, SizeTypesSetActiveAndCloseEndsTheProgram)
{
    EXPECT_TRUE(app.active());
    const std::pair<WPARAM, bool> sizes[] = {
        {SIZE_MINIMIZED, false}, {SIZE_RESTORED, true}, {SIZE_MAXHIDE, false}, {SIZE_MAXIMIZED, true}};
    for (const auto& [type, active] : sizes) {
        SendMessageA(window, WM_SIZE, type, 0);
        EXPECT_EQ(app.active(), active) << type;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.pump_messages());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(app.pump_messages());  // the quit message
}

TEST_F(ApplicationMessages, WindowedAnswersGoToTheDefaultHandling)
{
    ASSERT_TRUE(app.device_info()->windowed);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, 0), HTCLIENT);  // the default's answer
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(window, WM_SETCURSOR, 0, 0);
    EXPECT_FALSE(cursor_hidden());
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), 1);
    EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), 1);
    MINMAXINFO info{};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 100);
    // A move reaches the framework's blit target.
    SendMessageA(window, WM_MOVE, 0, MAKELPARAM(30, -5));
    const RECT r = app.framework()->screen_rect();
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, -5);
    EXPECT_EQ(r.right, 670);
    EXPECT_EQ(r.bottom, 475);
}

TEST(ApplicationFullScreen, TheWholeScreenIsClientAreaAndTheCursorIsHidden)
{
    HeadlessScope scope({}, [](FrameworkOptions& o) { o.screen = ScreenChoice::Fullscreen; });
    Application app;
    ASSERT_EQ(app.create(nullptr, "Vireline", 640, 480, false), S_OK);
    ASSERT_FALSE(app.device_info()->windowed);
    ASSERT_TRUE(app.framework()->fullscreen());
    HWND window = app.window();
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, 0), 1);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, 0, 0), 1);
    EXPECT_TRUE(cursor_hidden());
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0), 1);
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 0), 1);
    // Moves are ignored in full screen.
    const RECT before = app.framework()->screen_rect();
    SendMessageA(window, WM_MOVE, 0, MAKELPARAM(30, 30));
    EXPECT_EQ(app.framework()->screen_rect().left, before.left);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

namespace {

// The application with its flags reachable, to put it in the state between set-up and ready.
struct ProbeApplication : Application {
    void set_ready(bool ready) { ready_ = ready ? 1 : 0; }
};

}  // namespace

TEST(ApplicationPaint, AnExposeBeforeTheFrameLoopShowsTheBackBuffer)
{
    auto driver = std::make_shared<HeadlessDisplayDriver>();
    HeadlessScope scope({driver});
    ProbeApplication app;
    ASSERT_EQ(app.create(nullptr, "Vireline", 640, 480, false), S_OK);
    const unsigned before = driver->present_count();
    SendMessageA(app.window(), WM_PAINT, 0, 0);  // ready: the frame loop presents, the expose does not
    EXPECT_EQ(driver->present_count(), before);
    app.set_ready(false);
    SendMessageA(app.window(), WM_PAINT, 0, 0);
    EXPECT_EQ(driver->present_count(), before + 1);
    // Moves are followed only while ready.
    const RECT r = app.framework()->screen_rect();
    SendMessageA(app.window(), WM_MOVE, 0, MAKELPARAM(50, 60));
    EXPECT_EQ(app.framework()->screen_rect().left, r.left);
}
