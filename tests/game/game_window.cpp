// The game-window fixture.
#include "tests/game/game_window.h"
#include <windows.h>
#include <commctrl.h>
#include <string.h>
#include "game/lifetime.h"
#include "game/main_window.h"
#include "game/trial_gate.h"
#include "tests/support/events.h"
#include "tests/support/pump.h"
#include "ui/controls/font.h"
#include "ui/controls/status_bar.h"
#include "ui/windows/window.h"

std::vector<int32_t> GameWindowTest::started;
std::vector<HANDLE> GameWindowTest::started_handles;

void GameWindowTest::SetUp()
{
    started.clear();
    trial_gate_open();
    readout_font = reinterpret_cast<HFONT>(load_font(FONT_READOUT, "Lucida Console", 20));
    ASSERT_TRUE(build_main_window(readout_font));
    drain_events();
}

void GameWindowTest::TearDown()
{
    release_runtime();
    // A refused trial ends at its next step; none may outlive the test.
    for (size_t i = 0; i < started_handles.size(); ++i) {
        if (HANDLE h = started_handles[i]) {
            EXPECT_EQ(WaitForSingleObject(h, 15000), WAIT_OBJECT_0) << "trial " << started[i];
            CloseHandle(h);
        }
    }
    started_handles.clear();
    drain_events();
}

HWND GameWindowTest::main_window() const
{
    return window_handle(WINDOW_MAIN);
}

HWND GameWindowTest::control(ObjectNumber number) const
{
    Control* c = control_lookup(number);
    return c ? c->handle : nullptr;
}

HWND GameWindowTest::status_bar() const
{
    auto* bar = static_cast<StatusBar*>(table_lookup(status_bar_table(), STATUS_BAR_MAIN));
    return bar ? bar->handle : nullptr;
}

std::string GameWindowTest::text_of(HWND window) const
{
    char buffer[128] = {};
    SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

SIZE GameWindowTest::text_size(HWND window, const char* text) const
{
    HDC dc = GetDC(window);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    // Without a font of its own a window draws with the system font.
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    size.cy = metrics.tmHeight;
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return size;
}

void GameWindowTest::post_start_click() const
{
    PostMessageA(main_window(), WM_COMMAND, MAKEWPARAM(CTRL_START_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(CTRL_START_BUTTON)));
}

void GameWindowTest::post_arrow(int32_t state, int direction) const
{
    control_set_state(CTRL_DELAY_SPIN, state);
    PostMessageA(main_window(), MSG_CONTROL_EVENT, CTRL_DELAY_SPIN, direction);
}

int32_t GameWindowTest::recording_starter(LPTHREAD_START_ROUTINE routine, void* argument)
{
    const int32_t number = thread_create(routine, argument);
    if (!number)
        return 0;
    // Null once the trial has ended: then there is nothing to wait for (or
    // to hold up, as a busy machine would).
    HANDLE own = nullptr;
    if (HANDLE registered = thread_handle(number))
        DuplicateHandle(GetCurrentProcess(), registered, GetCurrentProcess(), &own,
                        SYNCHRONIZE | THREAD_SUSPEND_RESUME, FALSE, 0);
    started.push_back(number);
    started_handles.push_back(own);
    return number;
}
