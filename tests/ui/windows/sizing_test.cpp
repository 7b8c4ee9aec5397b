// The live sizing loop of a numbered window with a sizing border, driven by
// the real mouse and keyboard and handled by wait_event.
#include <gtest/gtest.h>
#include <string>
#include "tests/ui/windows/focus_sizing_input.h"
#include "ui/windows/events.h"
#include "ui/windows/messages.h"
#include "ui/windows/sizing.h"
#include "ui/windows/window.h"

namespace {

constexpr ObjectNumber SIZING_WINDOW = 30;
constexpr ObjectNumber PARENT_WINDOW = 31;
constexpr ObjectNumber CHILD_WINDOW = 32;
constexpr ObjectNumber UNSIZABLE_WINDOW = 33;
constexpr DWORD SIZABLE = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// What the window callback saw and what it answers WM_GETMINMAXINFO with.
struct Observed {
    POINT min_track;  // zero: leave the limits alone
    POINT max_track;
    int entered;  // WM_ENTERSIZEMOVE seen
    LONG active_at_enter;
    int button_downs;  // WM_LBUTTONDOWN seen
};
Observed observed;

LRESULT CALLBACK observe(HWND, UINT message, WPARAM, LPARAM lparam)
{
    if (message == WM_GETMINMAXINFO) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lparam);
        if (observed.min_track.x)
            info->ptMinTrackSize = observed.min_track;
        if (observed.max_track.x)
            info->ptMaxTrackSize = observed.max_track;
    } else if (message == WM_LBUTTONDOWN) {
        ++observed.button_downs;
    } else if (message == WM_ENTERSIZEMOVE) {
        ++observed.entered;
        observed.active_at_enter = sizing_state()->active;
    }
    return CALLBACK_DEFAULT;
}

RECT window_rect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

