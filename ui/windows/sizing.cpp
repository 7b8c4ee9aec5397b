// The live window-sizing loop. With full-window dragging on, SC_SIZE does not
// enter the system's modal loop: the window captures the mouse and this hook
// follows the mouse and the arrow keys message by message as they arrive
// through the window's own message flow, resizing it as it goes.
#include "ui/windows/sizing.h"
#include "ui/windows/messages.h"
#include "runtime/shared_record.h"

namespace {

SizingState* the_sizing_state;

constexpr LONG SIDE_NONE = 0;
constexpr LONG STEP = 10;  // pixels per arrow key press

// A system cursor (one of the IDC_SIZE* resources).
void set_cursor_shape(LPCSTR cursor)
{
    SetCursor(static_cast<HCURSOR>(
        LoadImageA(nullptr, cursor, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE)));
}

void sizing_place_cursor(LPCSTR cursor, LONG x, LONG y)
{
    SetCursorPos(x, y);
    set_cursor_shape(cursor);
}

// The edges each side drags, by WMSZ code.
constexpr unsigned EDGE_LEFT = 1, EDGE_RIGHT = 2, EDGE_TOP = 4, EDGE_BOTTOM = 8;
constexpr unsigned EDGES_ACROSS = EDGE_LEFT | EDGE_RIGHT, EDGES_DOWN = EDGE_TOP | EDGE_BOTTOM;
constexpr unsigned SIDE_EDGES[] = {
    0,                         // none yet
    EDGE_LEFT,                 // WMSZ_LEFT
    EDGE_RIGHT,                // WMSZ_RIGHT
    EDGE_TOP,                  // WMSZ_TOP
    EDGE_TOP | EDGE_LEFT,      // WMSZ_TOPLEFT
    EDGE_TOP | EDGE_RIGHT,     // WMSZ_TOPRIGHT
    EDGE_BOTTOM,               // WMSZ_BOTTOM
    EDGE_BOTTOM | EDGE_LEFT,   // WMSZ_BOTTOMLEFT
    EDGE_BOTTOM | EDGE_RIGHT,  // WMSZ_BOTTOMRIGHT
};
static_assert(WMSZ_LEFT == 1 && WMSZ_BOTTOMRIGHT == 8);

// No edges for none yet, nor for a side the system does not have.
unsigned side_edges(LONG side)
{
    return side >= 0 && side <= WMSZ_BOTTOMRIGHT ? SIDE_EDGES[side] : 0;
}

// Where a dragged edge goes for a pointer at `wanted`: there, unless the size
// it makes with the opposite edge leaves the tracking limits. `away` is +1
// for a right or bottom edge, -1 for a left or top one.
LONG follow(LONG wanted, LONG opposite, LONG away, LONG min, LONG max)
{
    const LONG size = (wanted - opposite) * away;
    if (size < min)
        return opposite + min * away;
    if (size > max)
        return opposite + max * away;
    return wanted;
}

// Moves the edges that the current side drags to follow a pointer at (x, y),
// within the tracking limits.
void sizing_apply_edges(LONG x, LONG y)
{
    SizingState* s = sizing_state();
    RECT& r = s->rect;
    const POINT min = s->limits.ptMinTrackSize;
    const POINT max = s->limits.ptMaxTrackSize;
    const unsigned edges = side_edges(s->side);
    // The pointer holds the top-left corner 2 pixels inside it.
    const LONG inset = s->side == WMSZ_TOPLEFT ? 2 : 0;

    if (edges & EDGE_LEFT)
        r.left = follow(x - inset, r.right, -1, min.x, max.x);
    if (edges & EDGE_RIGHT)
        r.right = follow(x + 2, r.left, +1, min.x, max.x);
    if (edges & EDGE_TOP)
        r.top = follow(y - inset, r.bottom, -1, min.y, max.y);
    if (edges & EDGE_BOTTOM)
        r.bottom = follow(y + 2, r.top, +1, min.y, max.y);
}

// A child window is placed in its parent's client coordinates.
void sizing_move_window(HWND window, RECT r)
{
    if (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

// Lets the window adjust the target rectangle, then resizes it live.
void sizing_resize(HWND window)
{
    SizingState* s = sizing_state();
    SendMessageA(window, WM_SIZING, s->side, reinterpret_cast<LPARAM>(&s->rect));
    sizing_move_window(window, s->rect);
}

void sizing_step(HWND window, LONG x, LONG y)
{
    SetCursorPos(x, y);
    sizing_apply_edges(x, y);
    sizing_resize(window);
}

LRESULT begin_sizing(HWND window, WPARAM wparam)
{
    BOOL full_drag = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full_drag, 0);
    if (!full_drag)
        return NOT_HANDLED;

    SizingState* s = sizing_state();
    s->active = 1;
    s->side = static_cast<LONG>(wparam & 0xF);
    GetWindowRect(window, &s->rect);
    GetWindowRect(window, &s->start_rect);

    MINMAXINFO& limits = s->limits;
    limits.ptReserved = {0, 0};
    limits.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    if (GetWindowLongPtrA(window, GWL_STYLE) & WS_BORDER)
        limits.ptMaxPosition = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
    else if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_WINDOWEDGE)
        limits.ptMaxPosition = {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)};
    else
        limits.ptMaxPosition = {0, 0};
    limits.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    limits.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));

    // Started from the menu the button is up; the window sees a press as if
    // the operation had begun with one.
    if (GetKeyState(VK_LBUTTON) == 0)
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);

    SetCapture(window);
    PostMessageA(window, WM_ENTERSIZEMOVE, 0, 0);

    if (s->side == SIDE_NONE) {
        s->restore_cursor = 1;
        GetCursorPos(&s->saved_cursor);
        set_cursor_shape(IDC_SIZEALL);
    } else {
        s->restore_cursor = 0;
    }
    return 0;
}

