// A numbered window to put controls in, and helpers to read them back and to
// act on them as a person would.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "runtime/string_workspace.h"
#include "tests/support/events.h"
#include "tests/support/input.h"
#include "tests/support/pump.h"
#include "ui/controls/control.h"
#include "ui/windows/events.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"

constexpr LONG_PTR NO_EVENT_TYPE = 0x7FFF0000;

class ControlsTest : public testing::Test {
protected:
    static constexpr ObjectNumber WINDOW = 0;
    static constexpr int CLIENT_WIDTH = 320;
    static constexpr int CLIENT_HEIGHT = 200;
    HWND window = nullptr;

    void SetUp() override
    {
        window = reinterpret_cast<HWND>(open_window(WINDOW, 0, 0, CLIENT_WIDTH, CLIENT_HEIGHT,
                                                    "Controls",
                                                    WINDOW_DEFAULT_FLAGS | WINDOW_CENTER_SCREEN));
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(begin_control_list(window), window);
        control_set_font(ANY_NUMBER, FONT_DEFAULT_GUI);
        drain_events();
    }

    void TearDown() override
    {
        close_window(WINDOW);
        drain_events();
    }

    // Clicks at a point of a child's client area with the real mouse.
    void click(HWND child, int x, int y)
    {
        bring_to_front(window);
        POINT p = {x, y};
        ClientToScreen(child, &p);
        input_click(p.x, p.y);
    }

    // The type of the first EVENT_CONTROL of `number` whose type `accept`s,
    // or NO_EVENT_TYPE when none comes within `ms`.
    template <typename Accept>
    LONG_PTR wait_control_event(ObjectNumber number, Accept accept, DWORD ms = 5000)
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            if (wait_event(20) == EVENT_CONTROL && event_control() == number &&
                accept(event_type()))
                return event_type();
        }
        return NO_EVENT_TYPE;
    }

    // Position of a child window in its parent's client area.
    static RECT placement(HWND child)
    {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

// A control's text read through control_get_text at the workspace's fill mark.
inline std::string control_text(ObjectNumber number)
{
    const int32_t pos = workspace_used();
    control_get_text(number, pos);
    std::string text = workspace_text(pos);
    workspace_set_used(pos);
    return text;
}

inline bool is_brush(HBRUSH brush)
{
    return brush && GetObjectType(brush) == OBJ_BRUSH;
}