bool same_rect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class Sizing : public testing::Test {
protected:
    void SetUp() override
    {
        observed = {};
        SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &saved_full_drag, 0);
        set_full_drag(TRUE);
        window = open(SIZING_WINDOW, 100, 100, 400, 300, SIZABLE);
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(make_foreground(window));
        drain_events();
    }

    void TearDown() override
    {
        // Never leave a half-done operation to the next test.
        if (GetCapture())
            ReleaseCapture();
        drain_events();
        close_window(CHILD_WINDOW);
        close_window(UNSIZABLE_WINDOW);
        close_window(SIZING_WINDOW);
        close_window(PARENT_WINDOW);
        set_full_drag(saved_full_drag);
    }

    static void set_full_drag(BOOL on)
    {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, on, nullptr, 0);
    }

    static HWND open(ObjectNumber number, int x, int y, int width, int height, DWORD flags,
                     HWND parent = nullptr)
    {
        HWND handle = reinterpret_cast<HWND>(
            open_window(number, x, y, width, height, "Sizing", flags, parent));
        if (Window* record = static_cast<Window*>(table_lookup(window_table(), number)))
            record->callback = observe;
        return handle;
    }

    // Presses the left button on a border point (checked to be that border)
    // and waits until the operation has begun.
    void press_on_border(POINT at, LRESULT hit, HWND target = nullptr)
    {
        target = target ? target : window;
        ASSERT_EQ(hit, SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
        ASSERT_TRUE(move_mouse_to(at.x, at.y));
        send_inputs({mouse_button_input(at.x, at.y, true)});
        ASSERT_TRUE(wait_for_event(WM_ENTERSIZEMOVE, 5000));
        ASSERT_EQ(1, sizing_state()->active);
        ASSERT_EQ(target, GetCapture());
        pointer = at;
    }

    // Moves the pointer with the button held until the window's rectangle
    // satisfies `good`.
    template <typename Pred>
    void drag_to(int x, int y, Pred good, HWND target = nullptr)
    {
        target = target ? target : window;
        EXPECT_TRUE(drive_pointer(x, y, [&] { return good(window_rect(target)); }))
            << "pointer at " << x << "," << y;
        pointer = {x, y};
    }

    void release_button()
    {
        send_inputs({mouse_button_input(pointer.x, pointer.y, false)});
        ASSERT_TRUE(wait_for_event(WM_EXITSIZEMOVE, 5000));
        EXPECT_EQ(0, sizing_state()->active);
        EXPECT_EQ(nullptr, GetCapture());
        let_pointer_settle();
    }

    // Starts sizing as the system menu's Size command does.
    void size_from_menu()
    {
        PostMessageA(window, WM_SYSCOMMAND, SC_SIZE, 0);
        ASSERT_TRUE(wait_for_event(WM_ENTERSIZEMOVE, 5000));
        ASSERT_EQ(1, sizing_state()->active);
        ASSERT_EQ(0, sizing_state()->side);
    }

    // An arrow key while sizing from the keyboard. The operation puts the
    // cursor with SetCursorPos, and on Windows the mouse moves that this
    // causes are at the new place, where they change nothing; under Wine
    // only echoes from earlier places would come, so none is let through.
    void press_arrow(WORD key)
    {
        aim_pointer_nowhere();
        tap_key(key);
        ASSERT_TRUE(wait_for_key_up(key));
        let_pointer_settle();
    }

    // Enter or Esc: the operation ends.
    void press_to_end(WORD key)
    {
        aim_pointer_nowhere();
        tap_key(key);
        ASSERT_TRUE(wait_for_event(WM_EXITSIZEMOVE, 5000));
        EXPECT_EQ(0, sizing_state()->active);
        EXPECT_EQ(nullptr, GetCapture());
        let_pointer_settle();
    }

    POINT centre() const
    {
        const RECT r = window_rect(window);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    EchoFilter echo_filter;
    BOOL saved_full_drag = FALSE;
    HWND window = nullptr;
    POINT pointer = {};
};

TEST_F(Sizing, ARightBorderDragFollowsThePointerTwoPixelsOut)
{
    const RECT before = window_rect(window);
    const POINT start = {before.right - 2, (before.top + before.bottom) / 2};
    press_on_border(start, HTRIGHT);
    EXPECT_EQ(WMSZ_RIGHT, sizing_state()->side);
    EXPECT_EQ(0, observed.button_downs);  // the button is down already

    for (int x : {start.x + 60, start.x + 25, start.x - 40}) {
        drag_to(x, start.y, [&](const RECT& r) { return r.right == x + 2; });
        const RECT now = window_rect(window);
        EXPECT_EQ(before.left, now.left);
        EXPECT_EQ(before.top, now.top);
        EXPECT_EQ(before.bottom, now.bottom);
    }
    release_button();
    EXPECT_EQ(start.x - 40 + 2, window_rect(window).right);
    EXPECT_EQ(1, observed.entered);
}

TEST_F(Sizing, TheLeftEdgeFollowsOutwardAndStopsAtTheMinimumTrackingWidth)
{
    const RECT before = window_rect(window);
    const int min_width = GetSystemMetrics(SM_CXMINTRACK);
    const POINT start = {before.left + 1, (before.top + before.bottom) / 2};
    press_on_border(start, HTLEFT);

    // Outside the client area the pointer has negative client coordinates.
    drag_to(before.left - 30, start.y, [&](const RECT& r) { return r.left == before.left - 30; });
    drag_to(before.right - 20, start.y,
            [&](const RECT& r) { return r.left == before.right - min_width; });
    EXPECT_EQ(before.right, window_rect(window).right);
    release_button();
}

TEST_F(Sizing, TheWindowsOwnTrackingLimitsHold)
{
    observed.min_track = {300, 200};
    observed.max_track = {520, 600};
    const RECT before = window_rect(window);
    const POINT start = {before.right - 2, (before.top + before.bottom) / 2};
    press_on_border(start, HTRIGHT);

    drag_to(before.left + 50, start.y, [&](const RECT& r) { return r.right == before.left + 300; });
    drag_to(before.left + 700, start.y,
            [&](const RECT& r) { return r.right == before.left + 520; });
    EXPECT_EQ(before.left, window_rect(window).left);
    release_button();
}

TEST_F(Sizing, AChildWindowIsMovedInItsParentsCoordinates)
{
    HWND parent = open(PARENT_WINDOW, 50, 50, 600, 450, WS_CAPTION | WS_SYSMENU);
    ASSERT_NE(nullptr, parent);
    HWND child = open(CHILD_WINDOW, 40, 40, 200, 150, WS_CHILD | SIZABLE, parent);
    ASSERT_NE(nullptr, child);
    ASSERT_TRUE(make_foreground(parent));
    drain_events();

    const RECT before = window_rect(child);
    const POINT start = {before.right - 2, (before.top + before.bottom) / 2};
    press_on_border(start, HTRIGHT, child);
    const int x = start.x + 70;
    drag_to(
        x, start.y, [&](const RECT& r) { return r.right == x + 2; }, child);
    const RECT now = window_rect(child);
    EXPECT_EQ(before.left, now.left);
    EXPECT_EQ(before.top, now.top);
    EXPECT_EQ(before.bottom, now.bottom);
    release_button();
}

TEST_F(Sizing, FromTheMenuMouseMovesChangeNothingUntilAnArrowKeyPicksAnEdge)
{
    const POINT p = centre();
    ASSERT_TRUE(move_mouse_to(p.x, p.y));
    const RECT before = window_rect(window);
    // With the button neither down nor toggled the window is told of a press.
    const bool button_clear = GetKeyState(VK_LBUTTON) == 0;
    size_from_menu();
    EXPECT_EQ(button_clear ? 1 : 0, observed.button_downs);
    EXPECT_EQ(1, sizing_state()->restore_cursor);

    ASSERT_TRUE(drive_pointer(p.x + 40, p.y + 30, [] { return !sizing_state()->restore_cursor; }));
    let_pointer_settle();
    EXPECT_TRUE(same_rect(before, window_rect(window)));

    // Up picks the top edge, Left then the top-left corner; the cursor goes
    // to where the edges already are, so the window stays.
    const POINT q = cursor_pos();
    press_arrow(VK_UP);
    EXPECT_EQ(WMSZ_TOP, sizing_state()->side);
    EXPECT_EQ(q.x, cursor_pos().x);
    EXPECT_EQ(before.top, cursor_pos().y);
    press_arrow(VK_LEFT);
    EXPECT_EQ(WMSZ_TOPLEFT, sizing_state()->side);
    EXPECT_EQ(before.left + 2, cursor_pos().x);
    EXPECT_EQ(before.top + 2, cursor_pos().y);
    EXPECT_TRUE(same_rect(before, window_rect(window)));

    for (int step = 1; step <= 3; ++step) {
        press_arrow(VK_LEFT);
        const RECT now = window_rect(window);
        EXPECT_EQ(before.left - 10 * step, now.left);
        EXPECT_EQ(before.top, now.top);
        EXPECT_EQ(before.right, now.right);
        EXPECT_EQ(before.bottom, now.bottom);
        EXPECT_EQ(before.left + 2 - 10 * step, cursor_pos().x);
        EXPECT_EQ(before.top + 2, cursor_pos().y);
    }

    // Esc ends the operation and keeps the size reached.
    press_to_end(VK_ESCAPE);
    EXPECT_EQ(before.left - 30, window_rect(window).left);
}

TEST_F(Sizing, DownThenRightPicksTheBottomRightCornerAndRightStepsItsEdge)
{
    const POINT p = centre();
    ASSERT_TRUE(move_mouse_to(p.x, p.y));
    const RECT before = window_rect(window);
    size_from_menu();

    press_arrow(VK_DOWN);
    EXPECT_EQ(WMSZ_BOTTOM, sizing_state()->side);
    EXPECT_EQ(p.x, cursor_pos().x);
    EXPECT_EQ(before.bottom - 2, cursor_pos().y);
    press_arrow(VK_RIGHT);
    EXPECT_EQ(WMSZ_BOTTOMRIGHT, sizing_state()->side);
    EXPECT_EQ(before.right - 2, cursor_pos().x);
    EXPECT_EQ(before.bottom - 2, cursor_pos().y);
    press_arrow(VK_RIGHT);
    press_arrow(VK_DOWN);
    const RECT now = window_rect(window);
    EXPECT_EQ(before.right + 10, now.right);
    EXPECT_EQ(before.bottom + 10, now.bottom);
    EXPECT_EQ(before.left, now.left);
    EXPECT_EQ(before.top, now.top);

    press_to_end(VK_RETURN);
}

TEST_F(Sizing, EachPairOfArrowKeysPicksItsSideAndPutsTheCursorOnIt)
{
    // Where the cursor goes: an edge of the window plus an offset, or where
    // the pointer was (no edge).
    struct At {
        LONG RECT::*edge;
        LONG offset;
    };
    const At keep = {nullptr, 0};
    struct Row {
        WORD first, second;
        LONG side;
        At x, y;
    };
    const Row rows[] = {
        {VK_LEFT, VK_UP, WMSZ_TOPLEFT, {&RECT::left, 2}, {&RECT::top, 2}},
        {VK_LEFT, VK_DOWN, WMSZ_BOTTOMLEFT, {&RECT::left, 0}, {&RECT::bottom, -2}},
        {VK_RIGHT, VK_UP, WMSZ_TOPRIGHT, {&RECT::right, -2}, {&RECT::top, 0}},
        {VK_RIGHT, VK_DOWN, WMSZ_BOTTOMRIGHT, {&RECT::right, -2}, {&RECT::bottom, -2}},
        {VK_UP, VK_RIGHT, WMSZ_TOPRIGHT, {&RECT::right, -2}, {&RECT::top, 0}},
        {VK_DOWN, VK_LEFT, WMSZ_BOTTOMLEFT, {&RECT::left, 0}, {&RECT::bottom, -2}},
        // The opposite key keeps the edge and steps it.
        {VK_LEFT, VK_RIGHT, WMSZ_LEFT, {&RECT::left, 10}, keep},
        {VK_RIGHT, VK_LEFT, WMSZ_RIGHT, {&RECT::right, -12}, keep},
        {VK_UP, VK_DOWN, WMSZ_TOP, keep, {&RECT::top, 10}},
    };
    const POINT p = centre();
    const RECT before = window_rect(window);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.first << " then " << row.second);
        MoveWindow(window, before.left, before.top, before.right - before.left,
                   before.bottom - before.top, TRUE);
        ASSERT_TRUE(move_mouse_to(p.x, p.y));
        size_from_menu();
        press_arrow(row.first);
        press_arrow(row.second);
        EXPECT_EQ(row.side, sizing_state()->side);
        const POINT at = cursor_pos();
        EXPECT_EQ(row.x.edge ? before.*row.x.edge + row.x.offset : p.x, at.x);
        EXPECT_EQ(row.y.edge ? before.*row.y.edge + row.y.offset : p.y, at.y);
        press_to_end(VK_ESCAPE);
    }
}

