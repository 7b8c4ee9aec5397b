// Window DPIs: the system's, each window's, and the checked answer to
// WM_DPICHANGED.
#include "ui/windows/window_dpi.h"
#include "runtime/module.h"
#include "runtime/scoped_win.h"
#include "ui/windows/window.h"

namespace {

// Outside this range no display exists: 50 % to 1000 %.
constexpr int LOWEST_DPI = 48;
constexpr int HIGHEST_DPI = 960;
// How far a suggested size may stray from the window's own size scaled to
// the new DPI, at LAYOUT_DPI: Windows rounds the frame its own way.
constexpr int SIZE_SLACK = 4;

int the_system_dpi;

int scaled(int figure, int dpi)
{
    return MulDiv(figure, dpi, LAYOUT_DPI);
}

SIZE size_of(const RECT& r)
{
    return {r.right - r.left, r.bottom - r.top};
}

// The window's frame (outer size less client size), as it is now.
SIZE frame_of(HWND window)
{
    RECT outer = {}, client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    return {size_of(outer).cx - client.right, size_of(outer).cy - client.bottom};
}

// WM_DPICHANGED's DPI: the same in both halves of wParam, and one a display
// can have; 0 otherwise.
int dpi_of(WPARAM wparam)
{
    const int dpi = LOWORD(wparam);
    if (wparam != MAKEWPARAM(dpi, dpi) || dpi < LOWEST_DPI || dpi > HIGHEST_DPI)
        return 0;
    return dpi;
}

// Copied through ReadProcessMemory: a pointer from another program that
// points nowhere fails here instead of faulting.
bool read_rect(LPARAM lparam, RECT* rect)
{
    SIZE_T read = 0;
    return ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(lparam), rect,
                             sizeof *rect, &read) &&
           read == sizeof *rect;
}

// Within SIZE_SLACK (scaled) of `expected` both ways.
bool about(SIZE size, SIZE expected, int dpi)
{
    const int slack = scaled(SIZE_SLACK, dpi);
    return size.cx >= expected.cx - slack && size.cx <= expected.cx + slack &&
           size.cy >= expected.cy - slack && size.cy <= expected.cy + slack;
}

}  // namespace

int system_dpi()
{
    if (!the_system_dpi) {
        const WindowDc screen(nullptr);
        const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        the_system_dpi = dpi > 0 ? dpi : LAYOUT_DPI;
    }
    return the_system_dpi;
}

int window_dpi(ObjectNumber number)
{
    HWND window = window_handle(number);
    if (!window)
        return 0;
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto get_dpi_for_window =
        system_function<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    const int dpi = get_dpi_for_window ? static_cast<int>(get_dpi_for_window(window)) : 0;
    return dpi > 0 ? dpi : system_dpi();
}

int layout_dpi(ObjectNumber number)
{
    const Window* record = window_record(number);
    if (!record)
        return 0;
    return record->dpi ? record->dpi : system_dpi();
}

bool fit_window_to_dpi(ObjectNumber number, SIZE layout_client, int dpi)
{
    Window* record = window_record(number);
    if (!record)
        return false;
    // The frame as the window has it now: the system has already given it
    // the new DPI's.
    const SIZE frame = frame_of(record->handle);
    SetWindowPos(record->handle, nullptr, 0, 0, scaled(layout_client.cx, dpi) + frame.cx,
                 scaled(layout_client.cy, dpi) + frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Drawn afresh, children included: a control given its new font before
    // its new size has already drawn a text wrapped at the old one, and a
    // moved control keeps the pixels it had.
    RedrawWindow(record->handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    record->dpi = dpi;
    return true;
}

int follow_dpi_change(ObjectNumber number, WPARAM wparam, LPARAM lparam, SIZE layout_client)
{
    const HWND window = window_handle(number);
    const int from = layout_dpi(number);
    const int dpi = dpi_of(wparam);
    RECT suggested;
    if (!window || !dpi || !read_rect(lparam, &suggested))
        return 0;
    // Somewhere the user can see it, and about the window's own size at the
    // new DPI: its client area and its frame scaled, as Windows suggests them.
    const SIZE size = size_of(suggested);
    const SIZE frame = frame_of(window);
    const SIZE expected = {scaled(layout_client.cx, dpi) + MulDiv(frame.cx, dpi, from),
                           scaled(layout_client.cy, dpi) + MulDiv(frame.cy, dpi, from)};
    if (!MonitorFromRect(&suggested, MONITOR_DEFAULTTONULL) || !about(size, expected, dpi))
        return 0;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return dpi;
}