// The side that drags exactly these edges.
LONG side_with_edges(unsigned edges)
{
    for (LONG side = WMSZ_LEFT; side <= WMSZ_BOTTOMRIGHT; ++side)
        if (SIDE_EDGES[side] == edges)
            return side;
    return SIDE_NONE;
}

// Where the cursor goes when an arrow key picks a side: onto the edges it
// drags; an edge alone keeps the pointer's other coordinate.
void place_cursor_on_side(LONG side, const RECT& r, POINT p)
{
    switch (side) {
    case WMSZ_LEFT:
        return sizing_place_cursor(IDC_SIZEWE, r.left, p.y);
    case WMSZ_RIGHT:
        return sizing_place_cursor(IDC_SIZEWE, r.right - 2, p.y);
    case WMSZ_TOP:
        return sizing_place_cursor(IDC_SIZENS, p.x, r.top);
    case WMSZ_BOTTOM:
        return sizing_place_cursor(IDC_SIZENS, p.x, r.bottom - 2);
    case WMSZ_TOPLEFT:
        return sizing_place_cursor(IDC_SIZENWSE, r.left + 2, r.top + 2);
    case WMSZ_TOPRIGHT:
        return sizing_place_cursor(IDC_SIZENESW, r.right - 2, r.top);
    case WMSZ_BOTTOMLEFT:
        return sizing_place_cursor(IDC_SIZENESW, r.left, r.bottom - 2);
    case WMSZ_BOTTOMRIGHT:
        return sizing_place_cursor(IDC_SIZENWSE, r.right - 2, r.bottom - 2);
    }
}

// Each arrow key: the edge it picks and the step it takes.
struct ArrowKey {
    WPARAM key;
    unsigned edge;
    LONG dx, dy;
};
constexpr ArrowKey ARROW_KEYS[] = {
    {VK_LEFT, EDGE_LEFT, -STEP, 0},
    {VK_RIGHT, EDGE_RIGHT, STEP, 0},
    {VK_UP, EDGE_TOP, 0, -STEP},
    {VK_DOWN, EDGE_BOTTOM, 0, STEP},
};

// An arrow key first picks an edge, then a corner at right angles to it, and
// from then on steps the cursor and the dragged edges.
void arrow_key(HWND window, WPARAM key)
{
    for (const ArrowKey& arrow : ARROW_KEYS) {
        if (arrow.key != key)
            continue;
        SizingState* s = sizing_state();
        POINT p;
        GetCursorPos(&p);
        const unsigned edges = side_edges(s->side);
        // The key's own edge and its opposite.
        const unsigned in_line = (arrow.edge & EDGES_ACROSS) ? EDGES_ACROSS : EDGES_DOWN;
        if (s->side == SIDE_NONE || (edges && !(edges & in_line))) {
            s->side = side_with_edges(edges | arrow.edge);
            place_cursor_on_side(s->side, s->rect, p);
        } else {
            sizing_step(window, p.x + arrow.dx, p.y + arrow.dy);
        }
        return;
    }
}

// Only a window with a sizing border, neither minimised nor maximised.
bool can_be_sized(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME) && !IsIconic(window) &&
           !IsZoomed(window);
}

LRESULT continue_sizing(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SizingState* s = sizing_state();
    switch (message) {
    case WM_MOUSEMOVE: {
        s->restore_cursor = 0;
        POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        MapWindowPoints(window, nullptr, &p, 1);
        sizing_apply_edges(p.x, p.y);
        sizing_resize(window);
        return 0;
    }
    case WM_KEYDOWN:
        switch (wparam) {
        case VK_RETURN:
        case VK_ESCAPE:
            // Both keep the size reached so far.
            ReleaseCapture();
            return 0;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            arrow_key(window, wparam);
            return NOT_HANDLED;
        }
        return NOT_HANDLED;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        // Every way out of the operation comes through here.
        PostMessageA(window, WM_EXITSIZEMOVE, 0, 0);
        s->active = 0;
        if (s->restore_cursor)
            SetCursorPos(s->saved_cursor.x, s->saved_cursor.y);
        return 0;
    }
    return NOT_HANDLED;
}

}  // namespace

void sizing_init()
{
    the_sizing_state =
        static_cast<SizingState*>(shared_record_create(sizeof(SizingState), nullptr));
}

SizingState* sizing_state()
{
    return shared_record_get(the_sizing_state);
}

LRESULT sizing_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // Another program can post SC_SIZE to any window. One that cannot be sized
    // ignores it: the default handling would still take the mouse (Wine's
    // enters its keyboard sizing mode).
    if (message == WM_SYSCOMMAND && system_command(wparam) == SC_SIZE && !can_be_sized(window))
        return 0;
    SizingState* s = sizing_state();
    // Without the record (start-up not run, or out of memory) the system sizes.
    if (!s)
        return NOT_HANDLED;
    if (!s->active) {
        if (message == WM_SYSCOMMAND && system_command(wparam) == SC_SIZE)
            return begin_sizing(window, wparam);
        return NOT_HANDLED;
    }
    return continue_sizing(window, message, wparam, lparam);
}