TEST_F(Sizing, EnterStraightAwayEndsWithTheWindowAndCursorAsTheyWere)
{
    const POINT p = centre();
    ASSERT_TRUE(move_mouse_to(p.x, p.y));
    const RECT before = window_rect(window);
    size_from_menu();

    press_to_end(VK_RETURN);
    EXPECT_EQ(p.x, cursor_pos().x);
    EXPECT_EQ(p.y, cursor_pos().y);
    EXPECT_TRUE(same_rect(before, window_rect(window)));
}

TEST_F(Sizing, EnterStraightAwayPutsTheCursorBackWhereTheOperationBegan)
{
    const POINT p = centre();
    ASSERT_TRUE(move_mouse_to(p.x, p.y));
    const RECT before = window_rect(window);
    size_from_menu();
    ASSERT_EQ(p.x, sizing_state()->saved_cursor.x);
    ASSERT_EQ(p.y, sizing_state()->saved_cursor.y);

    // As if the operation had begun with the cursor elsewhere and the pointer
    // had moved since without a mouse move reaching the window (on Windows:
    // Enter already waiting when something calls SetCursorPos). Under Wine a
    // pointer moved during the operation cannot be kept from coming back as
    // a mouse move, so the starting point is moved instead.
    const POINT start = {p.x + 50, p.y + 40};
    sizing_state()->saved_cursor = start;
    press_to_end(VK_RETURN);
    EXPECT_EQ(start.x, cursor_pos().x);
    EXPECT_EQ(start.y, cursor_pos().y);
    EXPECT_TRUE(same_rect(before, window_rect(window)));
}

TEST_F(Sizing, AfterAMouseMoveTheCursorStaysWhereItWent)
{
    const POINT p = centre();
    ASSERT_TRUE(move_mouse_to(p.x, p.y));
    size_from_menu();

    ASSERT_TRUE(drive_pointer(p.x + 50, p.y + 40, [] { return !sizing_state()->restore_cursor; }));
    let_pointer_settle();
    press_to_end(VK_RETURN);
    EXPECT_EQ(p.x + 50, cursor_pos().x);
    EXPECT_EQ(p.y + 40, cursor_pos().y);
}

TEST_F(Sizing, EverySideMovesItsOwnEdges)
{
    struct Case {
        LONG side;
        bool left, top, right, bottom;
    };
    const Case cases[] = {
        {WMSZ_LEFT, true, false, false, false},      {WMSZ_RIGHT, false, false, true, false},
        {WMSZ_TOP, false, true, false, false},       {WMSZ_TOPLEFT, true, true, false, false},
        {WMSZ_TOPRIGHT, false, true, true, false},   {WMSZ_BOTTOM, false, false, false, true},
        {WMSZ_BOTTOMLEFT, true, false, false, true}, {WMSZ_BOTTOMRIGHT, false, false, true, true},
    };
    const RECT start = window_rect(window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        MoveWindow(window, start.left, start.top, start.right - start.left,
                   start.bottom - start.top, TRUE);
        // The system's own message for a drag on that border.
        EXPECT_EQ(0, SendMessageA(window, WM_SYSCOMMAND, SC_SIZE | c.side, 0));
        ASSERT_EQ(c.side, sizing_state()->side);

        POINT at = {c.left ? start.left + 30 : start.right - 30,
                    c.top ? start.top + 20 : start.bottom - 20};
        POINT client = at;
        ScreenToClient(window, &client);
        EXPECT_EQ(0, SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y)));

        // Only the top-left corner keeps two pixels inside; right and bottom
        // edges are always two pixels outside the pointer.
        const int inset = c.side == WMSZ_TOPLEFT ? 2 : 0;
        RECT want = start;
        if (c.left)
            want.left = at.x - inset;
        if (c.top)
            want.top = at.y - inset;
        if (c.right)
            want.right = at.x + 2;
        if (c.bottom)
            want.bottom = at.y + 2;
        const RECT got = window_rect(window);
        EXPECT_EQ(want.left, got.left);
        EXPECT_EQ(want.top, got.top);
        EXPECT_EQ(want.right, got.right);
        EXPECT_EQ(want.bottom, got.bottom);

        ReleaseCapture();
        EXPECT_EQ(0, sizing_state()->active);
    }
    drain_events();
}

TEST_F(Sizing, WhileSizingOnlyArrowKeysAndOtherMessagesGoOnToTheWindow)
{
    const POINT p = centre();
    ASSERT_TRUE(move_mouse_to(p.x, p.y));
    aim_pointer_nowhere();
    ASSERT_EQ(0, SendMessageA(window, WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0));
    const RECT before = window_rect(window);

    // An arrow key acts and still lets the window have it.
    EXPECT_EQ(NOT_HANDLED, sizing_hook(window, WM_KEYDOWN, VK_RIGHT, 0));
    EXPECT_EQ(p.x + 10 + 2, window_rect(window).right);
    EXPECT_NE(before.right, window_rect(window).right);
    EXPECT_EQ(NOT_HANDLED, sizing_hook(window, WM_KEYDOWN, VK_F5, 0));
    EXPECT_EQ(NOT_HANDLED, sizing_hook(window, WM_SYSCOMMAND, SC_SIZE, 0));
    EXPECT_EQ(NOT_HANDLED, sizing_hook(window, WM_PAINT, 0, 0));
    EXPECT_EQ(1, sizing_state()->active);

    // Losing the capture ends the operation, whoever took it.
    EXPECT_EQ(0, sizing_hook(window, WM_CAPTURECHANGED, 0, 0));
    EXPECT_EQ(0, sizing_state()->active);
    EXPECT_TRUE(wait_for_event(WM_EXITSIZEMOVE, 5000));
    ReleaseCapture();
}

TEST_F(Sizing, WithFullWindowDraggingOffTheSystemSizes)
{
    set_full_drag(FALSE);
    EXPECT_EQ(NOT_HANDLED, sizing_hook(window, WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0));
    EXPECT_EQ(0, sizing_state()->active);

    // The system's own loop runs and sends WM_ENTERSIZEMOVE itself once Right
    // has picked an edge; Esc, queued before it starts, ends it.
    PostMessageA(window, WM_SYSCOMMAND, SC_SIZE, 0);
    send_inputs({key_input(VK_RIGHT, false), key_input(VK_RIGHT, true), key_input(VK_ESCAPE, false),
                 key_input(VK_ESCAPE, true)});
    ASSERT_TRUE(wait_events_until([] { return observed.entered > 0; }));
    EXPECT_EQ(0, observed.active_at_enter);
    EXPECT_EQ(0, sizing_state()->active);
}

// Any program can post SC_SIZE. A window that cannot be sized ignores it:
// nothing takes the mouse, and the system's own sizing does not run either.
TEST_F(Sizing, AWindowThatCannotBeSizedIgnoresSizeCommands)
{
    struct Case {
        const char* name;
        DWORD flags;
        int show;
    };
    const Case cases[] = {
        {"no sizing border", WS_CAPTION | WS_SYSMENU, SW_SHOWNORMAL},
        {"minimised", SIZABLE, SW_MINIMIZE},
        {"maximised", SIZABLE, SW_MAXIMIZE},
    };
    for (const Case& c : cases) {
        HWND unsizable = open(UNSIZABLE_WINDOW, 120, 120, 200, 150, c.flags);
        ASSERT_NE(nullptr, unsizable) << c.name;
        ShowWindow(unsizable, c.show);
        for (BOOL full_drag : {TRUE, FALSE}) {
            SCOPED_TRACE(std::string(c.name) + (full_drag ? ", full dragging" : ", outline"));
            set_full_drag(full_drag);
            EXPECT_EQ(0, sizing_hook(unsizable, WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0));
            EXPECT_EQ(0, sizing_state()->active);
            EXPECT_EQ(nullptr, GetCapture());
        }
    }
}

TEST_F(Sizing, MovingIsNeverTakenOver)
{
    EXPECT_EQ(NOT_HANDLED, sizing_hook(window, WM_SYSCOMMAND, SC_MOVE, 0));
    EXPECT_EQ(0, sizing_state()->active);

    PostMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
    tap_key(VK_ESCAPE);
    ASSERT_TRUE(wait_events_until([] { return observed.entered > 0; }));
    EXPECT_EQ(0, observed.active_at_enter);
    EXPECT_EQ(0, sizing_state()->active);
}

}  // namespace
